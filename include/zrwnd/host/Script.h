#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zrwnd::host {

// One line of an input script.
struct ScriptCommand {
    enum class Kind { Move, Down, Up, Wheel, Key, Char, Wait, Shot, Size, DoubleClick, KeyDown, KeyUp, Byte, Focus, Leave, Layout, Mode };
    Kind kind = Kind::Move;
    int a = 0;         // x, button (1 left, 2 middle, 3 right), notches, key code, milliseconds, width, byte, 1 for in
    std::uint32_t layout = 0;  // the keyboard layout switched to
    int b = 0;         // y, the modifier key held around a key (0 for none), or height
    std::string text;  // the characters (in the toolkit's text mode) or the file name
    int line = 0;
};

// Reads a script: one command a line, '#' starts a comment.
//   move X Y | down left|right|middle | up left|right|middle | wheel N
//   key VK (a letter or digit is that key, a longer number a key code, or a
//   name such as RETURN; MODIFIER+VK holds one: CTRL+C)
//   char TEXT (UTF-8, typed as GBK bytes) | wait MS | shot FILE.png
// A journal the SDL2 host recorded (--record) uses these too:
//   size W H (the window it was recorded in) | dblclick BUTTON
//   keydown VK | keyup VK | byte N (one WM_CHAR byte) | focus in|out | leave
//   layout 0xHKL (the keyboard layout the system switched to)
// Numbers are decimal; a wheel turns at most 273 notches; the waits of a
// script add up to at most kMaxScriptMs (an hour of script time, so that a
// replay ends in minutes); a shot is a file name in the output directory; a
// '#' after a command (not in 'char' text) starts a comment; lines are at
// most 4096 bytes.
// On a bad line answers false, says "FILE:LINE: expected ..." in *error, and
// leaves in *out the commands of the lines before it.
constexpr std::int64_t kMaxScriptMs = 60 * 60 * 1000;

bool ParseScript(const std::string& text, const std::string& fileName, std::vector<ScriptCommand>* out,
                 std::string* error);
bool LoadScript(const std::string& path, std::vector<ScriptCommand>* out, std::string* error);

}  // namespace zrwnd::host
