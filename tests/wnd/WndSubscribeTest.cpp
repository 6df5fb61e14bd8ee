#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using zrtest::Point;

struct Game {
    int keys = 0;
    bool OnKey(ZrKeyEventArgs& args) {
        ++keys;
        args.handled = true;
        return true;
    }
};

class WndSubscribe : public DriverTest {};

// A handler takes the record its event carries and marks it handled without a
// cast; a handler for the wrong record is refused, or, for an event the library
// does not declare, never called with a record it cannot take.
TEST_F(WndSubscribe, HandlersTakeTheirOwnRecord) {
    TestWnd root("R");
    ZrRect all{0, 0, 200, 200};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    TestWnd child("C");
    ZrRect part{10, 10, 60, 60};
    child.Create(part, &root, ZRWS_VISIBLE);
    driver()->SetRootWnd(&root);

    ZrPoint movedTo{};
    int rootMoves = 0;
    const ZrSubscriber move = zrwnd::Subscribe(&child, ZrWndEvents::MouseMove, [&](ZrMouseEventArgs& e) {
        movedTo = {e.x, e.y};
        e.handled = true;
    });
    ASSERT_TRUE(move.IsValid());
    zrwnd::Subscribe(&root, ZrWndEvents::MouseMove, [&](ZrMouseEventArgs&) { ++rootMoves; });
    driver()->HandleMessage(WM_MOUSEMOVE, 0, Point(20, 30));
    EXPECT_EQ(movedTo.x, 20);
    EXPECT_EQ(movedTo.y, 30);
    EXPECT_EQ(rootMoves, 0);  // handled: it went no further up

    // Unsubscribed through the value it answered, the move reaches the root.
    EXPECT_TRUE(child.UnSubscribeEvent(ZrWndEvents::MouseMove, move));
    driver()->HandleMessage(WM_MOUSEMOVE, 0, Point(21, 30));
    EXPECT_EQ(rootMoves, 1);

    // A member function, and a handler taking a base of the record.
    Game game;
    EXPECT_TRUE(zrwnd::Subscribe(&root, ZrWndEvents::KeyDown, &game, &Game::OnKey).IsValid());
    int anyKey = 0;
    EXPECT_TRUE(zrwnd::Subscribe(&root, ZrWndEvents::KeyDown, [&](ZrWndEventArgs&) { ++anyKey; }).IsValid());
    root.SetActive(true, true);
    driver()->HandleMessage(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(game.keys, 1);
    EXPECT_EQ(anyKey, 1);

    // The wrong record is refused; nothing is subscribed.
    bool wrong = false;
    EXPECT_FALSE(zrwnd::Subscribe(&child, ZrWndEvents::MouseDown, [&](ZrKeyEventArgs&) { wrong = true; }).IsValid());
    EXPECT_FALSE(zrwnd::Subscribe(&root, ZrWndEvents::SizeChanged, [&](ZrMouseEventArgs&) { wrong = true; }).IsValid());
    EXPECT_FALSE(zrwnd::Subscribe(nullptr, ZrWndEvents::SizeChanged, [&](ZrWndEventArgs&) {}).IsValid());
    driver()->HandleMessage(WM_LBUTTONDOWN, 0, Point(20, 30));
    driver()->HandleMessage(WM_LBUTTONUP, 0, Point(20, 30));
    EXPECT_FALSE(wrong);

    // An event of the host's own: checked when it fires.
    const ZrString custom("Game_EventScored");
    root.AddEvent(custom);
    int scored = 0;
    EXPECT_TRUE(zrwnd::Subscribe(&root, custom, [&](ZrMouseEventArgs&) { ++scored; }).IsValid());
    ZrWndEventArgs plain(&root);
    root.FireEvent(custom, plain);
    EXPECT_EQ(scored, 0);
    ZrMouseEventArgs mouse;
    root.FireEvent(custom, mouse);
    EXPECT_EQ(scored, 1);

    EXPECT_EQ(zrwnd::RecordKindOf(ZrEventClicked), zrwnd::RecordKind::Window);
    EXPECT_EQ(zrwnd::RecordKindOf(ZrWndEvents::Activated), zrwnd::RecordKind::Active);
    EXPECT_EQ(zrwnd::RecordKindOf(custom), zrwnd::RecordKind::Unknown);
    driver()->SetRootWnd(nullptr);
}

}  // namespace
