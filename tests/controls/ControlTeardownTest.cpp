#include <string>

#include "support/EventRecorder.h"
#include "drv/TimerServiceImpl.h"

// Each control's events, with a subscriber that deletes the control, the
// panel that holds it, or one of its parts while the event is under way. Run
// under AddressSanitizer: nothing touches freed memory, no timer of a deleted
// control is left, and the driver goes on working with what is left.
namespace {


class ControlTeardown;

enum class Route { kControl, kPanel, kPart };

struct Row {
    const char* name;
    const ZrString* event;
    IWnd* (*make)(IWnd* panel);
    // The window whose event fires: the control or one of its parts.
    IWnd* (*sender)(IWnd* control);
    // What the third route deletes; null for a control without parts.
    IWnd* (*part)(IWnd* control);
    void (*trigger)(ControlTeardown& t, IWnd* control);
};

class ControlTeardown : public zrtest::RootedTest, public testing::WithParamInterface<Row> {
public:
    int ActiveTimers() { return static_cast<zrwnd::TimerServiceImpl*>(driver()->GetTimer())->GetActiveCount(); }
};

template <class Control>
Control* Place(IWnd* panel, ZrRect place, std::uint32_t style = 0) {
    auto* control = new Control;
    control->Create(place, panel, ZRWS_VISIBLE | style);
    return control;
}

IWnd* Self(IWnd* control) { return control; }
IWnd* Thumb(IWnd* bar) { return static_cast<ScrollBar*>(bar)->GetThumb(); }
IWnd* ComboMenu(IWnd* combo) { return static_cast<ComboBox*>(combo)->GetMenu(); }
IWnd* RichBar(IWnd* rich) { return static_cast<RichEdit*>(rich)->GetScrollBar(); }

// A button at (100, 100, 160, 120).
IWnd* MakeButton(IWnd* panel) { return Place<Button>(panel, {100, 100, 160, 120}); }
IWnd* MakeCheckBox(IWnd* panel) { return Place<Button>(panel, {100, 100, 160, 120}, ZRBS_CHECK); }
// A bar at (300, 50) of height 114, range 0-100 at 50: its thumb at 41-73.
IWnd* MakeBar(IWnd* panel) {
    auto* bar = Place<ScrollBar>(panel, {300, 50, 340, 164});
    bar->SetScrollRange(0, 100);
    bar->SetScrollPos(50);
    return bar;
}
IWnd* MakeEdit(IWnd* panel) { return Place<Edit>(panel, {100, 100, 300, 124}); }
// A pop-up whose first item lies at (105, 105)-(165, 125).
IWnd* MakeMenu(IWnd* panel) {
    auto* menu = Place<IMenu>(panel, {0, 0, 0, 0});
    menu->AddItem(1, "one", nullptr);
    menu->Popup({100, 100}, 0);
    return menu;
}
// A combo box at (10, 10) whose 16 x 16 button lies at (134, 12).
IWnd* MakeCombo(IWnd* panel) {
    auto* combo = new ComboBox;
    ZrRect place{10, 10, 150, 30};
    combo->Create(place, panel, ZRWS_VISIBLE, 60);
    combo->GetButton()->LoadImage("EngineRes\\Img\\Scroll_Ver_Bottom.tga", 0);
    combo->GetMenu()->AddItem(1, "one", nullptr);
    return combo;
}
IWnd* MakeRich(IWnd* panel) {
    auto* rich = Place<RichEdit>(panel, {100, 100, 176, 200});
    rich->SetWndText(std::string(200, 'x').c_str());
    return rich;
}
IWnd* MakeFace(IWnd* panel) { return Place<DefWnd>(panel, {0, 0, 50, 50}); }
IWnd* MakeLabel(IWnd* panel) { return Place<Label>(panel, {100, 100, 200, 120}); }
IWnd* MakePanel(IWnd* panel) { return Place<Panel>(panel, {100, 100, 200, 200}); }
IWnd* MakeProgress(IWnd* panel) { return Place<ProgressBar>(panel, {100, 100, 200, 116}); }
// A list of five rows of 20 pixels at (100, 100, 200, 160): three in view.
IWnd* MakeList(IWnd* panel) {
    auto* list = Place<ListBox>(panel, {100, 100, 200, 160});
    for (int i = 0; i < 5; ++i) list->AddItem("row", 0, 0);
    return list;
}
IWnd* ListBar(IWnd* list) { return static_cast<ListBox*>(list)->GetScrollBar(); }
// A slider at (100, 100, 210, 116), 0-100: a press at x moves it to x - 105.
IWnd* MakeSlider(IWnd* panel) { return Place<Slider>(panel, {100, 100, 210, 116}); }

void Click(ControlTeardown& t, int x, int y) { t.ClickAt(x, y); }

const Row kRows[] = {
    {"click", &ZrEventClicked, MakeButton, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"press", &zrwnd::events::MouseDown, MakeButton, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"release", &zrwnd::events::MouseUp, MakeButton, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"hover", &zrwnd::events::MouseEnter, MakeButton, Self, nullptr, [](ControlTeardown& t, IWnd*) { t.MoveTo(110, 110); }},
    {"check", &ZrEventClicked, MakeCheckBox, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"checked", &zrwnd::events::RenderEnded, MakeCheckBox, Self, nullptr,
     [](ControlTeardown&, IWnd* box) { static_cast<Button*>(box)->SetCheck(true); }},
    {"position", &ZrEventScrollPosChanged, MakeBar, Self, Thumb,
     [](ControlTeardown&, IWnd* bar) { static_cast<ScrollBar*>(bar)->SetScrollPos(90); }},
    {"range", &ZrEventThumbPosChanged, MakeBar, Thumb, Thumb,
     [](ControlTeardown&, IWnd* bar) { static_cast<ScrollBar*>(bar)->SetScrollRange(0, 300); }},
    {"held arrow", &ZrEventScrollPosChanged, MakeBar, Self, Thumb,
     [](ControlTeardown& t, IWnd*) {
         t.MoveTo(305, 150);
         t.Send(WM_LBUTTONDOWN);
         t.Tick(50);
         t.Send(WM_LBUTTONUP);
     }},
    {"track", &ZrEventScrollPosChanged, MakeBar, Self, Thumb, [](ControlTeardown& t, IWnd*) { Click(t, 305, 140); }},
    {"drag", &ZrEventThumbPosChanged, MakeBar, Thumb, Thumb,
     [](ControlTeardown& t, IWnd*) {
         t.MoveTo(305, 100);
         t.Send(WM_LBUTTONDOWN);
         t.MoveTo(305, 120);
         t.Send(WM_LBUTTONUP);
     }},
    {"page", &ZrEventScrollPosChanged, MakeBar, Self, Thumb,
     [](ControlTeardown& t, IWnd* bar) {
         bar->SetActive(true, false);
         t.Send(WM_KEYDOWN, VK_NEXT);
     }},
    {"text", &zrwnd::events::TextChanged, MakeEdit, Self, nullptr, [](ControlTeardown&, IWnd* edit) { edit->SetWndText("x"); }},
    {"password", &zrwnd::events::TextChanged, MakeEdit, Self, nullptr,
     [](ControlTeardown&, IWnd* edit) { static_cast<Edit*>(edit)->SetPassword(true); }},
    {"focus", &zrwnd::events::Activated, MakeEdit, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"blur", &zrwnd::events::Deactivated, MakeEdit, Self, nullptr,
     [](ControlTeardown& t, IWnd* edit) {
         Click(t, 110, 110);
         edit->SetActive(false, true);
     }},
    {"key", &zrwnd::events::KeyDown, MakeEdit, Self, nullptr,
     [](ControlTeardown& t, IWnd*) {
         Click(t, 110, 110);
         t.Send(WM_KEYDOWN, VK_LEFT);
     }},
    {"char", &zrwnd::events::Char, MakeEdit, Self, nullptr,
     [](ControlTeardown& t, IWnd*) {
         Click(t, 110, 110);
         t.Send(WM_CHAR, 'a');
     }},
    {"choose", &ZrEventSelectItem, MakeMenu, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 110, 110); }},
    {"add", &ZrEventAddItem, MakeMenu, Self, nullptr,
     [](ControlTeardown&, IWnd* menu) { static_cast<IMenu*>(menu)->AddItem(2, "two", nullptr); }},
    {"leave item", &zrwnd::events::MouseLeave, MakeMenu, Self, nullptr,
     [](ControlTeardown& t, IWnd*) {
         t.MoveTo(110, 110);
         t.MoveTo(600, 400);
     }},
    {"list choice", &ZrEventSelectItem, MakeCombo, ComboMenu, ComboMenu,
     [](ControlTeardown& t, IWnd*) {
         Click(t, 140, 20);
         Click(t, 30, 42);
     }},
    {"expand", &ZrEventClicked, MakeCombo, [](IWnd* c) -> IWnd* { return static_cast<ComboBox*>(c)->GetButton(); },
     ComboMenu, [](ControlTeardown& t, IWnd*) { Click(t, 140, 20); }},
    {"field", &zrwnd::events::MouseDown, MakeCombo, [](IWnd* c) -> IWnd* { return static_cast<ComboBox*>(c)->GetEdit(); },
     ComboMenu, [](ControlTeardown& t, IWnd*) { Click(t, 30, 20); }},
    {"scroll text", &ZrEventScrollPosChanged, MakeRich, RichBar, RichBar,
     [](ControlTeardown&, IWnd* rich) { static_cast<RichEdit*>(rich)->GetScrollBar()->SetScrollPos(10); }},
    {"face", &zrwnd::events::RenderChild, MakeFace, Self, nullptr, [](ControlTeardown&, IWnd* face) { face->Invalidate(true); }},
    {"label", &zrwnd::events::TextChanged, MakeLabel, Self, nullptr, [](ControlTeardown&, IWnd* label) { label->SetWndText("x"); }},
    {"panel", &zrwnd::events::MouseDown, MakePanel, Self, nullptr, [](ControlTeardown& t, IWnd*) { Click(t, 150, 150); }},
    {"progress", &zrwnd::events::RenderEnded, MakeProgress, Self, nullptr,
     [](ControlTeardown&, IWnd* bar) { static_cast<ProgressBar*>(bar)->SetPos(60); }},
    {"slide", &ZrEventSliderPosChanged, MakeSlider, Self, nullptr, [](ControlTeardown& t, IWnd*) {
         t.MoveTo(150, 108);
         t.Send(WM_LBUTTONDOWN);
         t.MoveTo(180, 108);
         t.Send(WM_LBUTTONUP);
     }},
    {"list click", &ZrEventListSelChanged, MakeList, Self, ListBar, [](ControlTeardown& t, IWnd*) { Click(t, 120, 125); }},
    {"list wheel", &zrwnd::events::MouseWheel, MakeList, Self, ListBar, [](ControlTeardown& t, IWnd*) {
         t.MoveTo(120, 110);
         t.Send(WM_MOUSEWHEEL, static_cast<WPARAM>(std::uint16_t(-120)) << 16);
     }},
    {"slide key", &ZrEventSliderPosChanged, MakeSlider, Self, nullptr, [](ControlTeardown& t, IWnd* slider) {
         slider->SetActive(true, false);
         t.Send(WM_KEYDOWN, VK_END);
     }},
};

