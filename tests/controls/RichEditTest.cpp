#include <memory>
#include <string>

#include "support/EventRecorder.h"

namespace {


// The recording font: 6 pixels a byte, lines 12 high with 2 between them. A
// rich edit 76 wide with its 16-pixel bar wraps at 10 bytes a line.
class RichEditTest : public zrtest::RootedTest {
public:
    std::unique_ptr<RichEdit> Make(bool expectBar = true) {
        auto box = std::make_unique<RichEdit>();
        ZrRect place{100, 100, 176, 150};
        EXPECT_EQ(box->Create(place, &root, ZRWS_VISIBLE), expectBar);
        return box;
    }
    void TearDown() override {
        // A bar left behind by a failed test would block the next one's name.
        if (IWnd* bar = driver()->GetWndNameRegistry()->FindWnd("RichEditScrollBar")) bar->Release();
        zrtest::RootedTest::TearDown();
    }
};

TEST_F(RichEditTest, TheRangeCountsThePixelsThatDoNotFit) {
    auto box = Make();
    IScrollBar* bar = box->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_STREQ(bar->GetName(), "RichEditScrollBar");
    ZrRect r;
    bar->GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{60, 0, 76, 50}));
    // Five lines: 2 x 4 + 12 x 5 - 50 = 18 pixels do not fit.
    box->SetWndText(std::string(50, 'x').c_str());
    EXPECT_EQ(bar->GetScrollMin(), 0);
    EXPECT_EQ(bar->GetScrollMax(), 18);
    // Shorter text, or none, leaves the range as it was.
    box->SetWndText("short");
    box->SetWndText("");
    EXPECT_EQ(bar->GetScrollMax(), 18);

    // Scrolled to the end, the text is drawn 18 pixels higher.
    box->SetWndText(std::string(50, 'y').c_str());
    bar->SetScrollPos(18);
    engine->ClearCalls();
    box->Invalidate(true);
    auto texts = engine->Calls("DrawText");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].args[1], -18);
    EXPECT_EQ(texts[0].args[2], 60);
    EXPECT_EQ(texts[0].args[5], 9);
}

TEST_F(RichEditTest, AppendingStopsAtTheMaximumLength) {
    // Appending sets the text as SetWndText does, a derived class's included.
    struct Counted : RichEdit {
        bool SetWndText(const char* text) override { return ++sets, RichEdit::SetWndText(text); }
        int sets = 0;
    } counted;
    ZrRect place{0, 0, 76, 50};
    counted.Create(place, nullptr, 0);
    EXPECT_TRUE(counted.AppendText("one"));
    EXPECT_EQ(counted.sets, 1);
    counted.Destroy();
    auto box = Make();
    box->SetWndText(std::string(1020, 'a').c_str());
    EXPECT_FALSE(box->AppendText("0123456789"));
    EXPECT_EQ(box->GetWndText().GetLength(), 1020);
    EXPECT_TRUE(box->AppendText("0123"));
    EXPECT_EQ(box->GetWndText().GetLength(), 1024);
    EXPECT_FALSE(box->AppendText(nullptr));
    EXPECT_TRUE(box->SetWndText(std::string(2000, 'b').c_str()));
    EXPECT_EQ(box->GetWndText().GetLength(), 2000);
    // The rich edit raises neither the text nor the size event.
    int fired = 0;
    box->SubscribeEvent(ZrWndEvents::TextChanged, ZrSubscriber([&](const ZrEventArgs&) { return ++fired, true; }));
    box->SubscribeEvent(ZrWndEvents::SizeChanged, ZrSubscriber([&](const ZrEventArgs&) { return ++fired, true; }));
    box->SetWndText("x");
    box->MoveWnd(0, 0, 90, 60);
    EXPECT_EQ(fired, 0);
}

// Appending measures only what follows the last line break it measured before,
// and comes to the same range as measuring the whole text.
TEST_F(RichEditTest, AppendingMeasuresLikeTheWholeText) {
    auto box = Make();
    box->SetMaxLength(100000);
    std::string whole;
    const char* pieces[] = {"short\n", "a line that wraps over three lines\n", "tail without break ", "more\n", "x"};
    for (int round = 0; round < 3; ++round) {
        for (const char* piece : pieces) {
            ASSERT_TRUE(box->AppendText(piece));
            whole += piece;
        }
    }
    const int appended = box->GetScrollBar()->GetScrollMax();
    auto fresh = std::make_unique<RichEdit>();
    box.reset();
    fresh = Make();
    fresh->SetWndText(whole.c_str());
    EXPECT_EQ(appended, fresh->GetScrollBar()->GetScrollMax());
    EXPECT_GT(appended, 0);
}

// While one rich edit holds the bar's name, a second cannot make its own: it
// shows and takes text without one.
TEST_F(RichEditTest, ASecondRichEditHasNoScrollBar) {
    auto first = Make();
    auto second = Make(false);
    EXPECT_EQ(second->GetScrollBar(), nullptr);
    EXPECT_NE(engine->Log().back().find("RichEditScrollBar"), std::string::npos);
    EXPECT_TRUE(second->AppendText("still works"));
    engine->ClearCalls();
    second->Invalidate(true);
    auto texts = engine->Calls("DrawText");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().args[2], 76);
    // Once the first goes, its bar's name is free again.
    first.reset();
    auto third = Make();
    ASSERT_NE(third->GetScrollBar(), nullptr);
    // A game that deletes the bar leaves a box that goes on without it.
    delete driver()->GetWndNameRegistry()->FindWnd("RichEditScrollBar");
    EXPECT_EQ(third->GetScrollBar(), nullptr);
    third->Invalidate(true);
    EXPECT_TRUE(third->AppendText("after the bar"));
}

}  // namespace
