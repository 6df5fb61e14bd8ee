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

TEST_F(WndTypeRegistryTest, KeepsTheFirstFactoryOfATypeAndOwnsOnlyWhatItKeeps) {
    WndTypeRegistry* types = driver()->GetWndTypeRegistry();
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types, driver()->GetWndTypeRegistry());
    EXPECT_EQ(types->QueryInterface(IID_IUnknowEx2.bytes, 0x00010000), static_cast<IUnknownEx2*>(types));

    int deletions = 0;
    auto* first = new TestFactory("Panel", &deletions);
    TestFactory second("Panel");
    EXPECT_TRUE(types->AddFactory(first));
    EXPECT_TRUE(types->AddFactory(&second));
    EXPECT_EQ(types->GetFactory("Panel"), first);
    EXPECT_EQ(types->GetFactory("panel"), nullptr);
    EXPECT_TRUE(types->IsFactoryPresent(&second));

    // Removing hands the factory back undeleted; an absent type still answers true.
    EXPECT_TRUE(types->RemoveFactory("Panel"));
    EXPECT_FALSE(types->IsFactoryPresent("Panel"));
    EXPECT_TRUE(types->RemoveFactory("Nothing"));
    EXPECT_EQ(deletions, 0);

    EXPECT_FALSE(types->AddFactory(nullptr));
    EXPECT_FALSE(types->IsFactoryPresent(static_cast<IWndFactory*>(nullptr)));
    EXPECT_FALSE(types->RemoveFactory(static_cast<IWndFactory*>(nullptr)));

    // Whatever is registered when the registry goes is deleted with it.
    types->AddFactory(first);
    types->Release();
    EXPECT_EQ(deletions, 1);
    EXPECT_NE(driver()->GetWndTypeRegistry(), nullptr);  // a fresh one
}

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