TEST_P(ControlTeardown, SurvivesASubscriberThatTakesItAway) {
    const Row& row = GetParam();
    for (Route route : {Route::kControl, Route::kPanel, Route::kPart}) {
        SCOPED_TRACE("route " + std::to_string(static_cast<int>(route)));
        auto* panel = new zrtest::TestWnd("P");
        ZrRect all{0, 0, 640, 480};
        panel->Create(all, &root, ZRWS_VISIBLE);
        zrwnd::WndRef control(row.make(panel));
        if (route == Route::kPart && !row.part) {
            delete control.Get();
            delete panel;
            continue;
        }
        zrwnd::WndRef victim(route == Route::kControl ? control.Get()
                             : route == Route::kPanel ? static_cast<IWnd*>(panel)
                                                      : row.part(control.Get()));
        int fired = 0;
        row.sender(control.Get())->SubscribeEvent(*row.event, ZrSubscriber([&](const ZrEventArgs&) {
            if (fired++ == 0) delete victim.Get();
            return true;
        }));
        zrwnd::WndRef holder(panel);
        row.trigger(*this, control.Get());
        EXPECT_GE(fired, 1);
        EXPECT_FALSE(victim);
        if (!control) {
            EXPECT_EQ(ActiveTimers(), 0);
        }
        // The driver goes on with what is left.
        Tick(60);
        ClickAt(600, 400);
        driver()->InvalidateRect(nullptr, true);
        delete control.Get();
        delete holder.Get();
        MoveTo(630, 470);
    }
}

INSTANTIATE_TEST_SUITE_P(Stock, ControlTeardown, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) {
                             std::string name = std::to_string(info.index) + "_" + info.param.name;
                             for (char& c : name) {
                                 if (c == ' ') c = '_';
                             }
                             return name;
                         });

}  // namespace
