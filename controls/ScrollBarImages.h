#pragma once

// The scroll bar and its thumb are published in zrwnd/controls/ScrollBar.h; this pair
// holds their behaviour.
#include "zrwnd/controls/ScrollBar.h"

namespace zrwnd {

// The images a scroll bar's parts load, under the engine's resource root.
constexpr const char kScrollUpImage[] = "EngineRes\\Img\\Scroll_Ver_Top.tga";
constexpr const char kScrollDownImage[] = "EngineRes\\Img\\Scroll_Ver_Bottom.tga";
constexpr const char kScrollThumbImage[] = "EngineRes\\Img\\Scroll_Ver_Thumb.tga";

}  // namespace zrwnd
