#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "zrwnd/Export.h"
#include "zrwnd/Identity.h"
#include "zrwnd/ZrString.h"

// Base of every event argument record. Records live on the firing code's stack.
class ZRWND_API ZrEventArgs {
public:
    ZrEventArgs() = default;
    ZrEventArgs(const ZrEventArgs&) = default;
    ZrEventArgs& operator=(const ZrEventArgs&) = default;
    virtual ~ZrEventArgs() = default;

    // Set by a handler that consumed the event; input stops travelling upward.
    bool handled = false;
    // General values for the firing code. The second carries a timer's or a menu
    // item's identifier; the window core leaves all three at zero.
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t value3 = 0;
};

// The heap object behind a subscriber value. Shared between copies of the value
// and between the lists it is subscribed to; the last reference deletes it.
template <class R, class A>
class TSubscriberSlot {
public:
    enum Kind { kMemberFunction = 1, kFunctor = 2 };

    virtual void* QueryInterface(const char id[16], unsigned long version) {
        return ZrInterfaceIdEquals(id, IID_IUnknowEx2) || ZrInterfaceIdEquals(id, IID_IUnknowEx)
                   ? (version == ZRWND_VERSION ? this : nullptr)
                   : nullptr;
    }
    // Drops one reference; the last one destroys the slot.
    virtual void Release() {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) Destroy();
    }
    virtual void Destroy() { delete this; }
    virtual R Invoke(A args) = 0;
    virtual int GetKind() const = 0;
    virtual bool Equals(const TSubscriberSlot* other) const = 0;
    // The object a member-function slot calls, or the one a callable was
    // given for; null for other callables.
    virtual const void* GetTarget() const { return nullptr; }

    void AddRef() { refs_.fetch_add(1, std::memory_order_relaxed); }

protected:
    TSubscriberSlot() = default;
    virtual ~TSubscriberSlot() = default;

private:
    // Atomic: a subscriber value may be copied on one thread while an event
    // holding the same slot fires on another.
    std::atomic<int> refs_{1};
};

// Calls a member function of a target object. Equal to another slot of the same
// kind with the same function (including its this-adjustment) and target.
template <class R, class A, class T>
class TMemberSlot final : public TSubscriberSlot<R, A> {
public:
    using Method = R (T::*)(A);

    TMemberSlot(T* target, Method method) : target_(target), method_(method) {}

    R Invoke(A args) override { return (target_->*method_)(std::forward<A>(args)); }
    int GetKind() const override { return TSubscriberSlot<R, A>::kMemberFunction; }
    const void* GetTarget() const override { return target_; }
    bool Equals(const TSubscriberSlot<R, A>* other) const override {
        if (!other || other->GetKind() != GetKind()) return false;
        const auto* same = dynamic_cast<const TMemberSlot*>(other);
        // A member pointer's bytes are its function and this-adjustment.
        return same && same->target_ == target_ &&
               std::memcmp(&same->method_, &method_, sizeof method_) == 0;
    }

private:
    T* target_;
    Method method_;
};

// Calls any callable; equal only to itself (its copies). It may name the
// object it works on, as a member-function slot names its target.
template <class R, class A>
class TFunctorSlot final : public TSubscriberSlot<R, A> {
public:
    explicit TFunctorSlot(std::function<R(A)> fn, const void* target = nullptr) : fn_(std::move(fn)), target_(target) {}

    R Invoke(A args) override { return fn_(std::forward<A>(args)); }
    int GetKind() const override { return TSubscriberSlot<R, A>::kFunctor; }
    bool Equals(const TSubscriberSlot<R, A>* other) const override { return other == this; }
    const void* GetTarget() const override { return target_; }

private:
    std::function<R(A)> fn_;
    const void* target_;
};

// A subscriber value: a shared handle on a slot. Copies compare equal.
template <class R, class A>
class TSubscriber {
public:
    using Slot = TSubscriberSlot<R, A>;

    TSubscriber() = default;
    template <class T>
    TSubscriber(T* target, R (T::*method)(A)) : slot_(target && method ? new TMemberSlot<R, A, T>(target, method) : nullptr) {}
    template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F&, A> && !std::is_same_v<std::decay_t<F>, TSubscriber>>>
    TSubscriber(F fn) : slot_(new TFunctorSlot<R, A>(std::function<R(A)>(std::move(fn)))) {}  // NOLINT
    // A callable that works on `target` (a window it captured): a timer set
    // with it stops when that window is deleted, as one whose callback is a
    // member function of the window does.
    template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F&, A>>>
    TSubscriber(const void* target, F fn) : slot_(new TFunctorSlot<R, A>(std::function<R(A)>(std::move(fn)), target)) {}
    TSubscriber(const TSubscriber& other) : slot_(other.slot_) {
        if (slot_) slot_->AddRef();
    }
    TSubscriber(TSubscriber&& other) noexcept : slot_(std::exchange(other.slot_, nullptr)) {}
    TSubscriber& operator=(TSubscriber other) noexcept {
        std::swap(slot_, other.slot_);
        return *this;
    }
    ~TSubscriber() {
        if (slot_) slot_->Release();
    }

