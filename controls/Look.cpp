#include "zrwnd/controls/Look.h"

namespace {

zrwnd::Look& Current() {
    static zrwnd::Look look;
    return look;
}

}  // namespace

const zrwnd::Look& zrwnd::GetLook() { return Current(); }

void zrwnd::SetLook(const Look& look) { Current() = look; }

zrwnd::Look zrwnd::ReadableLook() {
    Look look;
    look.buttonText = 0xFFF2F4FA;
    look.buttonOutline = 0xFF000000;
    look.menuBack = 0xFF182030;
    look.menuText = 0xFFE0E6F5;
    look.menuSelection = 0xFF3F5F9F;
    look.comboFieldBack = 0xFF141A2A;
    look.comboFieldText = 0xFFE0E6F5;
    look.comboItemText = 0xFFE0E6F5;
    look.comboButtonSize = 16;
    look.wholeRows = true;
    look.currentMark = 0xFF8FA8D8;
    look.listInFront = true;
    // The stock message box is a light page: dark text without an outline.
    look.messageText = 0xFF202838;
    look.messageOutline = 0x00000000;
    return look;
}
