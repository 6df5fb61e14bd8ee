#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "zrwnd/IWnd.h"
#include "zrwnd/controls/Menu.h"
#include "zrwnd/PressTracker.h"
#include "zrwnd/WindowLock.h"
#include "zrwnd/ZrWnd.h"

namespace {

// A host class built on an old header lays out its own fields after the
// library's: every exported class keeps the size and alignment recorded for
// each target in binary-layout.txt, which says what a change to them means.
#define ZRWND_PINNED(X)                                                                                          \
    X(IWnd) X(DefWnd) X(Button) X(IScrollBar) X(ScrollThumb) X(ScrollBar) X(IEdit) X(Edit) X(IMenu) X(MenuItem)  \
    X(IComboBox) X(ComboBox) X(RichEdit) X(ZrString) X(ZrEventArgs) X(ZrWndEventArgs) X(ZrMouseEventArgs)        \
    X(ZrKeyEventArgs) X(ZrActiveEventArgs) X(ZrIMEEventArgs) X(ZrEvent) X(ZrEventSet) X(ZrThread) X(IUnknownEx2) \
    X(IWndFactory) X(WndTypeRegistry) X(Stopwatch) X(TimerService) X(zrwnd::ImageStrip) X(zrwnd::RepeatTimer)    \
    X(zrwnd::ChildSubscriptions) X(zrwnd::PressTracker) X(zrwnd::WndRef) X(zrwnd::WindowLock) X(ZrRect) X(Label) \
    X(Panel) X(ProgressBar) X(Slider) X(ListBox)

// The target's column in binary-layout.txt, or -1 where none is recorded.
int TargetColumn() {
#if defined(_WIN64)
    return 2;
#elif defined(_WIN32)
    return 1;
#elif defined(__linux__) && defined(__x86_64__)
    return 0;
#else
    return -1;
#endif
}

TEST(BinaryLayout, ExportedClassesKeepTheirRecordedSizes) {
    if (TargetColumn() < 0) GTEST_SKIP() << "no layout is recorded for this target";
    std::map<std::string, std::string> measured, recorded;
#define ZRWND_MEASURE(type) measured[#type] = std::to_string(sizeof(type)) + ":" + std::to_string(alignof(type));
    ZRWND_PINNED(ZRWND_MEASURE)
#undef ZRWND_MEASURE
    std::ifstream file(ZRWND_SOURCE_DIR "/tests/wnd/binary-layout.txt");
    std::string line, name, values[3];
    while (std::getline(file, line)) {
        std::istringstream words(line);
        if (words >> name >> values[0] >> values[1] >> values[2] && name[0] != '#' && name != "class") {
            recorded[name] = values[TargetColumn()];
        }
    }
    std::string table;
    for (const auto& entry : measured) table += entry.first + " " + entry.second + "\n";
    EXPECT_EQ(recorded, measured) << "measured here (size:alignment):\n" << table;
}

}  // namespace

