#include "support/TreeProgram.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "drv/DrvWnd.h"
#include "support/RecordingEngine.h"
#include "wnd/RectMath.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/Timer.h"
#include "zrwnd/ZrWnd.h"

namespace zrtest {

unsigned ByteChoices::Pick(unsigned n) {
    if (at_ >= size_) {
        exhausted_ = true;
        return 0;
    }
    unsigned value = data_[at_++];
    // Wide ranges take a second byte, so that every value can be reached.
    if (n > 256 && at_ < size_) value = value << 8 | data_[at_++];
    return value % n;
}

namespace {

// A window that tells its program when it is made and when it goes.
class ProgramWnd final : public IWnd {
public:
    explicit ProgramWnd(TreeProgram* program) : program_(program) { program_->Born(this); }
    ~ProgramWnd() override { program_->Died(this); }

private:
    TreeProgram* program_;
};

// A stock control that tells its program when it is made and when it goes.
template <class Control>
class ProgramControl final : public Control {
public:
    explicit ProgramControl(TreeProgram* program) : program_(program) { program_->Born(this); }
    ~ProgramControl() override { program_->Died(this); }

private:
    TreeProgram* program_;
};

// Makes the windows of one stock type as windows of a program: so the
// message box's windows, which the library makes through the type registry,
// are known to the program and deleted by it.
template <class Control>
class ProgramFactory final : public IWndFactory {
public:
    ProgramFactory(const char* type, TreeProgram* program) : IWndFactory(type), program_(program) {}
    IWnd* CreateWnd(ZrString) override { return new ProgramControl<Control>(program_); }

private:
    TreeProgram* program_;
};

template <class Control>
void UseProgramFactory(const char* type, TreeProgram* program) {
    WndTypeRegistry* types = CreateDrvWnd()->GetWndTypeRegistry();
    delete types->GetFactory(type);
    types->RemoveFactory(type);
    types->AddFactory(new ProgramFactory<Control>(type, program));
}

// The events subscribers hang on (a window that does not declare one takes
// no subscriber); handlers of each may do mischief.
const ZrString* const kEvents[] = {
    &zrwnd::events::MouseDown,    &zrwnd::events::MouseUp,       &zrwnd::events::MouseEnter,  &zrwnd::events::MouseLeave,
    &zrwnd::events::MouseMove,    &zrwnd::events::MouseWheel,    &zrwnd::events::MouseDBClick, &zrwnd::events::KeyDown,
    &zrwnd::events::Char,         &zrwnd::events::CaptureLost,   &zrwnd::events::CaptureGained, &zrwnd::events::ChildRemoved,
    &zrwnd::events::ChildAdded,   &zrwnd::events::Destory,       &zrwnd::events::Activated,   &zrwnd::events::Deactivated,
    &zrwnd::events::Invisible,    &zrwnd::events::Disabled,      &zrwnd::events::RenderStarted, &zrwnd::events::AfterScene,
    &zrwnd::events::TextChanged,  &zrwnd::events::SizeChanged,   &ZrEventClicked,           &ZrEventScrollPosChanged,
    &ZrEventThumbPosChanged,    &ZrEventSelectItem,          &ZrEventAddItem,             &ZrEventSliderPosChanged,
    &ZrEventListSelChanged,
};
constexpr unsigned kEventCount = sizeof kEvents / sizeof kEvents[0];
constexpr unsigned kActionCount = 12;

// A text of whole GBK characters, ASCII, a line break, and bytes that begin
// no whole character (a lone lead byte, 0x80, 0xFF, a lead with a digit).
std::string SomeText(unsigned value) {
    static const char* const kPieces[] = {"a",  "Quit ", "\xD6\xD0", "\xCE\xC4", "\x81\x30",
                                          "\xD6", "\x80",  "\xFF",     "\n",       " "};
    std::string text;
    unsigned v = value;
    for (unsigned n = value % 9; n > 0; --n, v = v * 1103515245u + 12345u) text += kPieces[(v >> 16) % 10];
    // Now and then a text long enough to scroll.
    if (value % 5 == 0) {
        const std::string once = text;
        for (int i = 0; i < 30; ++i) text += once;
    }
    return text;
}


}  // namespace

TreeProgram::TreeProgram(IDrvWnd* driver, RecordingEngine* engine, unsigned seed)
    : driver_(driver), engine_(engine), fireRng_(seed) {
    // The images the stock controls load, so that their parts have sizes.
    engine_->imageFiles = {{"EngineRes\\Img\\Scroll_Ver_Top.tga", 80, 16},  {"EngineRes\\Img\\Scroll_Ver_Bottom.tga", 80, 16},
                           {"EngineRes\\Img\\Scroll_Ver_Thumb.tga", 80, 32}, {"NewEngine/Scroll_Ver_Top.tga", 80, 16},
                           {"NewEngine/Scroll_Ver_Bottom.tga", 80, 16},        {"NewEngine/Scroll_Ver_Thumb.tga", 80, 32},
                           {"EngineRes//Img//MsgBox_BG.bmp", 273, 228},        {"EngineRes//Img//BT_Ok.bmp", 360, 28},
                           {"EngineRes//Img//BT_Cancel.bmp", 360, 28}};
    UseProgramFactory<DefWnd>("DefWnd", this);
    UseProgramFactory<Button>("Button", this);
    NewRoot();
}

TreeProgram::~TreeProgram() {
    // Whatever is left goes; the driver forgets each as it is deleted, and
    // each control deletes its parts.
    while (!alive_.empty()) delete alive_.back();
    WndTypeRegistry* types = CreateDrvWnd()->GetWndTypeRegistry();
    for (const char* type : {"DefWnd", "Button"}) {
        delete types->GetFactory(type);
        types->RemoveFactory(type);
    }
}

bool TreeProgram::IsAlive(IWnd* wnd) const {
    if (!wnd) return false;
    if (std::find(alive_.begin(), alive_.end(), wnd) != alive_.end()) return true;
    return std::any_of(parts_.begin(), parts_.end(), [wnd](const zrwnd::WndRef& part) { return part.Get() == wnd; });
}

void TreeProgram::AddParts(IWnd* wnd) {
    std::vector<IWnd*> parts;
    if (auto* bar = dynamic_cast<IScrollBar*>(wnd)) {
        parts = {bar->GetUpButton(), bar->GetDownButton(), bar->GetThumb()};
    } else if (auto* combo = dynamic_cast<ComboBox*>(wnd)) {
        parts = {combo->GetButton(), combo->GetEdit(), combo->GetMenu(), combo->GetScrollBar()};
    } else if (auto* rich = dynamic_cast<RichEdit*>(wnd)) {
        parts = {rich->GetScrollBar()};
    } else if (auto* list = dynamic_cast<ListBox*>(wnd)) {
        parts = {list->GetScrollBar()};
    }
    for (IWnd* part : parts) {
        if (!part || IsAlive(part)) continue;
        parts_.emplace_back(part);
        AddParts(part);
    }
}

std::vector<IWnd*> TreeProgram::Known() const {
    std::vector<IWnd*> known = alive_;
    for (const zrwnd::WndRef& part : parts_) {
        if (part) known.push_back(part.Get());
    }
    return known;
}

void TreeProgram::Died(IWnd* wnd) {
    const auto at = std::find(alive_.begin(), alive_.end(), wnd);
    if (at != alive_.end()) alive_.erase(at);
}

IWnd* TreeProgram::PickLive(Choices& choices) {
    if (alive_.empty()) return nullptr;
    return alive_[choices.Pick(static_cast<unsigned>(alive_.size()))];
}

IWnd* TreeProgram::PickLiveAtFire() {
    if (alive_.empty()) return nullptr;
    return alive_[fireRng_() % alive_.size()];
}

IWnd* TreeProgram::PickPartAtFire() {
    if (parts_.empty()) return nullptr;
    return parts_[fireRng_() % parts_.size()].Get();
}

void TreeProgram::MakeWindow(IWnd* parent, Choices& choices) {
    ZrRect r{static_cast<int>(choices.Pick(400)), static_cast<int>(choices.Pick(300)), 0, 0};
    r.right = r.left + 10 + static_cast<int>(choices.Pick(250));
    r.bottom = r.top + 10 + static_cast<int>(choices.Pick(200));
    std::uint32_t style = ZRWS_VISIBLE;
    if (choices.Pick(4) == 0) style |= ZRWS_DRAGGABLE;
    if (choices.Pick(8) == 0) style |= ZRWS_DISABLED;
    IWnd* wnd = nullptr;
    const unsigned kind = choices.Pick(17);
    switch (kind) {
        case 0: wnd = new ProgramControl<Button>(this); break;
        case 1: wnd = new ProgramControl<Edit>(this); break;
        case 2: wnd = new ProgramControl<ScrollBar>(this); break;
        case 3: wnd = new ProgramControl<RichEdit>(this); break;
        case 4: wnd = new ProgramControl<IMenu>(this); break;
        case 5: wnd = new ProgramControl<ComboBox>(this); break;
        case 6: wnd = new ProgramControl<DefWnd>(this); break;
        case 7: wnd = new ProgramControl<Label>(this); break;
        case 8: wnd = new ProgramControl<Panel>(this); break;
        case 9: wnd = new ProgramControl<ProgressBar>(this); break;
        case 10: wnd = new ProgramControl<Slider>(this); break;
        case 11: wnd = new ProgramControl<ListBox>(this); break;
        default: wnd = new ProgramWnd(this); break;
    }
    // The kind bits of a button, a menu that stays open.
    style |= choices.Pick(8);
    Did("make", wnd, kind);
    zrwnd::WndRef made(wnd);
    if (auto* combo = dynamic_cast<ComboBox*>(wnd)) {
        combo->Create(r, parent, style, static_cast<int>(choices.Pick(120)));
    } else {
        wnd->Create(r, parent, style);
    }
    if (made) AddParts(made.Get());
}

void TreeProgram::ShowMessageBox(unsigned kind) {
    Did("message box", nullptr, kind);
    zrwnd::msgbox::Show("storm", static_cast<int>(kind), [](void*, int) {}, nullptr);
}

void TreeProgram::Operate(IWnd* wnd, unsigned pick, unsigned value) {
    Did("operate", wnd, pick);
    const std::string text = SomeText(value);
    const int number = static_cast<int>(value % 400);
    if (auto* edit = dynamic_cast<Edit*>(wnd)) {
        switch (pick % 5) {
            case 0: edit->SetWndText(text.c_str()); break;
            case 1: edit->SetPassword(value % 2 == 0); break;
            case 2: edit->SetMaxLength(number % 12); break;
            case 3: edit->SelectAll(); break;
            default: edit->SetReadOnly(value % 3 == 0); break;
        }
    } else if (auto* rich = dynamic_cast<RichEdit*>(wnd)) {
        LOGFONTA font{};
        font.lfHeight = number % 40 - 20;
        switch (pick % 5) {
            case 0: rich->AppendText(text.c_str()); break;
            case 1: rich->SetWndText(text.c_str()); break;
            case 2: rich->SetFont(&font, 0, 0); break;
            case 3: rich->SetMaxLength(number * 5); break;
            default:
                if (IScrollBar* bar = rich->GetScrollBar()) bar->SetScrollPos(number);
                break;
        }
    } else if (auto* combo = dynamic_cast<ComboBox*>(wnd)) {
        IMenu* menu = combo->GetMenu();
        switch (pick % 4) {
            case 0:
                if (menu) menu->AddItem(number % 8, text.c_str(), nullptr);
                break;
            case 1:
                if (menu) menu->RemoveItem(number % 8);
                break;
            case 2: combo->SetExpanded(value % 2 == 0); break;
            default:
                if (Edit* field = combo->GetEdit()) field->SetWndText(text.c_str());
                break;
        }
    } else if (auto* menu = dynamic_cast<IMenu*>(wnd)) {
        switch (pick % 5) {
            case 0: menu->AddItem(number % 8, text.c_str(), nullptr); break;
            case 1: menu->RemoveItem(number % 8); break;
            case 2: menu->RemoveAllItems(); break;
            case 3: menu->Popup({number, number % 300}, value % 3 == 0 ? 0 : ZRPOPUP_LEFT | ZRPOPUP_UP); break;
            default: menu->SelectItem(number % 8); break;
        }
    } else if (auto* bar = dynamic_cast<IScrollBar*>(wnd)) {
        if (pick % 2) {
            bar->SetScrollRange(number % 50, number % 50 + number);
        } else {
            bar->SetScrollPos(number - 20);
        }
    } else if (auto* button = dynamic_cast<Button*>(wnd)) {
        switch (pick % 3) {
            case 0: button->SetCheck(value % 2 == 0); break;
            case 1: button->SetState(number % 7 - 1); break;
            default: button->SetGroup(number % 3 - 1); break;
        }
    } else if (auto* face = dynamic_cast<DefWnd*>(wnd)) {
        face->LoadImage(value % 2 ? "EngineRes//Img//MsgBox_BG.bmp" : "missing.png", 0);
    } else if (auto* label = dynamic_cast<Label*>(wnd)) {
        switch (pick % 3) {
            case 0: label->SetAlign(value % 3 | (value / 3 % 3) << 4); break;
            case 1: label->SetWordWrap(value % 2 == 0); break;
            default: label->SetWndText(text.c_str()); break;
        }
    } else if (auto* list = dynamic_cast<ListBox*>(wnd)) {
        switch (pick % 5) {
            case 0: list->AddItem(text.c_str(), value % 2 ? 0 : 0xFF000000u | value, value); break;
            case 1: list->RemoveItem(number % 8); break;
            case 2: list->SetSelection(number % 10 - 1); break;
            case 3: list->SetTopIndex(number % 10); break;
            default: list->RemoveAllItems(); break;
        }
    } else if (auto* slider = dynamic_cast<Slider*>(wnd)) {
        switch (pick % 3) {
            case 0: slider->SetRange(number % 50 - 25, number); break;
            case 1: slider->SetPos(number - 100); break;
            default: slider->SetStyle(slider->GetStyle() ^ ZRSLIDER_VERTICAL); break;
        }
    } else if (auto* progress = dynamic_cast<ProgressBar*>(wnd)) {
        switch (pick % 3) {
            case 0: progress->SetRange(number % 50 - 25, number); break;
            case 1: progress->SetPos(number - 100); break;
            default: progress->SetShowPercent(value % 2 == 0); break;
        }
    } else if (auto* panel = dynamic_cast<Panel*>(wnd)) {
        switch (pick % 3) {
            case 0: panel->SetBorderWidth(number % 9 - 1); break;
            case 1: panel->SetClrFill(value % 2 ? 0 : 0xFF000000u | value); break;
            default: panel->LoadImage(value % 2 ? "EngineRes//Img//MsgBox_BG.bmp" : "missing.png", 0); break;
        }
    } else {
        wnd->SetWndText(text.c_str());
    }
}

bool TreeProgram::InShownTree(IWnd* wnd) {
    IWnd* root = driver_->GetRootWnd();
    return root && wnd && (wnd == root || wnd->IsAncestor(root));
}

void TreeProgram::NewRoot() {
    auto* root = new ProgramWnd(this);
    ZrRect all{0, 0, 640, 480};
    root->Create(all, nullptr, ZRWS_VISIBLE);
    driver_->SetRootWnd(root);
}

void TreeProgram::Subscribe(IWnd* wnd, unsigned event, unsigned action) {
    wnd->SubscribeEvent(*kEvents[event % kEventCount], ZrSubscriber([this, wnd, action](const ZrEventArgs&) {
                            Mischief(wnd, action);
                            return false;
                        }));
}

void TreeProgram::Mischief(IWnd* self, unsigned action) {
    // The window may be on its way out already (its own destructor fires).
    if (!IsAlive(self)) return;
    // A handler whose deed fires its own event again (adding a child from
    // "child added") would recurse without end in any program: a few levels
    // are enough to meet every nesting the library must survive.
    // And a window with many such handlers would multiply them at every
    // level: each step allows a bounded number of deeds.
    if (mischiefDepth_ >= 4 || mischiefLeft_ <= 0) return;
    --mischiefLeft_;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
    } depth(mischiefDepth_);
    Did("mischief", self, action % kActionCount);
    switch (action % kActionCount) {
        case 0: delete self; break;
        case 1: self->Destroy(); break;
        case 2:
            if (IWnd* other = PickLiveAtFire()) other->AddChild(self);
            break;
        case 3:
            if (IWnd* modal = driver_->GetModalWnd()) {
                if (fireRng_() % 2) {
                    modal->SetModal(false);
                } else {
                    delete modal;
                }
            }
            break;
        case 4:
            if (IWnd* other = PickLiveAtFire()) delete other;
            break;
        case 5: self->CaptureInput(); break;
        case 6:
            if (IWnd* other = PickLiveAtFire()) self->AddChild(other);
            break;
        case 7: self->SetVisible(false, true); break;
        case 8:
            if (IWnd* other = PickLiveAtFire()) other->Destroy();
            break;
        case 9:
            // A control's part (a scroll bar's thumb, a combo box's list, the
            // message box's button) deleted under it.
            if (IWnd* part = PickPartAtFire()) delete part;
            break;
        case 10: {
            const std::vector<IWnd*> known = Known();
            if (!known.empty()) Operate(known[fireRng_() % known.size()], fireRng_(), fireRng_());
            break;
        }
        default: ShowMessageBox(fireRng_() % 3); break;
    }
}

