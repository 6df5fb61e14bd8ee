#include "zrwnd/host/Script.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/NativeTypes.h"
#include "zrwnd/Text.h"

namespace zrwnd::host {
namespace {

struct KeyName {
    const char* name;
    int code;
};

const KeyName kKeys[] = {{"BACK", VK_BACK},     {"TAB", VK_TAB},     {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},
                         {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL}, {"MENU", VK_MENU},
                         {"ALT", VK_MENU},      {"ESCAPE", VK_ESCAPE}, {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT},
                         {"END", VK_END},       {"HOME", VK_HOME},   {"LEFT", VK_LEFT},     {"UP", VK_UP},
                         {"RIGHT", VK_RIGHT},   {"DOWN", VK_DOWN},   {"DELETE", VK_DELETE}};

// Limits that keep a script, however it was made, from asking for the absurd.
constexpr size_t kMaxLine = 4096;
// A notch is 120 units of a signed 16-bit word.
constexpr int kMaxNotches = 32767 / 120;

// Decimal only: "08" is 8 and "010" is 10, as a person writing a script means.
bool ParseInt(const std::string& word, int* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ParseButton(const std::string& word, int* out) {
    if (word == "left") *out = 1;
    else if (word == "middle") *out = 2;
    else if (word == "right") *out = 3;
    else return false;
    return true;
}

// A single letter or digit is its own key ("key 9" is the 9 key); a longer
// number is a virtual-key code.
bool ParseKey(std::string word, int* out) {
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
        *out = std::toupper(static_cast<unsigned char>(word[0]));
        return true;
    }
    if (ParseInt(word, out)) return *out >= 1 && *out <= 0xFE;
    if (word.rfind("VK_", 0) == 0) word = word.substr(3);
    for (auto& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const KeyName& k : kKeys) {
        if (word == k.name) {
            *out = k.code;
            return true;
        }
    }
    return false;
}

// What an error message quotes of a word: enough to recognise it.
std::string Quote(const std::string& word) { return word.size() <= 24 ? word : word.substr(0, 24) + "..."; }

}  // namespace

bool ParseScript(const std::string& text, const std::string& fileName, std::vector<ScriptCommand>* out,
                 std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::int64_t waited = 0;
    auto fail = [&](const std::string& expected) {
        if (error) *error = fileName + ":" + std::to_string(number) + ": expected " + expected;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kMaxLine) return fail("a line of at most " + std::to_string(kMaxLine) + " bytes");
        if (line.find('\0') != std::string::npos) return fail("text without NUL bytes");
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        // A comment may follow a command, except the text of 'char'.
        if (line.compare(start, 4, "char") != 0) {
            const size_t hash = line.find(" #", start);
            if (hash != std::string::npos) line.erase(hash);
        }
        std::istringstream words(line.substr(start));
        std::string verb;
        words >> verb;
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);
        ScriptCommand cmd;
        cmd.line = number;
        if (verb == "move") {
            // Negative while a drag leaves the window to the left or top.
            if (args.size() != 2 || !ParseInt(args[0], &cmd.a) || !ParseInt(args[1], &cmd.b) || cmd.a < -32768 ||
                cmd.b < -32768 || cmd.a > 0xFFFF || cmd.b > 0xFFFF) {
                return fail("'move X Y' with two pixel coordinates from -32768 to 65535");
            }
        } else if (verb == "down" || verb == "up" || verb == "dblclick") {
            cmd.kind = verb == "down" ? ScriptCommand::Kind::Down
                       : verb == "up" ? ScriptCommand::Kind::Up
                                      : ScriptCommand::Kind::DoubleClick;
            if (args.size() != 1 || !ParseButton(args[0], &cmd.a)) return fail("'" + verb + " left|right|middle'");
        } else if (verb == "size") {
            cmd.kind = ScriptCommand::Kind::Size;
            if (args.size() != 2 || !ParseInt(args[0], &cmd.a) || !ParseInt(args[1], &cmd.b) || cmd.a < 1 ||
                cmd.b < 1 || cmd.a > 8192 || cmd.b > 8192) {
                return fail("'size W H' with a window size from 1 to 8192");
            }
        } else if (verb == "mode") {
            cmd.kind = ScriptCommand::Kind::Mode;
            if (args.size() != 1 || (args[0] != "gbk" && args[0] != "utf8")) return fail("'mode gbk' or 'mode utf8'");
            cmd.a = args[0] == "utf8" ? 1 : 0;
        } else if (verb == "keydown" || verb == "keyup") {
            cmd.kind = verb == "keydown" ? ScriptCommand::Kind::KeyDown : ScriptCommand::Kind::KeyUp;
            if (args.size() != 1 || !ParseKey(args[0], &cmd.a)) return fail("'" + verb + " VK' with a key code or name");
        } else if (verb == "byte") {
            cmd.kind = ScriptCommand::Kind::Byte;
            if (args.size() != 1 || !ParseInt(args[0], &cmd.a) || cmd.a < 1 || cmd.a > 255) {
                return fail("'byte N' with a character byte from 1 to 255");
            }
        } else if (verb == "focus") {
            cmd.kind = ScriptCommand::Kind::Focus;
            if (args.size() != 1 || (args[0] != "in" && args[0] != "out")) return fail("'focus in|out'");
            cmd.a = args[0] == "in" ? 1 : 0;
        } else if (verb == "layout") {
            cmd.kind = ScriptCommand::Kind::Layout;
            char* end = nullptr;
            errno = 0;
            const unsigned long v = args.size() == 1 ? std::strtoul(args[0].c_str(), &end, 16) : 0;
            if (args.size() != 1 || args[0].rfind("0x", 0) != 0 || args[0].size() < 3 || errno != 0 || *end != '\0' ||
                v == 0 || v > 0xFFFFFFFFul) {
                return fail("'layout 0xHKL' with the layout's handle in hexadecimal");
            }
            cmd.layout = static_cast<std::uint32_t>(v);
        } else if (verb == "leave") {
            cmd.kind = ScriptCommand::Kind::Leave;
            if (!args.empty()) return fail("'leave' alone");
        } else if (verb == "wheel") {
            cmd.kind = ScriptCommand::Kind::Wheel;
            if (args.size() != 1 || !ParseInt(args[0], &cmd.a) || cmd.a < -kMaxNotches || cmd.a > kMaxNotches) {
                return fail("'wheel N' with a whole number of notches from -273 to 273");
            }
        } else if (verb == "key") {
            cmd.kind = ScriptCommand::Kind::Key;
            // "key CTRL+C": the modifier is held around the key.
            const size_t plus = args.size() == 1 ? args[0].find('+') : std::string::npos;
            if (plus != std::string::npos) {
                if (!ParseKey(args[0].substr(0, plus), &cmd.b) || !ParseKey(args[0].substr(plus + 1), &cmd.a)) {
                    return fail("'key MODIFIER+VK' such as CTRL+C or SHIFT+LEFT");
                }
            } else if (args.size() != 1 || !ParseKey(args[0], &cmd.a)) {
                return fail("'key VK' with a key code or name such as RETURN");
            }
        } else if (verb == "char") {
            cmd.kind = ScriptCommand::Kind::Char;
            const size_t at = line.find("char", start) + 4;
            std::string rest = at < line.size() ? line.substr(at + 1) : "";
            if (rest.empty()) return fail("'char TEXT' with at least one character");
            cmd.text = zrwnd::text::FromUtf8(rest.c_str()).c_str();
        } else if (verb == "wait") {
            cmd.kind = ScriptCommand::Kind::Wait;
            if (args.size() != 1 || !ParseInt(args[0], &cmd.a) || cmd.a < 0) return fail("'wait MS' with milliseconds");
            waited += cmd.a;
            if (waited > kMaxScriptMs) {
                return fail("waits that add up to at most " + std::to_string(kMaxScriptMs) + " ms (an hour of script time)");
            }
        } else if (verb == "shot") {
            cmd.kind = ScriptCommand::Kind::Shot;
            // Frames land in the output directory and nowhere else.
            if (args.size() != 1 || args[0].size() < 5 || args[0].substr(args[0].size() - 4) != ".png" ||
                args[0].find_first_of("/\\") != std::string::npos || args[0].rfind("..", 0) == 0) {
                return fail("'shot FILE.png' with a file name, no directory");
            }
            cmd.text = args[0];
        } else {
            return fail("one of move, down, up, wheel, key, char, wait, shot, size, dblclick, keydown, keyup, byte, "
                        "focus, leave, layout (found '" + Quote(verb) + "')");
        }
        out->push_back(cmd);
    }
    return true;
}

bool LoadScript(const std::string& path, std::vector<ScriptCommand>* out, std::string* error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        if (error) *error = path + ": is not a script file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": cannot be read";
        return false;
    }
    std::stringstream all;
    all << in.rdbuf();
    return ParseScript(all.str(), path, out, error);
}

}  // namespace zrwnd::host
