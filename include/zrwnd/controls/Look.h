#pragma once

#include <cstdint>

#include "zrwnd/Export.h"

namespace zrwnd {

// What the stock controls look like where a game sets nothing itself: the
// colours (ARGB), outlines and spacing each control takes when it is made,
// in one place. A Look starts as the toolkit's classic look, the one its
// controls have always had; ReadableLook() is a set that reads on any
// background: opaque menus and lists, light captions outlined in black, a
// combo box that shows when made in code without images, and combo lists
// that show whole rows, mark their current item and open over their
// neighbours. Colours and outlines are taken when a control is made; how a
// combo list shows its rows and opens, the message box and the tooltip follow
// the look of the moment. So a game sets it once, after IDrvWnd::Init and
// before building its windows.
struct Look {
    // Button captions and their outline (0: none).
    std::uint32_t buttonText = 0xFF000000;
    std::uint32_t buttonOutline = 0x00000000;
    // Pop-up menus: background, item text, the highlighted item's fill.
    std::uint32_t menuBack = 0x88000000;
    std::uint32_t menuText = 0xFFFFFFFF;
    std::uint32_t menuSelection = 0x880000FF;
    // The combo box: its field's background and text, its list's item text,
    // and the size of its expand button when no image gives it one (0: the
    // button stays as its image makes it).
    std::uint32_t comboFieldBack = 0x00000000;
    std::uint32_t comboFieldText = 0xFFFFFFFF;
    std::uint32_t comboItemText = 0xFFE39F00;
    std::int32_t comboButtonSize = 0;
    // Lists (the combo list): show only whole rows, mark the item the field
    // shows with a frame of this colour (0: no mark), and come in front of
    // the windows beside the box when they open.
    bool wholeRows = false;
    std::uint32_t currentMark = 0x00000000;
    bool listInFront = false;
    // The message box's text and its outline.
    std::uint32_t messageText = 0xFF000000;
    std::uint32_t messageOutline = 0xFF000000;
    // Labels, panels, list boxes, progress bars, sliders and tooltips.
    std::uint32_t labelText = 0xFFFFFFFF;
    std::uint32_t panelFill = 0xE0202838;
    std::uint32_t panelBorder = 0xFF6A7390;
    std::uint32_t listBack = 0xFF141A2A;
    std::uint32_t listText = 0xFFE0E6F5;
    std::uint32_t listSelection = 0xFF3F5F9F;
    std::uint32_t progressFill = 0xFF3FA06A;
    std::uint32_t progressBack = 0xFF141A2A;
    std::uint32_t progressText = 0xFFFFFFFF;
    std::uint32_t sliderTrack = 0xFF0B1020;
    std::uint32_t sliderKnob = 0xFFE0E6F5;
    std::uint32_t tipBack = 0xF0202838;
    std::uint32_t tipBorder = 0xFF6A7390;
    std::uint32_t tipText = 0xFFFFFFFF;
    // Space between a list row's edge and its text.
    std::int32_t padding = 6;
};

ZRWND_API const Look& GetLook();
ZRWND_API void SetLook(const Look& look);
ZRWND_API Look ReadableLook();

}  // namespace zrwnd
