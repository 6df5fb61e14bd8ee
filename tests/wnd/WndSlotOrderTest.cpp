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
#include "zrwnd/Menu.h"
#include "zrwnd/PressTracker.h"
#include "zrwnd/WindowLock.h"
#include "zrwnd/ZrWnd.h"

namespace {

// A host class built on an old header lays out its own fields after the
// library's: every exported class keeps the size and alignment recorded for
// each target in binary-layout.txt, which says what a change to them means.
#define ZRWND_PINNED(X)                                                                                              \
    X(IWnd) X(DefWnd) X(Button) X(IScrollBar) X(ScrollThumb) X(ScrollBar) X(IEdit) X(Edit) X(IMenu) X(MenuItem)         \
    X(IComboBox) X(ComboBox) X(RichEdit) X(ZrString) X(ZrEventArgs) X(ZrWndEventArgs) X(ZrMouseEventArgs)             \
    X(ZrKeyEventArgs) X(ZrActiveEventArgs) X(ZrIMEEventArgs) X(ZrEvent) X(ZrEventSet) X(ZrThread) X(IUnknownEx2)       \
    X(IWndFactory) X(WndTypeRegistry) X(Stopwatch) X(TimerService) X(zrkit::ImageStrip) X(zrkit::RepeatTimer)           \
    X(zrkit::ChildSubscriptions) X(zrwnd::PressTracker) X(zrwnd::WndRef) X(zrwnd::WindowLock) X(ZrRect)

const char* TargetName() {
#if defined(_WIN64)
    return "x86_64-windows";
#elif defined(_WIN32)
    return "i686-windows";
#elif defined(__linux__) && defined(__x86_64__)
    return "x86_64-linux";
#else
    return nullptr;
#endif
}

TEST(BinaryLayout, ExportedClassesKeepTheirRecordedSizes) {
    if (!TargetName()) GTEST_SKIP() << "no layout is recorded for this target";
    std::map<std::string, std::string> measured;
#define ZRWND_MEASURE(type) measured[#type] = std::to_string(sizeof(type)) + ":" + std::to_string(alignof(type));
    ZRWND_PINNED(ZRWND_MEASURE)
#undef ZRWND_MEASURE
    std::ifstream file(ZRWND_SOURCE_DIR "/tests/wnd/binary-layout.txt");
    ASSERT_TRUE(file) << "binary-layout.txt not found";
    std::string line, name, column;
    std::vector<std::string> targets;
    std::map<std::string, std::string> recorded;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        if (!(words >> name) || name[0] == '#') continue;
        if (name == "class") {
            while (words >> column) targets.push_back(column);
            continue;
        }
        for (const std::string& target : targets) {
            if (words >> column && target == TargetName()) recorded[name] = column;
        }
    }
    std::string table;
    for (const auto& entry : measured) table += entry.first + " " + entry.second + "\n";
    EXPECT_EQ(recorded, measured) << TargetName() << " measures (size:alignment):\n" << table;
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

std::vector<long> Expected(long first, long count) {
    std::vector<long> out;
    for (long i = 0; i < count; ++i) out.push_back(first + i);
    return out;
}

// The other published interfaces keep their operations in their order too. A
// virtual destructor declared first takes two slots (complete and deleting).
TEST(InterfaceSlotOrder, SupportDriverRegistriesTimersAndContexts) {
    EXPECT_EQ((std::vector<long>{SlotOf(&ZrEventSet::IsEventPresent), SlotOf(&ZrEventSet::AddEvent),
                                 SlotOf(&ZrEventSet::RemoveEvent), SlotOf(&ZrEventSet::RemoveAllEvents),
                                 SlotOf(&ZrEventSet::IsMuted), SlotOf(&ZrEventSet::SetMutedState),
                                 SlotOf(&ZrEventSet::SubscribeEvent), SlotOf(&ZrEventSet::UnSubscribeEvent),
                                 SlotOf(&ZrEventSet::FireEvent)}),
              Expected(2, 9));

    using D = IDrvWnd;
    EXPECT_EQ((std::vector<long>{SlotOf(&D::QueryInterface), SlotOf(&D::Release), SlotOf(&D::Init),
                                 SlotOf(&D::GetWndNameRegistry), SlotOf(&D::GetWndTypeRegistry), SlotOf(&D::GetRootWnd),
                                 SlotOf(&D::SetRootWnd), SlotOf(&D::GetModalWnd), SlotOf(&D::SetModalWnd),
                                 SlotOf(&D::GetHoverWnd), SlotOf(&D::SetHoverWnd), SlotOf(&D::GetActiveWnd),
                                 SlotOf(&D::SetActiveWnd), SlotOf(&D::GetWndAtPoint), SlotOf(&D::GetCaptureWnd),
                                 SlotOf(&D::SetCaptureWnd), SlotOf(&D::MessageBox), SlotOf(&D::InvalidateRect),
                                 SlotOf(&D::GetModalMaskColor), SlotOf(&D::SetModalMaskColor), SlotOf(&D::GetMousePos),
                                 SlotOf(&D::RestoreKeyboardLayout), SlotOf(&D::SelectKeyboardLayout),
                                 SlotOf(&D::GetTimer), SlotOf(&D::OnMouseMove), SlotOf(&D::OnMouseWheel),
                                 SlotOf(&D::OnMouseDown), SlotOf(&D::OnMouseUp), SlotOf(&D::OnMouseDBClick),
                                 SlotOf(&D::OnKeyDown), SlotOf(&D::OnKeyUp), SlotOf(&D::OnChar),
                                 SlotOf(&D::OnInputLangChange), SlotOf(&D::Render), SlotOf(&D::HandleMessage),
                                 SlotOf(&D::SetCursor)}),
              Expected(0, 36));

    EXPECT_EQ((std::vector<long>{SlotOf(&IWndFactory::Release), SlotOf(&IWndFactory::CreateWnd),
                                 SlotOf(&IWndFactory::GetType), SlotOf(&IWndFactory::DestroyWnd)}),
              Expected(2, 4));

    using T = WndTypeRegistry;
    EXPECT_EQ((std::vector<long>{SlotOf(&T::QueryInterface), SlotOf(&T::Release),
                                 SlotOf(static_cast<bool (T::*)(ZrString)>(&T::IsFactoryPresent)),
                                 SlotOf(static_cast<bool (T::*)(IWndFactory*)>(&T::IsFactoryPresent)),
                                 SlotOf(&T::GetFactory), SlotOf(&T::AddFactory),
                                 SlotOf(static_cast<bool (T::*)(ZrString)>(&T::RemoveFactory)),
                                 SlotOf(static_cast<bool (T::*)(IWndFactory*)>(&T::RemoveFactory)),
                                 SlotOf(&T::RemoveAllFactories)}),
              Expected(0, 9));

    using N = IWndNameRegistry;
    EXPECT_EQ((std::vector<long>{SlotOf(&N::QueryInterface), SlotOf(&N::Release), SlotOf(&N::IsNameRegistered),
                                 SlotOf(&N::IsWndRegistered), SlotOf(&N::FindWnd), SlotOf(&N::CreateNamedWnd),
                                 SlotOf(&N::DestroyNamedWnd), SlotOf(&N::DestroyWndByPtr),
                                 SlotOf(&N::DestroyAllNamedWnds)}),
              Expected(0, 9));

    EXPECT_EQ((std::vector<long>{SlotOf(&Stopwatch::Now), SlotOf(&Stopwatch::ElapsedSeconds),
                                 SlotOf(&Stopwatch::ElapsedMilliseconds), SlotOf(&Stopwatch::ElapsedMicroseconds)}),
              Expected(0, 4));
    EXPECT_EQ((std::vector<long>{SlotOf(&ITimer::GetStopwatch), SlotOf(&ITimer::SetTimer), SlotOf(&ITimer::KillTimer)}),
              Expected(0, 3));
    EXPECT_EQ((std::vector<long>{SlotOf(&IDC::GetRect), SlotOf(&IDC::GetClipRect), SlotOf(&IDC::SetClipRect),
                                 SlotOf(&IDC::GetReserved)}),
              Expected(0, 4));
}

// The stock controls' own operations follow the 94 of IWnd and the two
// entries of the destructor that IWnd declares after them.
TEST(InterfaceSlotOrder, ControlsFollowTheWindowSlots) {
    const long first = SlotOf(&IWnd::RenderSelf) + 3;
    EXPECT_EQ((std::vector<long>{SlotOf(&Button::GetState), SlotOf(&Button::SetState), SlotOf(&Button::IsChecked),
                                 SlotOf(&Button::SetCheck), SlotOf(&Button::GetGroup), SlotOf(&Button::SetGroup),
                                 SlotOf(&Button::SetImage), SlotOf(&Button::LoadImage), SlotOf(&Button::SetClrText),
                                 SlotOf(&Button::GetClrText)}),
              Expected(first, 10));
    EXPECT_EQ((std::vector<long>{SlotOf(&DefWnd::SetImage), SlotOf(&DefWnd::LoadImage)}), Expected(first, 2));
    using S = IScrollBar;
    EXPECT_EQ((std::vector<long>{SlotOf(&S::SetScrollRange), SlotOf(&S::GetScrollMin), SlotOf(&S::GetScrollMax),
                                 SlotOf(&S::GetScrollRangeLength), SlotOf(&S::SetScrollPos), SlotOf(&S::GetScrollPos),
                                 SlotOf(&S::GetUpButton), SlotOf(&S::GetDownButton), SlotOf(&S::GetThumb),
                                 SlotOf(&S::IsTrackLine), SlotOf(&S::SetTrackLine), SlotOf(&S::GetClrTrack),
                                 SlotOf(&S::SetClrTrack), SlotOf(&S::SetTrackImage), SlotOf(&S::LoadTrackImage)}),
              Expected(first, 15));
    using E = IEdit;
    EXPECT_EQ((std::vector<long>{SlotOf(&E::IsPassword), SlotOf(&E::SetPassword), SlotOf(&E::IsReadOnly),
                                 SlotOf(&E::SetReadOnly), SlotOf(&E::GetMaxLength), SlotOf(&E::SetMaxLength),
                                 SlotOf(&E::GetClrBack), SlotOf(&E::GetClrText), SlotOf(&E::GetClrCaret),
                                 SlotOf(&E::GetClrSelection), SlotOf(&E::SetClrBack), SlotOf(&E::SetClrText),
                                 SlotOf(&E::SetClrCaret), SlotOf(&E::SetClrSelection), SlotOf(&E::SelectAll)}),
              Expected(first, 15));
    EXPECT_EQ(SlotOf(&Edit::SelectAll), first + 14);
    using M = IMenu;
    EXPECT_EQ((std::vector<long>{SlotOf(&M::Popup), SlotOf(&M::SelectItem), SlotOf(&M::AddItem), SlotOf(&M::GetItemWidth),
                                 SlotOf(&M::SetItemWidth), SlotOf(&M::GetItemHeight), SlotOf(&M::SetItemHeight),
                                 SlotOf(&M::SetImage), SlotOf(&M::LoadImage), SlotOf(&M::SetClrBack),
                                 SlotOf(&M::GetClrBack), SlotOf(&M::SetClrSelection), SlotOf(&M::GetClrSelection),
                                 SlotOf(&M::SetClrText), SlotOf(&M::GetClrText), SlotOf(&M::SetClrSelText),
                                 SlotOf(&M::GetClrSelText), SlotOf(&M::GetMarginLeft), SlotOf(&M::GetMarginTop),
                                 SlotOf(&M::GetMarginRight), SlotOf(&M::GetMarginBottom), SlotOf(&M::SetMarginLeft),
                                 SlotOf(&M::SetMarginTop), SlotOf(&M::SetMarginRight), SlotOf(&M::SetMarginBottom),
                                 SlotOf(&M::GetItemImage), SlotOf(&M::GetItemText)}),
              Expected(first, 27));
    using R = RichEdit;
    EXPECT_EQ((std::vector<long>{SlotOf(&R::GetUserFlag), SlotOf(&R::SetUserFlag), SlotOf(&R::GetMaxLength),
                                 SlotOf(&R::SetMaxLength), SlotOf(&R::GetClrBack), SlotOf(&R::GetClrText),
                                 SlotOf(&R::SetClrBack), SlotOf(&R::SetClrText), SlotOf(&R::GetScrollBar),
                                 SlotOf(&R::AppendText)}),
              Expected(first, 10));
    using C = IComboBox;
    EXPECT_EQ((std::vector<long>{SlotOf(static_cast<bool (C::*)(ZrRect&, IWnd*, std::uint32_t, std::int32_t)>(&C::Create)),
                                 SlotOf(&C::SetImage), SlotOf(&C::LoadImage), SlotOf(&C::GetButton),
                                 SlotOf(&C::GetMenu), SlotOf(&C::GetScrollBar), SlotOf(&C::GetEdit)}),
              Expected(first, 7));
    // The implementations keep the interface's slots, and the thumb adds none.
    EXPECT_EQ(SlotOf(&ScrollBar::LoadTrackImage), first + 14);
    EXPECT_EQ(SlotOf(&ScrollThumb::GetClrText), first + 9);
}

}  // namespace
#endif
