#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "zrwnd/ZrWnd.h"

namespace zrwnd::host {

// The script line that stands for one message a host hands the driver window
// ("move 10 20", "down left", "byte 196", ...), or empty for a message a
// journal does not keep (WM_QUIT, the native tick).
std::string JournalLine(const MSG& message);

// Writes a journal: what a live host fed the driver window, in the headless
// script format, with the time between messages as waits, so that the
// headless host replays it to the same frames. The first lines say the
// window's size; timers are not written, they fire again in the replay as the
// waits let time pass.
class JournalWriter {
public:
    // False (with the reason in *error) when the file cannot be written.
    bool Open(const std::string& path, int width, int height, std::string* error);
    bool IsOpen() const { return out_.is_open(); }
    // One message handed on at `nowMs` on the host's clock.
    void Record(const MSG& message, std::int64_t nowMs);
    void Close();

private:
    std::ofstream out_;
    std::int64_t lastMs_ = -1;
};

}  // namespace zrwnd::host
