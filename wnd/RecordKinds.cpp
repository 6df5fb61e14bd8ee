#include <mutex>
#include <utility>
#include <vector>

#include "zrwnd/Subscribe.h"

namespace zrwnd {
namespace {

// The events controls declared above the window core, with their records.
struct DeclaredKinds {
    std::mutex mutex;
    std::vector<std::pair<ZrString, RecordKind>> kinds;
};

DeclaredKinds& Declared() {
    static DeclaredKinds declared;
    return declared;
}

}  // namespace

void DeclareRecordKind(const ZrString& name, RecordKind kind) {
    DeclaredKinds& declared = Declared();
    std::lock_guard<std::mutex> lock(declared.mutex);
    for (auto& entry : declared.kinds) {
        if (entry.first == name) {
            entry.second = kind;
            return;
        }
    }
    declared.kinds.emplace_back(name, kind);
}

RecordKind RecordKindOf(const ZrString& name) {
    namespace e = zrwnd::events;
    const ZrString* mouse[] = {&e::MouseMove, &e::MouseWheel, &e::MouseEnter, &e::MouseLeave,
                               &e::MouseDown, &e::MouseUp,    &e::MouseDBClick};
    for (const ZrString* n : mouse) {
        if (*n == name) return RecordKind::Mouse;
    }
    if (name == e::KeyUp || name == e::KeyDown || name == e::Char) return RecordKind::Key;
    if (name == e::IMEChanged) return RecordKind::IME;
    if (name == e::Activated || name == e::Deactivated) return RecordKind::Active;
    for (const ZrString* n : e::All) {
        if (*n == name) return RecordKind::Window;
    }
    DeclaredKinds& declared = Declared();
    std::lock_guard<std::mutex> lock(declared.mutex);
    for (const auto& entry : declared.kinds) {
        if (entry.first == name) return entry.second;
    }
    return RecordKind::Unknown;
}

}  // namespace zrwnd
