#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/EventRecorder.h"

// What the plain controls draw, in their own coordinates, for the settings a
// game gives them: rows of a control in a 100 x 40 box and the engine calls
// it makes when drawn. The recording font makes a byte 6 pixels wide and a
// line 12 high.
namespace {

struct Row {
    const char* name;
    std::function<IWnd*()> make;
    std::vector<std::string> calls;
};

class Looks : public zrtest::RootedTest {
public:
    template <class Control>
    Control* Place(const char* text = "") {
        auto* control = new Control;
        ZrRect place{100, 100, 200, 140};
        control->Create(place, &root, ZRWS_VISIBLE);
        control->SetWndText(text);
        made.push_back(control);
        return control;
    }
    Label* Aligned(const char* text, std::uint32_t align, bool wrap = false) {
        auto* label = Place<Label>(text);
        label->SetAlign(align);
        label->SetWordWrap(wrap);
        return label;
    }
    void TearDown() override {
        for (IWnd* wnd : made) delete wnd;
        // The registry destroys the message box's windows but never deletes them.
        for (const char* name : {zrwnd::ZrMsgBoxOkName, zrwnd::ZrMsgBoxCancelName, zrwnd::ZrMsgBoxName}) {
            delete driver()->GetWndNameRegistry()->FindWnd(name);
        }
        zrwnd::SetLook({});
        zrtest::RootedTest::TearDown();
    }
    std::vector<IWnd*> made;
};

TEST_F(Looks, PlainControlsDrawWhereTheirSettingsSay) {
    const Row rows[] = {
        {"label, right bottom", [&] { return Aligned("abcd", ZRLABEL_RIGHT | ZRLABEL_BOTTOM); },
         {"DrawText 76 28 100 40 4294967295 1 0 abcd"}},
        {"label, centre top", [&] { return Aligned("abcd", ZRLABEL_CENTER | ZRLABEL_TOP); },
         {"DrawText 0 0 100 12 4294967295 4 0 abcd"}},
        {"label, default", [&] { return Place<Label>("ab"); }, {"DrawText 0 0 100 40 4294967295 33 0 ab"}},
        {"label, wrapped", [&] { return Aligned("ab", ZRLABEL_CENTER, true); },
         {"DrawText 0 0 100 40 4294967295 12 0 ab"}},
        {"progress, a quarter", [&] {
             auto* p = Place<ProgressBar>();
             EXPECT_FALSE(p->SetRange(5, 1));  // refused: the range stays
             p->SetRange(0, 200);
             p->SetPos(50);
             p->SetShowPercent(true);
             return p;
         },
         {"FillRect 0 0 100 40 4279507498", "FillRect 0 0 25 40 4282359914",
          "DrawText 0 0 100 40 4294967295 36 0 25%"}},
        {"chat, coloured lines", [&] {
             auto* chat = Place<RichEdit>("a\n");
             chat->AppendColoured("b\nc", 0xFF00FF00);
             return chat;
         },
         // Each line where the whole text would put it, beside the 16-pixel bar.
         {"FillRect 0 0 92 40 0", "DrawText 0 1 84 15 4278190080 9 4278190080 a",
          "DrawText 0 15 84 29 4278255360 9 4278190080 b", "DrawText 0 29 84 43 4278255360 9 4278190080 c"}},
        {"panel, framed", [&] {
             auto* p = Place<Panel>();
             p->SetBorderWidth(2);
             p->SetClrFill(0xFF000001);
             return p;
         },
         {"FillRect 0 0 100 40 4278190081", "FillRect 0 0 100 2 4285166480", "FillRect 0 38 100 40 4285166480",
          "FillRect 0 2 2 38 4285166480", "FillRect 98 2 100 38 4285166480"}},
        {"panel, tiled, no border", [&] {
             auto* p = Place<Panel>();
             p->LoadImage("strip100x20.png", 0);
             p->SetBorderWidth(0);
             return p;
         },
         // Rows of whole tiles down the box, none past its right edge.
         {"FillRect 0 0 100 40 3760203832", "Image.Draw 0 0 100 20 0 0 0 0", "Image.Draw 0 0 100 20 0 20 0 0"}},
    };
    for (const Row& row : rows) {
        IWnd* control = row.make();
        engine->ClearCalls();
        control->Invalidate(true);
        std::vector<std::string> calls;
        for (const char* op : {"FillRect", "Image.Draw", "DrawText"}) {
            for (const zrtest::EngineCall& c : engine->Calls(op)) {
                if (c.dc != control->GetClientDC()) continue;
                std::string line = c.op;
                for (long long a : c.args) line += " " + std::to_string(a);
                calls.push_back(c.text.empty() ? line : line + " " + c.text);
            }
        }
        EXPECT_EQ(calls, row.calls) << row.name;
        // A label and a bar take no clicks: the window under them does.
        if (dynamic_cast<Label*>(control) || dynamic_cast<ProgressBar*>(control)) {
            EXPECT_FALSE(control->IsHit({150, 120})) << row.name;
        }
    }
}

}  // namespace

