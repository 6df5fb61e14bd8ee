#pragma once

#include <cstddef>

#include "zrwnd/ZrEvent.h"

namespace zrwnd::detail {

// What the library's own services read of an event beyond its published
// operations.
class EventAccess {
public:
    static int SubscriberCount(const ZrEvent& event);
    // Whether an equal subscriber is subscribed.
    static bool IsSubscribed(const ZrEvent& event, const ZrSubscriber& subscriber);
    // Whether a subscriber calls a member function of an object inside
    // [object, object + size).
    static bool CallsInto(const ZrEvent& event, const void* object, std::size_t size);
};

}  // namespace zrwnd::detail