#if (defined(__GNUC__) || defined(__clang__)) && !defined(_MSC_VER)
namespace {

// Under the Itanium C++ ABI a pointer to a virtual member function holds
// 1 + the byte offset of its vtable slot, and a this-adjustment.
struct MemberPointerBits {
    std::uintptr_t ptr;
    std::ptrdiff_t adj;
};

template <class M>
long SlotOf(M member) {
    static_assert(sizeof(M) == sizeof(MemberPointerBits), "unexpected member pointer layout");
    MemberPointerBits bits;
    std::memcpy(&bits, &member, sizeof bits);
    if (!(bits.ptr & 1) || bits.adj != 0) return -1;
    return static_cast<long>((bits.ptr - 1) / sizeof(void*));
}

#define SLOT(name) SlotOf(&IWnd::name)
#define SLOT_AS(type, name) SlotOf(static_cast<type>(&IWnd::name))

TEST(WndSlotOrder, TheNinetyFourOperationsKeepTheirPublishedSlots) {
    const std::vector<long> slots = {
        SLOT(QueryInterface), SLOT(Release), SLOT(GetName), SLOT(SetName), SLOT(GetType), SLOT(SetType),
        SLOT(GetStyle), SLOT(SetStyle), SLOT(Create), SLOT(Destroy), SLOT(IsEnable), SLOT(SetEnable),
        SLOT(IsVisible), SLOT(SetVisible), SLOT(IsActive), SLOT(SetActive), SLOT(IsRelayMSGToParent),
        SLOT(SetRelayMSGToParent), SLOT(GetWndText), SLOT(SetWndText), SLOT(GetUserData), SLOT(SetUserData),
        SLOT(IsHit), SLOT(GetWidth), SLOT(GetHeight), SLOT(GetWndRect), SLOT(GetClientRect),
        SLOT_AS(bool (IWnd::*)(int, int, int, int), MoveWnd), SLOT_AS(bool (IWnd::*)(ZrRect*), MoveWnd),
        SLOT(SetWndPos), SLOT(GetWndPosRect), SLOT(GetClientPosRect), SLOT(GetWndDC), SLOT(GetClientDC),
        SLOT(MoveToFront), SLOT(ScreenToClient), SLOT(ClientToScreen), SLOT(CenterWnd), SLOT(IsModal),
        SLOT(SetModal), SLOT(IsCapturedByThis), SLOT(CaptureInput), SLOT(ReleaseInput), SLOT(IsRestoreCapture),
        SLOT(SetRestoreCapture), SLOT(IsDistributeCapture), SLOT(SetDistributeCapture), SLOT(IsAncestor),
        SLOT(GetParent), SLOT(SetParent), SLOT(GetActiveChild), SLOT(GetChildAtPoint), SLOT(GetChildCount),
        SLOT(GetChildAtIndex), SLOT(AddChild), SLOT(RemoveChild), SLOT(MoveChildToFront), SLOT(Invalidate),
        SLOT(InvalidateRect), SLOT(GetFont), SLOT_AS(bool (IWnd::*)(LOGFONTA*, unsigned, int), SetFont),
        SLOT_AS(bool (IWnd::*)(IFont2*), SetFont), SLOT(GetClrFontBorder), SLOT(SetClrFontBorder),
        SLOT(OnSizeChanged), SLOT(OnTextChanged), SLOT(OnChildAdded), SLOT(OnChildRemoved), SLOT(OnDestroy),
        SLOT(OnRenderStarted), SLOT(OnRenderChild), SLOT(OnRenderEnded), SLOT(OnEnabled), SLOT(OnDisabled),
        SLOT(OnActivated), SLOT(OnDeactivated), SLOT(OnVisible), SLOT(OnInvisible), SLOT(OnCaptureGained),
        SLOT(OnCaptureLost), SLOT(OnIMEChanged), SLOT(OnFontChanged), SLOT(OnMouseEnter), SLOT(OnMouseLeave),
        SLOT(OnMouseMove), SLOT(OnMouseWheel), SLOT(OnMouseUp), SLOT(OnMouseDown), SLOT(OnMouseDBClick),
        SLOT(OnKeyDown), SLOT(OnKeyUp), SLOT(OnChar), SLOT(OnRender), SLOT(RenderSelf),
    };
    ASSERT_EQ(slots.size(), 94u);
    for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], static_cast<long>(i)) << "operation #" << i;
}

// A host class appends its own operations after RenderSelf and overrides keep
// the base slots, so a host window can be driven through an IWnd pointer.
class HostWnd : public IWnd {
public:
    virtual int HostOperation() { return 7; }
    void RenderSelf() override { ++drawn; }
    int drawn = 0;
};