// A slider of 0-100 at (100, 100, 210, 116): the knob's centre runs from x 105
// to 205, so a press at x goes to x - 105; keys move it while it is active.
TEST_F(Looks, ASliderFollowsPressesDragsKeysAndTheWheel) {
    auto* slider = Place<Slider>();
    slider->MoveWnd(100, 100, 110, 16);
    int fired = 0;
    zrwnd::Subscribe(slider, ZrEventSliderPosChanged, [&](ZrWndEventArgs&) { ++fired; });
    const struct {
        std::function<void()> act;
        int pos;
    } steps[] = {
        {[&] { ClickAt(150, 108); }, 45},
        {[&] { MoveTo(150, 108); Send(WM_LBUTTONDOWN); MoveTo(400, 108); Send(WM_LBUTTONUP); }, 100},
        {[&] { Key(VK_LEFT); }, 99},
        {[&] { Key(VK_NEXT); }, 89},
        {[&] { Key(VK_HOME); }, 0},
        {[&] { Key(VK_DOWN); }, 0},
        {[&] { slider->SetStep(5); Key(VK_PRIOR); }, 50},
        {[&] { MoveTo(150, 108), Send(WM_MOUSEWHEEL, static_cast<WPARAM>(std::uint16_t(-240)) << 16); }, 40},
        {[&] { slider->SetRange(60, 80); }, 60},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(slider->GetPos(), step.pos) << fired;
    }
    EXPECT_EQ(fired, 8);  // every change but the key at the end
}

// Keys nobody handled: Tab and Shift+Tab walk the tab stops that can be
// reached; Enter and Esc answer a message box; Esc closes a pop-up and a list.
TEST_F(Looks, TabEnterAndEscapeDoWhatAPlayerExpects) {
    auto* a = Place<Edit>();
    auto* b = Place<Edit>();
    Place<Edit>()->SetEnable(false, true);
    Place<Edit>()->SetVisible(false, true);
    auto* slider = Place<Slider>();
    a->MoveWnd(0, 0, 50, 20);
    ClickAt(10, 10);
    const struct {
        int modifier;
        IWnd* active;
    } tabs[] = {{0, b}, {0, slider}, {0, a}, {VK_SHIFT, slider}, {VK_SHIFT, b}};
    for (const auto& tab : tabs) {
        Key(VK_TAB, tab.modifier);
        EXPECT_EQ(driver()->GetActiveWnd(), tab.active);
    }
    zrwnd::SetTabStop(slider, false);
    Key(VK_TAB);
    EXPECT_EQ(driver()->GetActiveWnd(), a);
    // A set order: the slider comes back between a and b, and b is reached
    // from the slider.
    zrwnd::SetTabOrder({a, slider, nullptr, b});
    Key(VK_TAB);
    EXPECT_EQ(driver()->GetActiveWnd(), slider);
    Key(VK_TAB);
    EXPECT_EQ(driver()->GetActiveWnd(), b);
    // Enter the edit box does not take goes to the dialog's default button.
    auto* ok = Place<Button>();
    int clicks = 0;
    zrwnd::Subscribe(ok, ZrEventClicked, [&](ZrWndEventArgs&) { ++clicks; });
    zrwnd::SetDefaultWnd(&root, ok);
    Key(VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(driver()->GetActiveWnd(), b);

    // Esc is the cancel answer of a box that has one, OK of one that has not;
    // Enter is OK. While the box is up, Tab stays inside it (no stop there).
    const struct {
        int kind, key, answer;
    } boxes[] = {{1, VK_ESCAPE, 1}, {1, VK_RETURN, 0}, {0, VK_ESCAPE, 0}};
    for (const auto& box : boxes) {
        int answer = -1;
        auto keep = [](void* to, int got) { *static_cast<int*>(to) = got; };
        ASSERT_TRUE(zrwnd::msgbox::Show("?", box.kind, keep, &answer));
        Key(VK_TAB);
        EXPECT_NE(driver()->GetActiveWnd(), a);
        Key(box.key);
        EXPECT_EQ(answer, box.answer);
    }

    auto* menu = Place<IMenu>();
    menu->AddItem(1, "one", nullptr);
    menu->Popup({300, 300}, 0);
    Key(VK_ESCAPE);
    EXPECT_FALSE(menu->IsVisible(true));
    auto* combo = new ComboBox;
    made.push_back(combo);
    ZrRect place{300, 10, 440, 30};
    combo->Create(place, &root, ZRWS_VISIBLE, 60);
    combo->SetExpanded(true);
    combo->GetEdit()->SetActive(true, false);
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->IsExpanded());
}

