#include "assist/EventAccess.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "zrwnd/EventArgs.h"
#include "zrwnd/ZrEvent.h"

namespace {

struct Listener {
    std::vector<std::string>* log;
    std::string label;
    bool OnEvent(const ZrEventArgs&) {
        log->push_back(label);
        return true;
    }
    bool Other(const ZrEventArgs&) {
        log->push_back(label + "-other");
        return true;
    }
};

TEST(ZrEventSet, UnsubscribesTheEqualSubscriptionOnly) {
    ZrEventSet set;
    set.AddEvent("e");
    std::vector<std::string> log;
    Listener a{&log, "a"}, b{&log, "b"};
    set.SubscribeEvent("e", ZrSubscriber(&a, &Listener::OnEvent));
    set.SubscribeEvent("e", ZrSubscriber(&b, &Listener::OnEvent));
    set.SubscribeEvent("e", ZrSubscriber(&a, &Listener::Other));

    // A separately made subscriber with the same target and function is equal.
    EXPECT_TRUE(ZrSubscriber(&a, &Listener::OnEvent) == ZrSubscriber(&a, &Listener::OnEvent));
    EXPECT_FALSE(ZrSubscriber(&a, &Listener::OnEvent) == ZrSubscriber(&b, &Listener::OnEvent));
    EXPECT_FALSE(ZrSubscriber(&a, &Listener::OnEvent) == ZrSubscriber(&a, &Listener::Other));
    EXPECT_FALSE(set.UnSubscribeEvent("other", ZrSubscriber(&a, &Listener::OnEvent)));
    EXPECT_TRUE(set.UnSubscribeEvent("e", ZrSubscriber(&a, &Listener::OnEvent)));
    EXPECT_FALSE(set.UnSubscribeEvent("e", ZrSubscriber(&a, &Listener::OnEvent)));

    ZrEventArgs args;
    set.FireEvent("e", args);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a-other"}));

    // A functor subscriber is equal only to its own copies.
    std::function<bool(const ZrEventArgs&)> fn = [](const ZrEventArgs&) { return true; };
    ZrSubscriber f1(fn), f2(fn);
    ZrSubscriber f1copy = f1;
    EXPECT_TRUE(f1 == f1copy);
    EXPECT_FALSE(f1 == f2);
}

}  // namespace
