#pragma once

#include <type_traits>
#include <utility>

#include "zrwnd/EventArgs.h"
#include "zrwnd/Export.h"
#include "zrwnd/ZrEvent.h"

// Handlers that take the record their event carries, writable, so that a
// handler reads a mouse position or marks a key handled without a cast:
//
//   zrwnd::Subscribe(button, ZrEventClicked, [&](ZrWndEventArgs& e) { ... });
//   zrwnd::Subscribe(wnd, zrwnd::events::MouseDown, [&](ZrMouseEventArgs& e) {
//       e.handled = true;  // the press goes no further up the tree
//   });
//
// A handler may answer bool or nothing. Subscribing a handler whose record the
// event does not carry (a ZrKeyEventArgs handler on "IWnd_EventMouseDown")
// answers an invalid subscriber and subscribes nothing. For events the library
// does not declare itself the record is checked when the event fires: a record
// of another kind is not handed to the handler. Keep the subscriber answered
// to unsubscribe it with UnSubscribeEvent.
namespace zrwnd {

// The records the library's events carry.
enum class RecordKind { Unknown, Window, Mouse, Key, IME, Active };

// The record an event of the window core or of a control carries; Unknown
// for a name nobody declared.
ZRWND_API RecordKind RecordKindOf(const ZrString& name);
// A control declares the record each of its own events carries, once, before
// anyone subscribes to them (the stock controls do when the first one is
// made), so that Subscribe checks a handler's record as it is subscribed.
// Declaring a name again replaces its kind.
ZRWND_API void DeclareRecordKind(const ZrString& name, RecordKind kind);

namespace detail {

template <class F>
struct HandlerTraits : HandlerTraits<decltype(&F::operator())> {};
template <class C, class Ret, class A>
struct HandlerTraits<Ret (C::*)(A) const> {
    using Record = std::remove_reference_t<A>;
};
template <class C, class Ret, class A>
struct HandlerTraits<Ret (C::*)(A)> {
    using Record = std::remove_reference_t<A>;
};
template <class Ret, class A>
struct HandlerTraits<Ret (*)(A)> {
    using Record = std::remove_reference_t<A>;
};

template <class Record>
bool Carries(RecordKind kind) {
    switch (kind) {
    case RecordKind::Unknown:
        return true;
    case RecordKind::Window:
        return std::is_base_of_v<Record, ZrWndEventArgs>;
    case RecordKind::Mouse:
        return std::is_base_of_v<Record, ZrMouseEventArgs>;
    case RecordKind::Key:
        return std::is_base_of_v<Record, ZrKeyEventArgs>;
    case RecordKind::IME:
        return std::is_base_of_v<Record, ZrIMEEventArgs>;
    case RecordKind::Active:
        return std::is_base_of_v<Record, ZrActiveEventArgs>;
    }
    return false;
}

}  // namespace detail

template <class F>
ZrSubscriber Subscribe(ZrEventSet* set, const ZrString& name, F handler) {
    using Record = typename detail::HandlerTraits<std::decay_t<F>>::Record;
    static_assert(std::is_base_of_v<ZrEventArgs, Record> && !std::is_const_v<Record>,
                  "a handler takes a writable event record, such as ZrMouseEventArgs&");
    if (!set || !detail::Carries<Record>(RecordKindOf(name))) return ZrSubscriber();
    ZrSubscriber subscriber([fn = std::move(handler)](const ZrEventArgs& args) mutable {
        // The record belongs to the firing code, which hands it on as const
        // only because subscribers share one signature.
        auto* record = dynamic_cast<Record*>(const_cast<ZrEventArgs*>(&args));
        if (!record) return false;
        if constexpr (std::is_void_v<decltype(fn(*record))>) {
            fn(*record);
            return true;
        } else {
            return static_cast<bool>(fn(*record));
        }
    });
    return set->SubscribeEvent(name, subscriber) ? subscriber : ZrSubscriber();
}

// The same with a member function: bool Game::OnPress(ZrMouseEventArgs&).
template <class T, class Ret, class Record>
ZrSubscriber Subscribe(ZrEventSet* set, const ZrString& name, T* target, Ret (T::*method)(Record&)) {
    if (!target || !method) return ZrSubscriber();
    return Subscribe(set, name, [target, method](Record& args) { return (target->*method)(args); });
}

}  // namespace zrwnd