// A tooltip shows once the pointer has rested over its window for the delay,
// inside the surface, and goes on a key, a press or a move away.
TEST_F(Looks, ATooltipShowsAfterTheWaitAndGoesOnAKeyOrAPress) {
    auto* panel = Place<Panel>();
    panel->MoveWnd(560, 440, 80, 40);  // in the corner: the tip moves inside
    zrwnd::SetTooltip(panel, "tip");
    auto tipDrawn = [&] {
        engine->ClearCalls();
        driver()->InvalidateRect(nullptr, true);
        for (const auto& c : engine->Calls("DrawText")) {
            if (c.text == "tip") return ZrRect{int(c.args[0]), int(c.args[1]), int(c.args[2]), int(c.args[3])};
        }
        return ZrRect{};
    };
    const std::function<void()> hiders[] = {[&] { Key('A'); }, [&] { ClickAt(600, 470); }, [&] { MoveTo(10, 10); }};
    for (const auto& hide : hiders) {
        MoveTo(600, 470);
        Tick(zrwnd::kTooltipDelayMs - 100);
        EXPECT_EQ(tipDrawn(), ZrRect{});
        Tick(100);
        const ZrRect tip = tipDrawn();
        EXPECT_GT(tip.right, tip.left);
        EXPECT_LE(tip.right, 640 - 1);
        EXPECT_LE(tip.bottom, 480 - 1);
        hide();
        EXPECT_EQ(tipDrawn(), ZrRect{});
    }
}

// A chat log follows its newest line when asked, and the wheel scrolls it
// three lines (of 14 pixels) a notch.
TEST_F(Looks, AChatLogFollowsItsNewestLineAndScrollsWithTheWheel) {
    auto* chat = Place<RichEdit>();
    chat->SetFollowNewest(true);
    for (int i = 0; i < 20; ++i) chat->AppendColoured("line\n", 0xFF00FF00 + i);
    IScrollBar* bar = chat->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(bar->GetScrollMax(), 0);
    EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollMax());
    MoveTo(120, 110);
    Send(WM_MOUSEWHEEL, static_cast<WPARAM>(std::uint16_t(120)) << 16);
    EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollMax() - 42);
}

// A list of six rows in a box three rows high: clicks, keys and the wheel
// move the selection and the view; only the rows in view are drawn.
TEST_F(Looks, AListSelectsByClickKeysAndWheelAndDrawsOnlyWhatIsInView) {
    auto* list = Place<ListBox>();
    list->MoveWnd(100, 100, 100, 60);
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) list->AddItem(name, 0, 0);
    int fired = 0;
    zrwnd::Subscribe(list, ZrEventListSelChanged, [&](ZrWndEventArgs&) { ++fired; });
    const struct {
        std::function<void()> act;
        int selected, top;
    } steps[] = {
        {[&] { ClickAt(120, 125); }, 1, 0},
        {[&] { Key(VK_END); }, 5, 3},
        {[&] { Key(VK_UP); }, 4, 3},
        {[&] { Key(VK_HOME); }, 0, 0},
        {[&] { Key(VK_NEXT); }, 3, 1},
        {[&] { MoveTo(120, 110), Send(WM_MOUSEWHEEL, static_cast<WPARAM>(std::uint16_t(120)) << 16); }, 3, 0},
        {[&] { list->RemoveItem(3); }, -1, 0},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(list->GetSelection(), step.selected);
        EXPECT_EQ(list->GetTopIndex(), step.top);
    }
    EXPECT_EQ(fired, 6);
    auto rowsDrawn = [&] {
        const auto drawn = engine->Calls("DrawText");
        return std::count_if(drawn.begin(), drawn.end(), [&](const auto& c) { return c.dc == list->GetClientDC(); });
    };
    engine->ClearCalls();
    list->Invalidate(true);
    EXPECT_EQ(rowsDrawn(), 3);
    // A removed row goes from the screen at once.
    engine->ClearCalls();
    list->RemoveItem(0);
    EXPECT_EQ(rowsDrawn(), 3);
    EXPECT_EQ(list->GetItemCount(), 4);
    // Made tall enough for all four rows, the list needs its bar no more.
    list->MoveWnd(100, 100, 100, 100);
    EXPECT_FALSE(list->GetScrollBar()->IsVisible(false));
}

