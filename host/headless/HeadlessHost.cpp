#include "zrwnd/Text.h"
#include "zrwnd/host/HeadlessHost.h"

#include <cstdio>
#include <filesystem>

#include "zrwnd/host/HostLoop.h"
#include "zrwnd/PortableHost.h"

namespace zrwnd::host {
namespace {

constexpr int kTickMs = 10;

}  // namespace

HeadlessHost::HeadlessHost(int width, int height, const std::string& resourceRoot) : width_(width), height_(height) {
    // The clock moves only with the script; no timer thread runs.
    zrwnd::native::portable::UseManualClock(true);
    window_ = zrwnd::native::portable::CreateNativeWindow(width, height, &DriverWindowProc);
    engine_ = std::make_unique<zrwnd::engine::SoftEngine>(window_, width, height);
    engine_->SetResourceRoot(resourceRoot);
    zrwnd::native::SetFocus(window_);
    CreateDrvWnd()->Init(engine_.get());
}

HeadlessHost::~HeadlessHost() {
    CreateDrvWnd()->Release();
    zrwnd::native::portable::SetMessageSource(nullptr, nullptr);
    zrwnd::native::portable::DestroyNativeWindow(window_);
}

bool HeadlessHost::NextMessage(void* self, MSG* msg) { return static_cast<HeadlessHost*>(self)->Step(msg); }

void HeadlessHost::Shoot(const std::string& name) {
    const std::string path = (std::filesystem::path(outDir_) / name).string();
    if (engine_->WritePng(path)) {
        written_.push_back(path);
    } else {
        engine_->Print("%s: could not be written", path.c_str());
        ++failedShots_;
    }
}

void HeadlessHost::TakeDueShots() {
    // Everything before a shot has been handled and painted: shots are only
    // taken once the queue is empty and the loop has drawn what was dirty.
    while (shotEveryMs_ > 0 && nextEveryMs_ <= nowMs_) {
        char name[32];
        std::snprintf(name, sizeof name, "every-%08lld.png", static_cast<long long>(nextEveryMs_));
        Shoot(name);
        nextEveryMs_ += shotEveryMs_;
    }
    if (lastLine_ > 0 && shotAtLeft_.count(lastLine_)) {
        char name[32];
        std::snprintf(name, sizeof name, "line-%05d.png", lastLine_);
        Shoot(name);
        shotAtLeft_.erase(lastLine_);
    }
}

bool HeadlessHost::Step(MSG* msg) {
    for (;;) {
        if (!pending_.empty()) {
            *msg = pending_.front();
            pending_.pop_front();
            return true;
        }
        if (waitLeftMs_ > 0) {
            // Time passes one native tick at a time, so timers fire as they would.
            const int step = std::min(waitLeftMs_, kTickMs);
            waitLeftMs_ -= step;
            nowMs_ += step;
            zrwnd::native::portable::AdvanceClock(static_cast<std::int64_t>(step) * 1000);
            return false;
        }
        TakeDueShots();
        if (!script_ || next_ >= script_->size()) {
            *msg = MakeMessage(window_, WM_QUIT);
            return true;
        }
        const ScriptCommand& cmd = (*script_)[next_++];
        lastLine_ = cmd.line;
        auto button = [&](UINT left, UINT middle, UINT right) {
            pending_.push_back(MakeMessage(window_, cmd.a == 1 ? left : cmd.a == 2 ? middle : right));
        };
        switch (cmd.kind) {
            case ScriptCommand::Kind::Move:
                pending_.push_back(MakeMessage(window_, WM_MOUSEMOVE, 0, PackPoint(cmd.a, cmd.b)));
                break;
            case ScriptCommand::Kind::Down: button(WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN); break;
            case ScriptCommand::Kind::Up: button(WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP); break;
            case ScriptCommand::Kind::DoubleClick: button(WM_LBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK); break;
            case ScriptCommand::Kind::Wheel:
                pending_.push_back(MakeMessage(window_, WM_MOUSEWHEEL,
                                           static_cast<WPARAM>(static_cast<std::uint16_t>(cmd.a * 120)) << 16));
                break;
            case ScriptCommand::Kind::Key:
                if (cmd.b) pending_.push_back(MakeMessage(window_, WM_KEYDOWN, static_cast<WPARAM>(cmd.b)));
                pending_.push_back(MakeMessage(window_, WM_KEYDOWN, static_cast<WPARAM>(cmd.a)));
                pending_.push_back(MakeMessage(window_, WM_KEYUP, static_cast<WPARAM>(cmd.a)));
                if (cmd.b) pending_.push_back(MakeMessage(window_, WM_KEYUP, static_cast<WPARAM>(cmd.b)));
                break;
            case ScriptCommand::Kind::KeyDown:
            case ScriptCommand::Kind::KeyUp:
                pending_.push_back(MakeMessage(window_, cmd.kind == ScriptCommand::Kind::KeyDown ? WM_KEYDOWN : WM_KEYUP,
                                               static_cast<WPARAM>(cmd.a)));
                break;
            case ScriptCommand::Kind::Char:
                for (unsigned char c : cmd.text) pending_.push_back(MakeMessage(window_, WM_CHAR, c));
                break;
            case ScriptCommand::Kind::Byte: pending_.push_back(MakeMessage(window_, WM_CHAR, static_cast<WPARAM>(cmd.a))); break;
            case ScriptCommand::Kind::Focus: pending_.push_back(MakeMessage(window_, WM_ACTIVATE, static_cast<WPARAM>(cmd.a))); break;
            case ScriptCommand::Kind::Leave: pending_.push_back(MakeMessage(window_, WM_MOUSELEAVE)); break;
            case ScriptCommand::Kind::Layout:
                pending_.push_back(MakeMessage(window_, WM_INPUTLANGCHANGE, 0,
                                               static_cast<LPARAM>(static_cast<std::uintptr_t>(cmd.layout))));
                break;
            case ScriptCommand::Kind::Wait: waitLeftMs_ = cmd.a; break;
            case ScriptCommand::Kind::Size:
                // A journal replays only into a window of the size it was
                // recorded in: every position in it depends on that.
                if (cmd.a != width_ || cmd.b != height_) {
                    stopReason_ = std::to_string(cmd.line) + ": expected 'size " + std::to_string(width_) + " " +
                                  std::to_string(height_) + "', the size of this window (the journal was recorded at " +
                                  std::to_string(cmd.a) + "x" + std::to_string(cmd.b) + "; replay with --size " +
                                  std::to_string(cmd.a) + "x" + std::to_string(cmd.b) + ")";
                    *msg = MakeMessage(window_, WM_QUIT);
                    return true;
                }
                break;
            case ScriptCommand::Kind::Mode:
                // Typed bytes are GBK or UTF-8: they mean the same only in the
                // mode they were recorded in.
                if ((cmd.a == 1) != (zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8)) {
                    stopReason_ = std::to_string(cmd.line) + ": the journal was recorded in " +
                                  (cmd.a == 1 ? "UTF-8 mode; replay with --utf8" : "GBK mode; replay without --utf8");
                    *msg = MakeMessage(window_, WM_QUIT);
                    return true;
                }
                break;
            case ScriptCommand::Kind::Shot: Shoot(cmd.text); break;
        }
    }
}

std::vector<std::string> HeadlessHost::Run(const std::vector<ScriptCommand>& script, const std::string& outDir) {
    script_ = &script;
    next_ = 0;
    pending_.clear();
    waitLeftMs_ = 0;
    outDir_ = outDir;
    written_.clear();
    failedShots_ = 0;
    stopReason_.clear();
    nowMs_ = 0;
    nextEveryMs_ = shotEveryMs_;
    lastLine_ = 0;
    shotAtLeft_ = shotAtLines_;
    // Frames every so many milliseconds are counted before anything runs: the
    // line whose wait would pass the bound stops the run.
    if (shotEveryMs_ > 0) {
        std::int64_t waited = 0;
        for (const ScriptCommand& cmd : script) {
            if (cmd.kind != ScriptCommand::Kind::Wait) continue;
            waited += cmd.a;
            if (waited / shotEveryMs_ > kMaxEveryFrames) {
                stopReason_ = std::to_string(cmd.line) + ": expected at most " + std::to_string(kMaxEveryFrames) +
                              " frames every " + std::to_string(shotEveryMs_) + " ms (the waits up to here take " +
                              std::to_string(waited / shotEveryMs_) + "; take them further apart)";
                script_ = nullptr;
                return written_;
            }
        }
    }
    // An output directory that cannot be made is said once; the script still
    // runs, and each shot it asks for is reported as not written.
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) engine_->Print("%s: cannot be made (%s)", outDir.c_str(), ec.message().c_str());
    RunMessageLoop(window_, &HeadlessHost::NextMessage, this);
    script_ = nullptr;
    return written_;
}

}  // namespace zrwnd::host
