#include "zrwnd/Text.h"
#include "zrwnd/host/Journal.h"

#include <cstdio>

namespace zrwnd::host {
namespace {

const char* Button(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return "left";
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return "middle";
        default: return "right";
    }
}

// A key code as the reader takes it back: a single digit would be that digit's
// key, so codes below 10 are written with two digits (Backspace is "08").
std::string KeyCode(WPARAM code) {
    const unsigned vk = static_cast<unsigned>(code & 0xFF);
    return (vk < 10 ? "0" : "") + std::to_string(vk);
}

}  // namespace

std::string JournalLine(const MSG& m) {
    const auto word = [](LPARAM value, int shift) {
        return std::to_string(static_cast<std::int16_t>((value >> shift) & 0xFFFF));
    };
    switch (m.message) {
        case WM_MOUSEMOVE: return "move " + word(m.lParam, 0) + " " + word(m.lParam, 16);
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN: return std::string("down ") + Button(m.message);
        case WM_LBUTTONUP:
        case WM_MBUTTONUP:
        case WM_RBUTTONUP: return std::string("up ") + Button(m.message);
        case WM_LBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: return std::string("dblclick ") + Button(m.message);
        case WM_MOUSEWHEEL: {
            const int delta = static_cast<std::int16_t>((m.wParam >> 16) & 0xFFFF);
            return delta / 120 ? "wheel " + std::to_string(delta / 120) : std::string();
        }
        case WM_KEYDOWN: return "keydown " + KeyCode(m.wParam);
        case WM_KEYUP: return "keyup " + KeyCode(m.wParam);
        case WM_CHAR: return (m.wParam & 0xFF) ? "byte " + std::to_string(m.wParam & 0xFF) : std::string();
        case WM_ACTIVATE: return (m.wParam & 0xFFFF) ? "focus in" : "focus out";
        case WM_MOUSELEAVE: return "leave";
        case WM_INPUTLANGCHANGE: {
            char text[32];
            std::snprintf(text, sizeof text, "layout 0x%08X",
                          static_cast<unsigned>(static_cast<std::uintptr_t>(m.lParam) & 0xFFFFFFFFu));
            return text;
        }
        default: return std::string();
    }
}

bool JournalWriter::Open(const std::string& path, int width, int height, std::string* error) {
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) {
        if (error) *error = path + ": cannot be written";
        return false;
    }
    out_ << "# ZrWnd input journal, recorded live; replay: zrwnd-demo --headless --script FILE --out DIR\n";
    out_ << "size " << width << " " << height << "\n";
    // Its typed bytes are the mode's: a replay must run in the same one.
    out_ << "mode " << (zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8 ? "utf8" : "gbk") << "\n";
    lastMs_ = -1;
    return true;
}

void JournalWriter::Record(const MSG& message, std::int64_t nowMs) {
    if (!out_.is_open()) return;
    const std::string line = JournalLine(message);
    if (line.empty()) return;
    if (lastMs_ >= 0 && nowMs > lastMs_) out_ << "wait " << (nowMs - lastMs_) << "\n";
    lastMs_ = nowMs;
    out_ << line << "\n";
    // A session that ends in a crash still leaves what led to it.
    out_.flush();
}

void JournalWriter::Close() {
    if (out_.is_open()) out_.close();
}

}  // namespace zrwnd::host
