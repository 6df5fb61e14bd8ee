#pragma once

#include <memory>
#include <string>
#include <deque>
#include <vector>

#include "engine/soft/SoftEngine.h"
#include "host/headless/Script.h"
#include "zrwnd/ZrWnd.h"

namespace zrhost {

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
    zrsoft::SoftEngine& Engine() { return *engine_; }
    HWND Window() const { return window_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Feeds the commands through the host's message loop until they are done;
    // shots are written under outDir. Answers the files written, in order.
    std::vector<std::string> Run(const std::vector<ScriptCommand>& script, const std::string& outDir);

private:
    static bool NextMessage(void* self, MSG* msg);
    bool Step(MSG* msg);

    int width_;
    int height_;
    HWND window_ = nullptr;
    std::unique_ptr<zrsoft::SoftEngine> engine_;

    // The running script.
    const std::vector<ScriptCommand>* script_ = nullptr;
    size_t next_ = 0;
    // Messages of the current command still to hand out, in order. A 'char'
    // line queues one per byte, so taking one must not move the others.
    std::deque<MSG> pending_;
    int waitLeftMs_ = 0;
    std::string outDir_;
    std::vector<std::string> written_;
};

}  // namespace zrhost
