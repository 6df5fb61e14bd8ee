#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "assist/EventAccess.h"
#include "zrwnd/ZrEvent.h"

namespace zrwnd::detail {
namespace {

// An interned event name. Atoms live for the whole process.
struct Atom {
    std::string name;
};

std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Equal bytes. Event names are a couple of dozen bytes, where a call to
// memcmp costs more than the compare: eight bytes at a time, the last eight
// overlapping what was compared before.
[[gnu::always_inline]] inline bool SameBytes(const char* a, const char* b, size_t size) {
    if (size < 8) return std::memcmp(a, b, size) == 0;
    for (size_t i = 0; i + 8 < size; i += 8) {
        if (Load8(a + i) != Load8(b + i)) return false;
    }
    return Load8(a + size - 8) == Load8(b + size - 8);
}

bool AtomIs(const Atom* atom, const ZrString& name) {
    const int length = name.GetLength();
    return static_cast<int>(atom->name.size()) == length &&
           std::memcmp(atom->name.data(), name.c_str(), static_cast<size_t>(length)) == 0;
}

}  // namespace

// The ordered list of names a set has declared. Shapes are interned: every set
// that declared the same names in the same order shares one, and the step to the
// shape with one more name is cached, so declaring costs no allocation per set.
class EventShape {
public:
    const Atom* Find(const ZrString& name) const {
        for (const Atom* atom : names_) {
            if (AtomIs(atom, name)) return atom;
        }
        return nullptr;
    }
    const std::vector<const Atom*>& Names() const { return names_; }

    static const EventShape* Empty();
    static const EventShape* With(const EventShape* from, const ZrString& name);
    static const EventShape* Without(const EventShape* from, const Atom* atom);

private:
    std::vector<const Atom*> names_;
    // The shapes one more name leads to. Few per shape, so a scan that compares
    // bytes beats hashing a freshly made key.
    mutable std::vector<std::pair<const Atom*, const EventShape*>> next_;
};

namespace {

struct Interner {
    std::mutex mutex;
    std::unordered_map<std::string, std::unique_ptr<Atom>> atoms;
    std::vector<std::unique_ptr<EventShape>> shapes;
};

// Deliberately never destroyed: sets may outlive static destruction order.
Interner& TheInterner() {
    static Interner* interner = new Interner;
    return *interner;
}

const Atom* InternLocked(Interner& in, const ZrString& name) {
    std::string key(name.c_str(), static_cast<size_t>(name.GetLength()));
    auto it = in.atoms.find(key);
    if (it == in.atoms.end()) {
        auto atom = std::make_unique<Atom>();
        atom->name = key;
        it = in.atoms.emplace(std::move(key), std::move(atom)).first;
    }
    return it->second.get();
}

}  // namespace

const EventShape* EventShape::Empty() {
    Interner& in = TheInterner();
    std::lock_guard<std::mutex> lock(in.mutex);
    if (in.shapes.empty()) in.shapes.push_back(std::make_unique<EventShape>());
    return in.shapes.front().get();
}

const EventShape* EventShape::With(const EventShape* from, const ZrString& name) {
    Interner& in = TheInterner();
    std::lock_guard<std::mutex> lock(in.mutex);
    for (const auto& step : from->next_) {
        if (AtomIs(step.first, name)) return step.second;
    }
    const Atom* atom = InternLocked(in, name);
    auto shape = std::make_unique<EventShape>();
    shape->names_ = from->names_;
    shape->names_.push_back(atom);
    const EventShape* made = shape.get();
    in.shapes.push_back(std::move(shape));
    from->next_.emplace_back(atom, made);
    return made;
}

const EventShape* EventShape::Without(const EventShape* from, const Atom* atom) {
    const EventShape* shape = Empty();
    for (const Atom* kept : from->names_) {
        if (kept != atom) shape = With(shape, ZrString(kept->name.c_str()));
    }
    return shape;
}

// The subscribers of one event. A firing finishes safely when a subscriber
// removes the event or deletes the whole set: a list its owner let go of while
// it fires is deleted when the outermost firing ends.
class SubscriberList {
public:
    using Slot = ZrSubscriber::Slot;

    void Add(const ZrSubscriber& subscriber) {
        Slot* slot = subscriber.GetSlot();
        slot->AddRef();
        slots_.push_back(slot);
        ++live_;
    }

