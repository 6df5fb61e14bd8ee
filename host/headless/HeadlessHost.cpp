#include "host/headless/HeadlessHost.h"

#include <filesystem>

#include "host/common/HostLoop.h"
#include "zrwnd/PortableHost.h"

namespace zrhost {
namespace {

constexpr int kTickMs = 10;

}  // namespace

HeadlessHost::HeadlessHost(int width, int height, const std::string& resourceRoot) : width_(width), height_(height) {
    // The clock moves only with the script; no timer thread runs.
    zrnative::portable::UseManualClock(true);
    window_ = zrnative::portable::CreateNativeWindow(width, height, &DriverWindowProc);
    engine_ = std::make_unique<zrsoft::SoftEngine>(window_, width, height);
    engine_->SetResourceRoot(resourceRoot);
    zrnative::SetFocus(window_);
    CreateDrvWnd()->Init(engine_.get());
}

HeadlessHost::~HeadlessHost() {
    CreateDrvWnd()->Release();
    zrnative::portable::SetMessageSource(nullptr, nullptr);
    zrnative::portable::DestroyNativeWindow(window_);
}

bool HeadlessHost::NextMessage(void* self, MSG* msg) { return static_cast<HeadlessHost*>(self)->Step(msg); }

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
            zrnative::portable::AdvanceClock(static_cast<std::int64_t>(step) * 1000);
            return false;
        }
        if (!script_ || next_ >= script_->size()) {
            *msg = MakeMessage(window_, WM_QUIT);
            return true;
        }
        const ScriptCommand& cmd = (*script_)[next_++];
        switch (cmd.kind) {
            case ScriptCommand::Kind::Move:
                pending_.push_back(MakeMessage(window_, WM_MOUSEMOVE, 0, PackPoint(cmd.a, cmd.b)));
                break;
            case ScriptCommand::Kind::Down:
            case ScriptCommand::Kind::Up: {
                const bool down = cmd.kind == ScriptCommand::Kind::Down;
                const UINT left = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                const UINT middle = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
                const UINT right = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                pending_.push_back(MakeMessage(window_, cmd.a == 1 ? left : cmd.a == 2 ? middle : right));
                break;
            }
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
            case ScriptCommand::Kind::Char:
                for (unsigned char c : cmd.text) pending_.push_back(MakeMessage(window_, WM_CHAR, c));
                break;
            case ScriptCommand::Kind::Wait:
                waitLeftMs_ = cmd.a;
                break;
            case ScriptCommand::Kind::Shot: {
                // Everything before the shot has been handled and painted: the
                // source is only asked once the queue and the update region are empty.
                const std::string path = (std::filesystem::path(outDir_) / cmd.text).string();
                if (engine_->WritePng(path)) {
                    written_.push_back(path);
                } else {
                    engine_->Print("%s: could not be written", path.c_str());
                }
                break;
            }
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
    // An output directory that cannot be made is said once; the script still
    // runs, and each shot it asks for is reported as not written.
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) engine_->Print("%s: cannot be made (%s)", outDir.c_str(), ec.message().c_str());
    RunMessageLoop(window_, &HeadlessHost::NextMessage, this);
    script_ = nullptr;
    return written_;
}

}  // namespace zrhost