    bool IsValid() const { return slot_ != nullptr; }
    R operator()(A args) const { return slot_->Invoke(std::forward<A>(args)); }
    bool operator==(const TSubscriber& other) const {
        return slot_ == other.slot_ || (slot_ && other.slot_ && slot_->Equals(other.slot_));
    }
    bool operator!=(const TSubscriber& other) const { return !(*this == other); }

    Slot* GetSlot() const { return slot_; }

private:
    Slot* slot_ = nullptr;
};

using ZrSubscriber = TSubscriber<bool, const ZrEventArgs&>;

namespace zrwnd::detail {
class EventAccess;
class EventShape;
class SubscriberList;
struct EventSubscriptions {
    const void* atom;
    SubscriberList* list;
};
}  // namespace zrwnd::detail

// A set of named events, each with its subscribers, and a muted flag. Declared
// names are interned once per process and shared between all sets that declare
// the same events, so a set costs no heap until something subscribes.
class ZRWND_API ZrEventSet {
public:
    ZrEventSet() = default;
    ZrEventSet(const ZrEventSet&) = delete;
    ZrEventSet& operator=(const ZrEventSet&) = delete;
    virtual ~ZrEventSet();

    virtual bool IsEventPresent(const ZrString& name);
    virtual bool AddEvent(const ZrString& name);  // false when already declared
    virtual bool RemoveEvent(const ZrString& name);
    virtual void RemoveAllEvents();
    virtual bool IsMuted();
    virtual void SetMutedState(bool muted);
    // False for an undeclared event or an empty subscriber.
    virtual bool SubscribeEvent(const ZrString& name, ZrSubscriber subscriber);
    // Removes the first equal subscription; false when there is none.
    virtual bool UnSubscribeEvent(const ZrString& name, ZrSubscriber subscriber);
    // Calls the event's subscribers in subscription order unless muted. A
    // subscriber may unsubscribe, subscribe or delete the set while it runs.
    // Most events of most windows have no subscriber: that answer costs a
    // couple of loads, seen where the event is fired.
    virtual void FireEvent(const ZrString& name, ZrEventArgs& args) {
        if (!lengthMask_) return;
        FireSubscribed(name, args);
    }

protected:
    // Declares what `model` declared, in its order, on a set that has declared
    // nothing yet: for a class whose every object declares the same events,
    // at the cost of one store instead of a lookup per name.
    void _DeclareLike(const ZrEventSet& model);
    // Whether firing could call anyone: some event has a subscriber and the
    // set is not muted.
    bool _AnyoneListens() const { return lengthMask_ != 0; }
    // Whether firing `name` could call anyone: some subscribed event has a
    // name of its length (and the set is not muted). A window with a click
    // subscriber need not look its render events up.
    bool _MayListenTo(const ZrString& name) const { return _MayListenToLength(static_cast<unsigned>(name.GetLength())); }
    bool _MayListenToLength(unsigned length) const { return (lengthMask_ >> (length & 31u)) & 1u; }

private:
    zrwnd::detail::SubscriberList* FindList(const ZrString& name, int length) const;
    void FireSubscribed(const ZrString& name, ZrEventArgs& args);
    void UpdateLengthMask();

    const zrwnd::detail::EventShape* shape_ = nullptr;
    std::vector<zrwnd::detail::EventSubscriptions> subscriptions_;
    // One bit per name length (modulo 32) among the events that have
    // subscribers, and none while muted: firing an event nobody would hear
    // costs one test.
    std::uint32_t lengthMask_ = 0;
    bool muted_ = false;
    // Sizing hints of the set's tables (initial bucket count and growth step).
    [[maybe_unused]] std::uint8_t bucketHint_ = 17;
    [[maybe_unused]] std::uint8_t growthHint_ = 10;
};

// One event with its own subscribers.
class ZRWND_API ZrEvent {
public:
    ZrEvent();
    ZrEvent(const ZrEvent&) = delete;
    ZrEvent& operator=(const ZrEvent&) = delete;
    ~ZrEvent();

    bool Subscribe(ZrSubscriber subscriber);
    bool UnSubscribe(ZrSubscriber subscriber);
    void UnSubscribeAll();
    void operator()(ZrEventArgs& args);

private:
    friend class zrwnd::detail::EventAccess;
    zrwnd::detail::SubscriberList* list_;
};