TEST(WndSlotOrder, DerivedClassesAppendAfterRenderSelf) {
    EXPECT_GT(SlotOf(&HostWnd::HostOperation), SLOT(RenderSelf));
    EXPECT_EQ(SlotOf(static_cast<void (HostWnd::*)()>(&HostWnd::RenderSelf)), SLOT(RenderSelf));
}

#undef SLOT
#undef SLOT_AS

template <class... M>
std::vector<long> Slots(M... members) {
    return {SlotOf(members)...};
}

std::vector<long> Expected(long first, long count) {
    std::vector<long> out;
    for (long i = 0; i < count; ++i) out.push_back(first + i);
    return out;
}

// The other published interfaces keep their operations in their order too. A
// virtual destructor declared first takes two slots (complete and deleting).
TEST(InterfaceSlotOrder, SupportDriverRegistriesTimersAndContexts) {
    EXPECT_EQ(Slots(&ZrEventSet::IsEventPresent, &ZrEventSet::AddEvent, &ZrEventSet::RemoveEvent,
                    &ZrEventSet::RemoveAllEvents, &ZrEventSet::IsMuted, &ZrEventSet::SetMutedState,
                    &ZrEventSet::SubscribeEvent, &ZrEventSet::UnSubscribeEvent, &ZrEventSet::FireEvent),
              Expected(2, 9));

    using D = IDrvWnd;
    EXPECT_EQ(Slots(&D::QueryInterface, &D::Release, &D::Init, &D::GetWndNameRegistry, &D::GetWndTypeRegistry,
                    &D::GetRootWnd, &D::SetRootWnd, &D::GetModalWnd, &D::SetModalWnd, &D::GetHoverWnd, &D::SetHoverWnd,
                    &D::GetActiveWnd, &D::SetActiveWnd, &D::GetWndAtPoint, &D::GetCaptureWnd, &D::SetCaptureWnd,
                    &D::MessageBox, &D::InvalidateRect, &D::GetModalMaskColor, &D::SetModalMaskColor, &D::GetMousePos,
                    &D::RestoreKeyboardLayout, &D::SelectKeyboardLayout, &D::GetTimer, &D::OnMouseMove,
                    &D::OnMouseWheel, &D::OnMouseDown, &D::OnMouseUp, &D::OnMouseDBClick, &D::OnKeyDown, &D::OnKeyUp,
                    &D::OnChar, &D::OnInputLangChange, &D::Render, &D::HandleMessage, &D::SetCursor), Expected(0, 36));

    EXPECT_EQ(Slots(&IWndFactory::Release, &IWndFactory::CreateWnd, &IWndFactory::GetType, &IWndFactory::DestroyWnd),
              Expected(2, 4));

    using T = WndTypeRegistry;
    EXPECT_EQ(Slots(&T::QueryInterface, &T::Release, static_cast<bool (T::*)(ZrString)>(&T::IsFactoryPresent),
                    static_cast<bool (T::*)(IWndFactory*)>(&T::IsFactoryPresent), &T::GetFactory, &T::AddFactory,
                    static_cast<bool (T::*)(ZrString)>(&T::RemoveFactory),
                    static_cast<bool (T::*)(IWndFactory*)>(&T::RemoveFactory), &T::RemoveAllFactories),
              Expected(0, 9));

    using N = IWndNameRegistry;
    EXPECT_EQ(Slots(&N::QueryInterface, &N::Release, &N::IsNameRegistered, &N::IsWndRegistered, &N::FindWnd,
                    &N::CreateNamedWnd, &N::DestroyNamedWnd, &N::DestroyWndByPtr, &N::DestroyAllNamedWnds),
              Expected(0, 9));

    EXPECT_EQ(Slots(&Stopwatch::Now, &Stopwatch::ElapsedSeconds, &Stopwatch::ElapsedMilliseconds,
                    &Stopwatch::ElapsedMicroseconds), Expected(0, 4));
    EXPECT_EQ(Slots(&ITimer::GetStopwatch, &ITimer::SetTimer, &ITimer::KillTimer), Expected(0, 3));
    EXPECT_EQ(Slots(&IDC::GetRect, &IDC::GetClipRect, &IDC::SetClipRect, &IDC::GetReserved), Expected(0, 4));
}