void TreeProgram::SendNative(Choices& choices) {
    static const UINT kMessages[] = {WM_MOUSEMOVE,    WM_LBUTTONDOWN,  WM_LBUTTONUP,  WM_RBUTTONDOWN, WM_RBUTTONUP,
                                     WM_MBUTTONDOWN,  WM_MBUTTONUP,    WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
                                     WM_MOUSEWHEEL,   WM_KEYDOWN,      WM_KEYUP,      WM_CHAR,        WM_MOUSELEAVE,
                                     WM_PAINT,        WM_ACTIVATE,     WM_SETFOCUS,   WM_KILLFOCUS,   WM_TIMER,
                                     WM_MOUSEMOVE,    WM_MOUSEMOVE};
    const UINT message = kMessages[choices.Pick(sizeof kMessages / sizeof kMessages[0])];
    WPARAM wParam = 0;
    LPARAM lParam = Point(static_cast<int>(choices.Pick(760)) - 60, static_cast<int>(choices.Pick(600)) - 60);
    switch (message) {
        case WM_MOUSEWHEEL: {
            static const int kDeltas[] = {120, -120, 30, -30, 60, 240, -360, 7};
            const int delta = kDeltas[choices.Pick(8)];
            wParam = static_cast<WPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(delta)) << 16);
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP: {
            static const WPARAM kKeys[] = {VK_RETURN, VK_ESCAPE, VK_TAB,  VK_SHIFT, VK_CONTROL, VK_MENU,  'A',
                                           'C',       'V',       'X',     VK_LEFT,  VK_RIGHT,   VK_HOME,  VK_END,
                                           VK_BACK,   VK_DELETE, VK_PRIOR, VK_NEXT};
            wParam = kKeys[choices.Pick(sizeof kKeys / sizeof kKeys[0])];
            break;
        }
        case WM_CHAR: wParam = choices.Pick(256); break;
        case WM_ACTIVATE: wParam = choices.Pick(3); break;
        case WM_TIMER:
            wParam = ZRTIMER_NATIVE_TICK;
            zrwnd::native::portable::AdvanceClock(1000 * static_cast<std::int64_t>(choices.Pick(100)));
            break;
        default: break;
    }
    ++messages_;
    Did("message", nullptr, message);
    driver_->HandleMessage(message, wParam, lParam);
}

