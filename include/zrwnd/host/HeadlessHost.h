#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <deque>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/host/Script.h"
#include "zrwnd/ZrWnd.h"

namespace zrwnd::host {

// A host without a display: a portable native window, the reference engine and
// a script fed in as the window's input. Time moves only when the script
// waits, so every run of a script makes the same frames.
class HeadlessHost {
public:
    HeadlessHost(int width, int height, const std::string& resourceRoot);
    ~HeadlessHost();
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    IDrvWnd* Driver() { return CreateDrvWnd(); }
    zrwnd::engine::SoftEngine& Engine() { return *engine_; }
    HWND Window() const { return window_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Feeds the commands through the host's message loop until they are done;
    // shots are written under outDir. Answers the files written, in order.
    std::vector<std::string> Run(const std::vector<ScriptCommand>& script, const std::string& outDir);

    // Frames taken without a 'shot' in the script: every `ms` of script time
    // (every-TTTTTTTT.png, the time in milliseconds), at most kMaxEveryFrames
    // of them in a run (a script that would take more does not run), and
    // after the command of each listed line has been handled (line-LLLLL.png).
    static constexpr std::int64_t kMaxEveryFrames = 10000;
    void SetShotEvery(int ms) { shotEveryMs_ = ms > 0 ? ms : 0; }
    void SetShotAtLines(const std::set<int>& lines) { shotAtLines_ = lines; }
    // Why the last run stopped before the end ("LINE: expected ..."), or empty.
    const std::string& StopReason() const { return stopReason_; }
    // Frames the last run could not write.
    int FailedShots() const { return failedShots_; }

private:
    static bool NextMessage(void* self, MSG* msg);
    bool Step(MSG* msg);
    void Shoot(const std::string& name);
    void TakeDueShots();

    int width_;
    int height_;
    HWND window_ = nullptr;
    std::unique_ptr<zrwnd::engine::SoftEngine> engine_;

    // The running script.
    const std::vector<ScriptCommand>* script_ = nullptr;
    size_t next_ = 0;
    // Messages of the current command still to hand out, in order. A 'char'
    // line queues one per byte, so taking one must not move the others.
    std::deque<MSG> pending_;
    int waitLeftMs_ = 0;
    std::string outDir_;
    std::vector<std::string> written_;
    int failedShots_ = 0;
    std::string stopReason_;
    // Script time, and the frames asked for without 'shot'.
    std::int64_t nowMs_ = 0;
    int shotEveryMs_ = 0;
    std::int64_t nextEveryMs_ = 0;
    std::set<int> shotAtLines_;
    std::set<int> shotAtLeft_;  // of this run, not taken yet
    int lastLine_ = 0;
};

}  // namespace zrwnd::host