// The stock controls' own operations follow the 94 of IWnd and the two
// entries of the destructor that IWnd declares after them.
TEST(InterfaceSlotOrder, ControlsFollowTheWindowSlots) {
    const long first = SlotOf(&IWnd::RenderSelf) + 3;
    EXPECT_EQ(Slots(&Button::GetState, &Button::SetState, &Button::IsChecked, &Button::SetCheck, &Button::GetGroup,
                    &Button::SetGroup, &Button::SetImage, &Button::LoadImage, &Button::SetClrText, &Button::GetClrText),
              Expected(first, 10));
    EXPECT_EQ(Slots(&DefWnd::SetImage, &DefWnd::LoadImage), Expected(first, 2));
    using S = IScrollBar;
    EXPECT_EQ(Slots(&S::SetScrollRange, &S::GetScrollMin, &S::GetScrollMax, &S::GetScrollRangeLength, &S::SetScrollPos,
                    &S::GetScrollPos, &S::GetUpButton, &S::GetDownButton, &S::GetThumb, &S::IsTrackLine,
                    &S::SetTrackLine, &S::GetClrTrack, &S::SetClrTrack, &S::SetTrackImage, &S::LoadTrackImage),
              Expected(first, 15));
    using E = IEdit;
    EXPECT_EQ(Slots(&E::IsPassword, &E::SetPassword, &E::IsReadOnly, &E::SetReadOnly, &E::GetMaxLength,
                    &E::SetMaxLength, &E::GetClrBack, &E::GetClrText, &E::GetClrCaret, &E::GetClrSelection,
                    &E::SetClrBack, &E::SetClrText, &E::SetClrCaret, &E::SetClrSelection, &E::SelectAll),
              Expected(first, 15));
    EXPECT_EQ(SlotOf(&Edit::SelectAll), first + 14);
    using M = IMenu;
    EXPECT_EQ(Slots(&M::Popup, &M::SelectItem, &M::AddItem, &M::GetItemWidth, &M::SetItemWidth, &M::GetItemHeight,
                    &M::SetItemHeight, &M::SetImage, &M::LoadImage, &M::SetClrBack, &M::GetClrBack, &M::SetClrSelection,
                    &M::GetClrSelection, &M::SetClrText, &M::GetClrText, &M::SetClrSelText, &M::GetClrSelText,
                    &M::GetMarginLeft, &M::GetMarginTop, &M::GetMarginRight, &M::GetMarginBottom, &M::SetMarginLeft,
                    &M::SetMarginTop, &M::SetMarginRight, &M::SetMarginBottom, &M::GetItemImage, &M::GetItemText),
              Expected(first, 27));
    using R = RichEdit;
    EXPECT_EQ(Slots(&R::GetUserFlag, &R::SetUserFlag, &R::GetMaxLength, &R::SetMaxLength, &R::GetClrBack,
                    &R::GetClrText, &R::SetClrBack, &R::SetClrText, &R::GetScrollBar, &R::AppendText),
              Expected(first, 10));
    using C = IComboBox;
    EXPECT_EQ(Slots(static_cast<bool (C::*)(ZrRect&, IWnd*, std::uint32_t, std::int32_t)>(&C::Create), &C::SetImage,
                    &C::LoadImage, &C::GetButton, &C::GetMenu, &C::GetScrollBar, &C::GetEdit), Expected(first, 7));
    // The implementations keep the interface's slots, and the thumb adds none.
    EXPECT_EQ(SlotOf(&ScrollBar::LoadTrackImage), first + 14);
    EXPECT_EQ(SlotOf(&ScrollThumb::GetClrText), first + 9);
}

}  // namespace
#endif