bool TreeProgram::Step(Choices& choices) {
    ++steps_;
    mischiefLeft_ = 16;
    if (!driver_->GetRootWnd()) {
        // The shown tree went (its root hidden, destroyed or deleted): what is
        // left of it takes no part any more.
        while (!alive_.empty()) delete alive_.back();
        NewRoot();
    }
    IWnd* some = PickLive(choices);
    if (!some) return Check();
    const unsigned op = choices.Pick(32);
    Did("op", some, op);
    switch (op) {
        case 0:
        case 1: {
            if (!InShownTree(some)) break;
            if (alive_.size() >= kMaxWindows) {
                delete PickLive(choices);
                break;
            }
            MakeWindow(some, choices);
            break;
        }
        case 2: some->SetVisible(choices.Pick(3) != 0, choices.Pick(2) == 0); break;
        case 3: some->SetEnable(choices.Pick(3) != 0, choices.Pick(2) == 0); break;
        case 4:
            // Making the root itself modal would hide the whole tree with it.
            if (InShownTree(some) && some != driver_->GetRootWnd()) some->SetModal(choices.Pick(2) == 0);
            break;
        case 5:
            some->SetRestoreCapture(choices.Pick(2) == 0);
            if (InShownTree(some)) some->CaptureInput();
            break;
        case 6: some->ReleaseInput(); break;
        case 7: some->Destroy(); break;
        case 8:
            if (choices.Pick(3) == 0) delete some;
            break;
        case 9:
            if (InShownTree(some)) some->SetActive(true, choices.Pick(2) == 0);
            break;
        case 10: some->SetDistributeCapture(choices.Pick(2) == 0); break;
        case 11:
            if (IWnd* other = PickLive(choices)) other->AddChild(some);
            break;
        case 12:
            some->MoveWnd(static_cast<int>(choices.Pick(700)) - 30, static_cast<int>(choices.Pick(500)) - 30,
                          static_cast<int>(choices.Pick(300)), static_cast<int>(choices.Pick(300)));
            break;
        case 13: some->MoveToFront(choices.Pick(2) == 0); break;
        case 14: {
            ZrRect r{static_cast<int>(choices.Pick(700)) - 30, static_cast<int>(choices.Pick(500)) - 30, 0, 0};
            r.right = r.left + static_cast<int>(choices.Pick(300));
            r.bottom = r.top + static_cast<int>(choices.Pick(300));
            const unsigned how = choices.Pick(4);
            if (how % 2) {
                // Window coordinates, clipped to the window; null for all of it.
                const bool whole = how == 3;
                ZrRect at, onSurface;
                some->GetWndRect(&at);
                zrwnd::Offset(r, at.left, at.top, &onSurface);
                invalidated_.push_back(whole ? Covered(some) : zrwnd::Intersect(Covered(some), onSurface));
                some->InvalidateRect(whole ? nullptr : &r, choices.Pick(4) == 0);
            } else {
                driver_->InvalidateRect(&r, choices.Pick(4) == 0);
                invalidated_.push_back(r);  // owed like a window's old place
            }
            break;
        }
        case 15:
        case 16: Subscribe(some, choices.Pick(kEventCount), choices.Pick(kActionCount)); break;
        case 17: driver_->Render(); break;
        case 18:
        case 19: {
            const std::vector<IWnd*> known = Known();
            Operate(known[choices.Pick(static_cast<unsigned>(known.size()))], choices.Pick(20), choices.Pick(4000));
            break;
        }
        case 20:
            if (!parts_.empty()) {
                IWnd* part = parts_[choices.Pick(static_cast<unsigned>(parts_.size()))].Get();
                Did("delete part", part);
                delete part;
            }
            break;
        case 21: ShowMessageBox(choices.Pick(3)); break;
        default: SendNative(choices); break;
    }
    // References to parts that went are dropped now and then.
    if (steps_ % 64 == 0) {
        parts_.erase(std::remove_if(parts_.begin(), parts_.end(), [](const zrwnd::WndRef& part) { return !part; }),
                     parts_.end());
    }
    return Check();
}

