#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zrwnd/host/Script.h"
#include "tests/fuzz/FuzzCheck.h"

// The headless host's script reader: any bytes either read as commands within
// the reader's bounds or are refused with the file and line and what was
// expected, quoted briefly.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<zrwnd::host::ScriptCommand> commands;
    std::string error;
    if (!zrwnd::host::ParseScript(text, "fuzz.zrs", &commands, &error)) {
        FUZZ_CHECK(error.rfind("fuzz.zrs:", 0) == 0, "an error names the script");
        FUZZ_CHECK(error.find(": expected ") != std::string::npos, "an error says what was expected");
        FUZZ_CHECK(error.size() <= 200, "an error quotes the script briefly");
        return 0;
    }
    for (const zrwnd::host::ScriptCommand& c : commands) {
        FUZZ_CHECK(c.line >= 1, "a command knows its line");
        switch (c.kind) {
            case zrwnd::host::ScriptCommand::Kind::Wheel:
                FUZZ_CHECK(c.a >= -273 && c.a <= 273, "a wheel turns at most 273 notches");
                break;
            case zrwnd::host::ScriptCommand::Kind::Wait: FUZZ_CHECK(c.a >= 0, "a wait is not negative"); break;
            case zrwnd::host::ScriptCommand::Kind::Shot:
                FUZZ_CHECK(c.text.find_first_of("/\\") == std::string::npos && c.text.rfind("..", 0) != 0,
                           "a shot stays in the output directory");
                break;
            case zrwnd::host::ScriptCommand::Kind::Char:
                FUZZ_CHECK(!c.text.empty() && c.text.find('\0') == std::string::npos, "typed text has characters");
                break;
            case zrwnd::host::ScriptCommand::Kind::Size:
                FUZZ_CHECK(c.a >= 1 && c.b >= 1 && c.a <= 8192 && c.b <= 8192, "a window size is sane");
                break;
            case zrwnd::host::ScriptCommand::Kind::Byte: FUZZ_CHECK(c.a >= 1 && c.a <= 255, "a byte is a byte"); break;
            default: break;
        }
    }
    return 0;
}