    bool Contains(const ZrSubscriber& subscriber) const {
        const Slot* wanted = subscriber.GetSlot();
        for (const Slot* slot : slots_) {
            if (slot && (slot == wanted || slot->Equals(wanted))) return true;
        }
        return false;
    }

    bool CallsInto(const void* object, size_t size) const {
        const auto* begin = static_cast<const char*>(object);
        for (const Slot* slot : slots_) {
            const auto* target = slot ? static_cast<const char*>(slot->GetTarget()) : nullptr;
            if (target && target >= begin && target < begin + size) return true;
        }
        return false;
    }

    bool Remove(const ZrSubscriber& subscriber) {
        const Slot* wanted = subscriber.GetSlot();
        for (Slot*& slot : slots_) {
            if (slot && (slot == wanted || slot->Equals(wanted))) {
                Slot* gone = slot;
                slot = nullptr;
                --live_;
                Bury(gone);
                Compact();
                return true;
            }
        }
        return false;
    }

    void Clear() {
        for (Slot*& slot : slots_) {
            if (slot) {
                Slot* gone = slot;
                slot = nullptr;
                Bury(gone);
            }
        }
        live_ = 0;
        Compact();
    }

    // The owner lets go of the list; a firing in progress stops calling.
    void Detach() {
        detached_ = true;
        untidy_ = true;
        Clear();
        if (firing_ == 0) delete this;
    }

    int LiveCount() const { return live_; }

    void Fire(const ZrEventArgs& args) {
        ++firing_;
        // Subscribers added while firing wait for the next firing.
        const size_t count = slots_.size();
        for (size_t i = 0; i < count && !detached_; ++i) {
            if (Slot* slot = slots_[i]) slot->Invoke(args);
        }
        if (--firing_ != 0) return;
        // Nothing removed, nothing buried, nothing let go of: the usual end
        // of a firing costs one test.
        if (untidy_) Tidy();
    }

private:
    ~SubscriberList() = default;

    // A slot removed while the list fires may be the one running: it is released
    // only when no firing runs any more.
    void Bury(Slot* slot) {
        if (firing_ == 0) {
            slot->Release();
        } else {
            buried_.push_back(slot);
            untidy_ = true;
        }
    }

    // After the outermost firing, when a subscriber removed slots or the
    // owner let the list go while it fired.
    [[gnu::noinline]] void Tidy() {
        untidy_ = false;
        Compact();
        if (detached_) delete this;
    }

    // Removals during a firing leave holes; they are closed once no firing runs.
    void Compact() {
        if (firing_ != 0) return;
        if (static_cast<size_t>(live_) != slots_.size()) {
            slots_.erase(std::remove(slots_.begin(), slots_.end(), nullptr), slots_.end());
        }
        if (buried_.empty()) return;
        std::vector<Slot*> buried;
        buried.swap(buried_);
        for (Slot* slot : buried) slot->Release();
    }

    std::vector<Slot*> slots_;
    std::vector<Slot*> buried_;
    int firing_ = 0;
    int live_ = 0;
    bool detached_ = false;
    // Something for the end of the outermost firing to do.
    bool untidy_ = false;
};

}  // namespace zrwnd::detail

using zrwnd::detail::EventShape;
using zrwnd::detail::SubscriberList;

ZrEventSet::~ZrEventSet() { RemoveAllEvents(); }

bool ZrEventSet::IsEventPresent(const ZrString& name) { return shape_ && shape_->Find(name); }

bool ZrEventSet::AddEvent(const ZrString& name) {
    if (!shape_) shape_ = EventShape::Empty();
    if (shape_->Find(name)) return false;
    shape_ = EventShape::With(shape_, name);
    return true;
}

void ZrEventSet::_DeclareLike(const ZrEventSet& model) {
    if (!shape_ || shape_ == EventShape::Empty()) shape_ = model.shape_;
}

bool ZrEventSet::RemoveEvent(const ZrString& name) {
    const auto* atom = shape_ ? shape_->Find(name) : nullptr;
    if (!atom) return false;
    for (auto it = subscriptions_.begin(); it != subscriptions_.end(); ++it) {
        if (it->atom == atom) {
            SubscriberList* list = it->list;
            subscriptions_.erase(it);
            UpdateLengthMask();
            list->Detach();
            break;
        }
    }
    shape_ = EventShape::Without(shape_, atom);
    return true;
}

