#include "zrwnd/Button.h"
#include "zrwnd/Menu.h"
#include "zrwnd/ScrollBar.h"
#include "zrwnd/Subscribe.h"

namespace zrwnd {

RecordKind RecordKindOf(const ZrString& name) {
    namespace e = ZrWndEvents;
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
    const ZrString* controls[] = {&ZrEventClicked, &ZrEventSelectItem, &ZrEventAddItem, &ZrEventScrollPosChanged,
                                  &ZrEventThumbPosChanged};
    for (const ZrString* n : controls) {
        if (*n == name) return RecordKind::Window;
    }
    return RecordKind::Unknown;
}

}  // namespace zrwnd