void TreeProgram::Did(const char* what, IWnd* wnd, unsigned detail) {
    auto at = std::find(alive_.begin(), alive_.end(), wnd);
    std::string line = std::string(what) + " #" + std::to_string(at - alive_.begin()) + " " + std::to_string(detail);
    if (std::getenv("ZRWND_TRACE")) std::fprintf(stderr, "%ld %s\n", steps_, line.c_str());
    if (trail_.size() == 12) trail_.erase(trail_.begin());
    trail_.push_back(std::move(line));
}

bool TreeProgram::Fail(const std::string& what) {
    failure_ = "step " + std::to_string(steps_) + ": " + what + "; last done:";
    for (const std::string& line : trail_) failure_ += "\n  " + line;
    return false;
}

bool TreeProgram::CheckControl(IWnd* wnd) {
    if (auto* edit = dynamic_cast<Edit*>(wnd)) {
        const int length = edit->GetWndText().GetLength();
        for (int at : {edit->GetCaret(), edit->GetAnchor(), edit->GetFirstVisible()}) {
            if (at < 0 || at > length) return Fail("an edit box's caret, anchor or view lies outside its text");
        }
    } else if (auto* bar = dynamic_cast<IScrollBar*>(wnd)) {
        const int position = bar->GetScrollPos();
        if (bar->GetScrollRangeLength() > 0 && (position < bar->GetScrollMin() || position > bar->GetScrollMax())) {
            return Fail("a scroll bar's position lies outside its range");
        }
    } else if (auto* menu = dynamic_cast<IMenu*>(wnd)) {
        int lit = 0;
        for (int i = 0; i < menu->GetItemCount(); ++i) lit += menu->GetItemAt(i)->IsHighlighted() ? 1 : 0;
        if (lit > 1) return Fail("a menu highlights more than one item");
    }
    return true;
}