void ZrEventSet::RemoveAllEvents() {
    // Detach from a moved-out vector: a subscriber cannot reach a half-cleared one.
    std::vector<zrwnd::detail::EventSubscriptions> gone;
    gone.swap(subscriptions_);
    shape_ = nullptr;
    lengthMask_ = 0;
    for (auto& entry : gone) entry.list->Detach();
}

bool ZrEventSet::IsMuted() { return muted_; }

void ZrEventSet::SetMutedState(bool muted) {
    muted_ = muted;
    UpdateLengthMask();
}

namespace {

std::uint32_t LengthBit(size_t length) { return 1u << (length & 31u); }

}  // namespace

void ZrEventSet::UpdateLengthMask() {
    lengthMask_ = 0;
    if (muted_) return;
    for (const auto& entry : subscriptions_) {
        lengthMask_ |= LengthBit(static_cast<const zrwnd::detail::Atom*>(entry.atom)->name.size());
    }
}

[[gnu::always_inline]] inline SubscriberList* ZrEventSet::FindList(const ZrString& name, int length) const {
    const char* text = name.c_str();
    const auto size = static_cast<size_t>(length);
    for (const auto& entry : subscriptions_) {
        const auto* atom = static_cast<const zrwnd::detail::Atom*>(entry.atom);
        if (atom->name.size() == size && zrwnd::detail::SameBytes(atom->name.data(), text, size)) {
            return entry.list;
        }
    }
    return nullptr;
}

bool ZrEventSet::SubscribeEvent(const ZrString& name, ZrSubscriber subscriber) {
    if (!subscriber.IsValid()) return false;
    const auto* atom = shape_ ? shape_->Find(name) : nullptr;
    if (!atom) return false;
    SubscriberList* list = FindList(name, name.GetLength());
    if (!list) {
        list = new SubscriberList;
        subscriptions_.push_back({atom, list});
        if (!muted_) lengthMask_ |= LengthBit(atom->name.size());
    }
    list->Add(subscriber);
    return true;
}

bool ZrEventSet::UnSubscribeEvent(const ZrString& name, ZrSubscriber subscriber) {
    if (!subscriber.IsValid()) return false;
    SubscriberList* list = FindList(name, name.GetLength());
    if (!list || !list->Remove(subscriber)) return false;
    if (list->LiveCount() == 0) {
        for (auto it = subscriptions_.begin(); it != subscriptions_.end(); ++it) {
            if (it->list == list) {
                subscriptions_.erase(it);
                break;
            }
        }
        UpdateLengthMask();
        list->Detach();
    }
    return true;
}

[[gnu::noinline]] void ZrEventSet::FireSubscribed(const ZrString& name, ZrEventArgs& args) {
    const int length = name.GetLength();
    if (!(lengthMask_ & LengthBit(static_cast<size_t>(length)))) return;
    if (SubscriberList* list = FindList(name, length)) list->Fire(args);
}

ZrEvent::ZrEvent() : list_(new SubscriberList) {}

ZrEvent::~ZrEvent() { list_->Detach(); }

bool ZrEvent::Subscribe(ZrSubscriber subscriber) {
    if (!subscriber.IsValid()) return false;
    list_->Add(subscriber);
    return true;
}

bool ZrEvent::UnSubscribe(ZrSubscriber subscriber) {
    return subscriber.IsValid() && list_->Remove(subscriber);
}

void ZrEvent::UnSubscribeAll() { list_->Clear(); }

namespace zrwnd::detail {

int EventAccess::SubscriberCount(const ZrEvent& event) { return event.list_->LiveCount(); }

bool EventAccess::CallsInto(const ZrEvent& event, const void* object, size_t size) {
    return event.list_->CallsInto(object, size);
}

bool EventAccess::IsSubscribed(const ZrEvent& event, const ZrSubscriber& subscriber) {
    return subscriber.IsValid() && event.list_->Contains(subscriber);
}

}  // namespace zrwnd::detail

void ZrEvent::operator()(ZrEventArgs& args) { list_->Fire(args); }