// The readable look: a combo box made in code with no image shows a field and
// a button, its list opens in front of its neighbours, shows whole rows (at a
// whole-row position however the bar stands) and frames the item the field
// shows; a pop-up menu is opaque. The recording font's rows are 12 high with
// the menu's gaps between them.
TEST_F(Looks, TheReadableLookShowsACodeMadeComboBoxAndWholeRows) {
    const zrwnd::Look look = zrwnd::ReadableLook();
    zrwnd::SetLook(look);
    auto* combo = new ComboBox;
    made.push_back(combo);
    ZrRect place{300, 10, 440, 30};
    ASSERT_TRUE(combo->Create(place, &root, ZRWS_VISIBLE, 50));
    Place<Panel>()->MoveWnd(300, 40, 50, 20);  // a neighbour made later, so in front
    EXPECT_EQ(combo->GetButton()->GetWidth(), look.comboButtonSize);
    EXPECT_EQ(combo->GetButton()->GetHeight(), 20);
    EXPECT_EQ(combo->GetEdit()->GetClrBack(), look.comboFieldBack);
    EXPECT_EQ(combo->GetEdit()->GetClrText(), look.comboFieldText);
    IMenu* menu = combo->GetMenu();
    for (int id = 1; id <= 6; ++id) menu->AddItem(id, ("item" + std::to_string(id)).c_str(), nullptr);
    menu->SelectItem(2);
    combo->SetExpanded(true);
    EXPECT_EQ(root.GetChildAtPoint({310, 45}, true), combo);

    const int step = menu->GetItemAt(1)->GetRect().top - menu->GetItemAt(0)->GetRect().top;
    const int top = menu->GetMarginTop(), height = menu->GetItemHeight();
    const int rows = (50 - top - height) / step + 1;
    ZrRect clip{};
    menu->GetClientDC()->GetClipRect(&clip);
    EXPECT_EQ(clip.bottom - clip.top, top + (rows - 1) * step + height);
    for (int pos : {step / 2 + 1, 1000}) {
        // A bar without images has no thumb to move: the event stands in.
        combo->GetScrollBar()->SetScrollPos(pos);
        ZrWndEventArgs moved(combo->GetScrollBar());
        combo->GetScrollBar()->FireEvent(ZrEventScrollPosChanged, moved);
        const int shownFirst = pos < 1000 ? 1 : 6 - rows;
        ZrRect at{};
        menu->GetWndPosRect(&at);
        EXPECT_EQ(at.top, 22 - shownFirst * step) << pos;
    }
    engine->ClearCalls();
    menu->Invalidate(true);
    const ZrRect& second = menu->GetItemAt(1)->GetRect();
    std::vector<ZrRect> marks;
    for (const auto& c : engine->Calls("FillRect")) {
        if (c.dc == menu->GetClientDC() && c.args[4] == look.currentMark) {
            marks.push_back({int(c.args[0]), int(c.args[1]), int(c.args[2]), int(c.args[3])});
        }
    }
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[0], (ZrRect{second.left, second.top, second.right, second.top + 1}));

    auto* popup = Place<IMenu>();
    popup->AddItem(1, "one", nullptr);
    EXPECT_EQ(popup->GetClrBack(), look.menuBack);
    EXPECT_EQ(look.menuBack >> 24, 0xFFu);  // opaque: nothing underneath shows
}