bool TreeProgram::Check() {
    const std::vector<IWnd*> windows = Known();
    std::vector<IWnd*> known = windows;
    std::sort(known.begin(), known.end());
    auto isAlive = [&known](IWnd* wnd) { return std::binary_search(known.begin(), known.end(), wnd); };
    // No cycle, and the lists agree with the parents.
    for (IWnd* wnd : windows) {
        std::size_t up = 0;
        for (IWnd* p = wnd->GetParent(); p; p = p->GetParent()) {
            if (!isAlive(p)) return Fail("a window's parent is not a live window");
            if (++up > known.size()) return Fail("the parents make a cycle");
        }
        if (IWnd* parent = wnd->GetParent()) {
            bool listed = false;
            for (int i = 0; i < parent->GetChildCount() && !listed; ++i) listed = parent->GetChildAtIndex(i) == wnd;
            if (!listed) return Fail("a window names a parent whose child list does not hold it");
        }
        for (int i = 0; i < wnd->GetChildCount(); ++i) {
            IWnd* child = wnd->GetChildAtIndex(i);
            if (!isAlive(child)) return Fail("a child list holds a window that is gone");
            if (child->GetParent() != wnd) return Fail("a child list holds a window of another parent");
        }
        if (!CheckControl(wnd)) return false;
    }
    struct Ref {
        const char* name;
        IWnd* wnd;
    };
    const Ref refs[] = {{"root", driver_->GetRootWnd()},
                        {"modal", driver_->GetModalWnd()},
                        {"hover", driver_->GetHoverWnd()},
                        {"capture", driver_->GetCaptureWnd()},
                        {"active", driver_->GetActiveWnd()}};
    for (const Ref& ref : refs) {
        if (!ref.wnd) continue;
        if (!isAlive(ref.wnd)) return Fail(std::string("the driver's ") + ref.name + " is not a live window");
        if (!InShownTree(ref.wnd)) return Fail(std::string("the driver's ") + ref.name + " is outside the shown tree");
    }
    const zrwnd::RectRegion& dirty = static_cast<zrwnd::DrvWnd*>(driver_)->GetDirtyRegion();
    for (const zrwnd::RectNode* a = dirty.First(); a; a = dirty.Next(a)) {
        for (const zrwnd::RectNode* b = dirty.Next(a); b; b = dirty.Next(b)) {
            if (a->left < b->right && b->left < a->right && a->top < b->bottom && b->top < a->bottom) {
                return Fail("the dirty region's rectangles overlap");
            }
        }
    }
    if (engine_->lockDepth != 0) return Fail("the engine lock is left held");
    // No trail and nothing lost: what a shown window covered at the last
    // check, once it moved, went or was hidden, what the program invalidated
    // since, and the mask a modal window brings or takes away, is dirty now
    // or was presented since.
    const ZrRect surface{0, 0, engine_->width, engine_->height};
    zrwnd::RectRegion owed;
    for (const auto& [wnd, was] : covered_) {
        if (!isAlive(wnd) || Covered(wnd) != was) owed.Add(was);
    }
    for (const ZrRect& r : invalidated_) owed.Add(zrwnd::Intersect(r, surface));
    invalidated_.clear();
    // The modal mask covers the whole surface while it comes and goes.
    if (driver_->GetModalWnd() != modalAtCheck_) owed.Add(surface);
    modalAtCheck_ = driver_->GetModalWnd();
    for (const EngineCall& c : engine_->Calls("PresentRect")) {
        owed.Subtract(c.args.empty() ? surface : ZrRect{int(c.args[0]), int(c.args[1]), int(c.args[2]), int(c.args[3])});
    }
    for (const zrwnd::RectNode* n = dirty.First(); n; n = dirty.Next(n)) owed.Subtract({n->left, n->top, n->right, n->bottom});
    // A root put under another window leaves nothing shown to draw with.
    IWnd* root = driver_->GetRootWnd();
    if (const zrwnd::RectNode* n = owed.First(); n && root && !root->GetParent()) {
        return Fail("an area that changed was neither drawn again nor left dirty: " + std::to_string(n->left) + "," +
                    std::to_string(n->top) + "-" + std::to_string(n->right) + "," + std::to_string(n->bottom));
    }
    engine_->ClearCalls();
    covered_.clear();
    for (IWnd* wnd : windows) covered_.push_back({wnd, Covered(wnd)});
    return true;
}

ZrRect TreeProgram::Covered(IWnd* wnd) {
    if (!InShownTree(wnd) || !wnd->IsVisible(false)) return {};
    ZrRect r, clip;
    wnd->GetWndRect(&r);
    wnd->GetWndDC()->GetClipRect(&clip);
    return zrwnd::Intersect(zrwnd::Intersect(r, clip), {0, 0, engine_->width, engine_->height});
}

}  // namespace zrtest
