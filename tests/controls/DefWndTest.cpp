#include "support/EventRecorder.h"

namespace {


using DefWndTest = zrtest::RootedTest;

TEST_F(DefWndTest, TheFaceSizesTheWindowAndAnOwnedImageIsReused) {
    DefWnd wnd;
    ZrRect place{40, 50, 60, 60};
    wnd.Create(place, &root, ZRWS_VISIBLE);
    EXPECT_FALSE(wnd.LoadImage(nullptr, 0));
    EXPECT_FALSE(wnd.SetImage(nullptr));
    ASSERT_TRUE(wnd.LoadImage("face300x200.png", 0));
    ZrRect r;
    wnd.GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{40, 50, 340, 250}));
    ASSERT_TRUE(wnd.LoadImage("face300x200.png", 0));
    EXPECT_EQ(engine->Count("CreateImage"), 1);
    EXPECT_EQ(engine->Count("Image.Release"), 0);

    // It draws the whole image at its client origin, and never its text.
    wnd.SetWndText("not drawn");
    engine->ClearCalls();
    wnd.Invalidate(true);
    auto draws = engine->Calls("Image.Draw");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args, (std::vector<long long>{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(engine->Count("DrawText"), 0);

    // An attached image stays its owner's; loading after it makes a new one.
    IZrImage* mine = engine->CreateImage();
    mine->Load("strip100x20.png", 0);
    EXPECT_TRUE(wnd.SetImage(mine));
    EXPECT_EQ(engine->Count("Image.Release"), 1);  // the owned one went
    wnd.GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{40, 50, 140, 70}));
    engine->ClearCalls();
    // A failed load keeps the window's size and draws nothing.
    EXPECT_FALSE(wnd.LoadImage("missing.png", 0));
    EXPECT_EQ(engine->Count("CreateImage"), 1);
    wnd.GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{40, 50, 140, 70}));
    wnd.Invalidate(true);
    EXPECT_EQ(engine->Count("Image.Draw"), 0);
    EXPECT_TRUE(mine->IsLoaded());
    mine->Release();
}

}  // namespace
