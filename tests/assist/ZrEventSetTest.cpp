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

TEST(ZrEventSet, DeclaresRemovesAndRefusesUndeclaredEvents) {
    ZrEventSet set;
    EXPECT_TRUE(set.AddEvent("a"));
    EXPECT_FALSE(set.AddEvent("a"));
    EXPECT_TRUE(set.AddEvent("b"));
    EXPECT_TRUE(set.IsEventPresent("a"));
    EXPECT_FALSE(set.IsEventPresent("A"));

    std::vector<std::string> log;
    Listener l{&log, "l"};
    EXPECT_FALSE(set.SubscribeEvent("missing", ZrSubscriber(&l, &Listener::OnEvent)));
    EXPECT_FALSE(set.SubscribeEvent("a", ZrSubscriber()));
    EXPECT_TRUE(set.SubscribeEvent("a", ZrSubscriber(&l, &Listener::OnEvent)));

    // Removing an event drops its subscriptions with it.
    EXPECT_TRUE(set.RemoveEvent("a"));
    EXPECT_FALSE(set.RemoveEvent("a"));
    EXPECT_FALSE(set.IsEventPresent("a"));
    EXPECT_TRUE(set.IsEventPresent("b"));
    ZrEventArgs args;
    set.FireEvent("a", args);
    EXPECT_TRUE(set.AddEvent("a"));
    set.FireEvent("a", args);
    EXPECT_TRUE(log.empty());

    set.RemoveAllEvents();
    EXPECT_FALSE(set.IsEventPresent("b"));
}

TEST(ZrEventSet, FiresInSubscriptionOrderUnlessMuted) {
    ZrEventSet set;
    set.AddEvent("e");
    set.AddEvent("f");
    std::vector<std::string> log;
    Listener a{&log, "a"}, b{&log, "b"};
    set.SubscribeEvent("e", ZrSubscriber(&a, &Listener::OnEvent));
    set.SubscribeEvent("e", ZrSubscriber(&b, &Listener::OnEvent));
    set.SubscribeEvent("f", ZrSubscriber(&a, &Listener::Other));
    ZrEventArgs args;
    set.FireEvent("e", args);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));

    set.SetMutedState(true);
    EXPECT_TRUE(set.IsMuted());
    set.FireEvent("e", args);
    set.FireEvent("f", args);
    EXPECT_EQ(log.size(), 2u);
    set.SetMutedState(false);
    set.FireEvent("f", args);
    EXPECT_EQ(log.back(), "a-other");
}

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

TEST(ZrEventSet, SubscribersMayChangeOrDeleteTheSetWhileItFires) {
    auto* set = new ZrEventSet;
    set->AddEvent("e");
    std::vector<std::string> log;
    Listener late{&log, "late"};
    Listener second{&log, "second"};
    ZrSubscriber self;
    self = ZrSubscriber([&](const ZrEventArgs&) {
        log.push_back("first");
        // Removing a later subscriber skips it; adding one waits for the next firing.
        set->UnSubscribeEvent("e", ZrSubscriber(&second, &Listener::OnEvent));
        set->SubscribeEvent("e", ZrSubscriber(&late, &Listener::OnEvent));
        set->UnSubscribeEvent("e", self);
        return true;
    });
    set->SubscribeEvent("e", self);
    set->SubscribeEvent("e", ZrSubscriber(&second, &Listener::OnEvent));
    ZrEventArgs args;
    set->FireEvent("e", args);
    EXPECT_EQ(log, (std::vector<std::string>{"first"}));
    set->FireEvent("e", args);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "late"}));

    // A subscriber removed while the set fires is let go of when the firing
    // ends, and with it what it holds.
    auto held = std::make_shared<int>(0);
    ZrSubscriber once([&, held](const ZrEventArgs&) { return set->UnSubscribeEvent("e", once); });
    set->SubscribeEvent("e", once);
    set->FireEvent("e", args);
    once = ZrSubscriber();
    EXPECT_EQ(held.use_count(), 1);

    // The first subscriber deletes the set: the firing ends without touching it.
    auto* doomed = new ZrEventSet;
    doomed->AddEvent("e");
    doomed->SubscribeEvent("e", ZrSubscriber([&](const ZrEventArgs&) {
        delete doomed;
        log.push_back("deleted");
        return true;
    }));
    doomed->SubscribeEvent("e", ZrSubscriber(&second, &Listener::OnEvent));
    doomed->FireEvent("e", args);
    EXPECT_EQ(log.back(), "deleted");

    // Deleted from a firing nested in another: both firings end cleanly.
    auto* nested = new ZrEventSet;
    nested->AddEvent("e");
    int depth = 0;
    nested->SubscribeEvent("e", ZrSubscriber([&](const ZrEventArgs& a) {
        if (++depth == 1) {
            nested->FireEvent("e", const_cast<ZrEventArgs&>(a));
        } else {
            delete nested;
        }
        log.push_back("depth " + std::to_string(depth));
        return true;
    }));
    nested->FireEvent("e", args);
    EXPECT_EQ(depth, 2);
    EXPECT_EQ(log.back(), "depth 2");
    delete set;
}

TEST(ZrEvent, CallsItsOwnSubscribers) {
    ZrEvent event;
    std::vector<std::string> log;
    Listener a{&log, "a"};
    EXPECT_TRUE(event.Subscribe(ZrSubscriber(&a, &Listener::OnEvent)));
    EXPECT_FALSE(event.Subscribe(ZrSubscriber()));
    ZrEventArgs args;
    event(args);
    EXPECT_EQ(zrassist::EventAccess::SubscriberCount(event), 1);
    EXPECT_TRUE(event.UnSubscribe(ZrSubscriber(&a, &Listener::OnEvent)));
    event.Subscribe(ZrSubscriber(&a, &Listener::Other));
    event.UnSubscribeAll();
    event(args);
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

}  // namespace
