#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/host/Journal.h"
#include "zrwnd/ZrWnd.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace zrwnd::host {

// An interactive host: an SDL2 window shows the reference engine's surface and
// SDL events become the native messages the driver window expects (virtual-key
// codes, WM_CHAR bytes in GBK from text input so that input methods work,
// mouse leave, activation, paint on expose).
class SdlHost {
public:
    SdlHost(int width, int height, const std::string& resourceRoot, const char* title);
    ~SdlHost();
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    bool Ok() const { return window_ != nullptr; }
    const std::string& Error() const { return error_; }
    IDrvWnd* Driver() { return CreateDrvWnd(); }
    zrwnd::engine::SoftEngine& Engine() { return *engine_; }

    // Runs the host's message loop until the window is closed.
    int Run();

    // Writes every message handed to the driver window from now on to a
    // journal at `path`, which the headless host replays to the same frames.
    // False (with the reason) when the file cannot be written.
    bool Record(const std::string& path, std::string* error);

    // Called about four times a second while the loop waits for input, on the
    // loop's thread (a live reload of a layout file, for example).
    void SetIdle(void (*idle)(void* context), void* context) {
        idle_ = idle;
        idleContext_ = context;
    }

    // One SDL event as the messages it stands for; answers how many it wrote.
    int Translate(const SDL_Event& event, MSG* out, int capacity);

private:
    static bool NextMessage(void* self, MSG* msg);
    void Present();

    std::string error_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    HWND native_ = nullptr;
    std::unique_ptr<zrwnd::engine::SoftEngine> engine_;
    MSG pending_[64];
    int pendingCount_ = 0;
    int pendingNext_ = 0;
    JournalWriter journal_;
    void (*idle_)(void*) = nullptr;
    void* idleContext_ = nullptr;
    std::uint32_t lastIdle_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace zrwnd::host
