#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

class CountingFactory : public IWndFactory {
public:
    explicit CountingFactory(const char* type, int* deletions) : IWndFactory(type), deletions_(deletions) {}
    IWnd* CreateWnd(ZrString) override { return new TestWnd("", deletions_); }

private:
    int* deletions_;
};

class WndNameRegistryTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        names = driver()->GetWndNameRegistry();
        driver()->GetWndTypeRegistry()->AddFactory(new CountingFactory("Box", &deletions));
    }
    // Registered windows are only destroyed by the registry, never deleted.
    void TearDown() override {
        for (IWnd* w : made) delete w;
        DriverTest::TearDown();
    }
    IWnd* Make(const char* type, const char* name) {
        IWnd* w = names->CreateNamedWnd(type, name);
        if (w) made.push_back(w);
        return w;
    }

    IWndNameRegistry* names = nullptr;
    int deletions = 0;
    std::vector<IWnd*> made;
};

TEST_F(WndNameRegistryTest, DestroyingARegisteredWindowFreesItsNameOnce) {
    IWnd* parent = Make("Box", "parent");
    IWnd* child = Make("Box", "child");
    ZrRect r{0, 0, 10, 10};
    parent->Create(r, nullptr, ZRWS_VISIBLE);
    child->Create(r, parent, ZRWS_VISIBLE);
    recorder.Watch(parent, zrwnd::events::Destory);
    recorder.Watch(child, zrwnd::events::Destory);

    parent->Destroy();
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Destory@parent", "Destory@child"}));
    EXPECT_EQ(names->FindWnd("parent"), nullptr);
    EXPECT_EQ(names->FindWnd("child"), nullptr);
    EXPECT_EQ(deletions, 0);  // destroyed, not deleted
    EXPECT_NE(Make("Box", "parent"), nullptr);
}

TEST_F(WndNameRegistryTest, EntriesFollowTheWindowNotItsCurrentName) {
    IWnd* kept = Make("Box", "kept");
    kept->SetName("renamed");
    EXPECT_EQ(names->FindWnd("kept"), kept);
    EXPECT_TRUE(names->IsWndRegistered(kept));

    // A stranger carrying a registered name is not the registered window.
    TestWnd stranger("kept");
    EXPECT_FALSE(names->IsWndRegistered(&stranger));
    stranger.Destroy();
    EXPECT_EQ(names->FindWnd("kept"), kept);

    // Deleting the renamed window still removes its entry.
    made.clear();
    delete kept;
    EXPECT_FALSE(names->IsNameRegistered("kept"));

    // After Release the registry is never answered again.
    Make("Box", "left");
    names->Release();
    IWndNameRegistry* fresh = driver()->GetWndNameRegistry();
    EXPECT_FALSE(fresh->IsNameRegistered("left"));
}

}  // namespace
