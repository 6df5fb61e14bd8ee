#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

// A host factory for its own window class.
class TestFactory : public IWndFactory {
public:
    TestFactory(const char* type, int* deletions = nullptr) : IWndFactory(type), deletions_(deletions) {}
    ~TestFactory() override {
        if (deletions_) ++*deletions_;
    }
    IWnd* CreateWnd(ZrString name) override { return new TestWnd(name); }

private:
    int* deletions_;
};

using WndTypeRegistryTest = DriverTest;

TEST_F(WndTypeRegistryTest, FactoriesMakeDistinctWindowsAndDeleteOnlyTheirOwnType) {
    TestFactory panels("Panel");
    IWndFactory plain("Plain");
    EXPECT_EQ(plain.CreateWnd("x"), nullptr);

    IWnd* a = panels.CreateWnd("a");
    IWnd* b = panels.CreateWnd("a");
    EXPECT_NE(a, b);
    a->SetType("Panel");
    b->SetType("Other");
    EXPECT_TRUE(panels.DestroyWnd(a));
    EXPECT_FALSE(panels.DestroyWnd(b));
    EXPECT_FALSE(panels.DestroyWnd(nullptr));
    EXPECT_STREQ(b->GetType(), "Other");  // still alive
    b->Release();
}

}  // namespace
