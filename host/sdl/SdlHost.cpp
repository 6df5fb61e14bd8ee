#include "zrwnd/host/SdlHost.h"

#include <SDL.h>

#include <cstring>

#include "zrwnd/host/HostLoop.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/Text.h"

namespace zrwnd::host {
namespace {

// SDL key codes to Windows virtual-key codes; 0 for keys the toolkit has no use for.
int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    switch (key) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return 0x20;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return VK_MENU;
        default: return 0;
    }
}

// The system clipboard through SDL: UTF-8 there, the toolkit's mode inside.
int ReadClipboard(void*, char* buffer, int size) {
    if (!SDL_HasClipboardText()) return -1;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8) return -1;
    const std::string gbk = zrwnd::text::FromUtf8(utf8).c_str();
    SDL_free(utf8);
    const int length = static_cast<int>(gbk.size());
    if (length + 1 > size) return -(length + 1);
    std::memcpy(buffer, gbk.c_str(), gbk.size() + 1);
    return length;
}

bool WriteClipboard(void*, const char* text) { return SDL_SetClipboardText(zrwnd::text::ToUtf8(text).c_str()) == 0; }

}  // namespace

SdlHost::SdlHost(int width, int height, const std::string& resourceRoot, const char* title)
    : width_(width), height_(height) {
    // The input method shows its composition in its own window, as on
    // Windows: the toolkit takes the committed text (SDL_TEXTINPUT, UTF-8,
    // passed through unchanged in UTF-8 mode).
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error_ = SDL_GetError();
        return;
    }
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
    if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    }
    if (!texture_) {
        error_ = SDL_GetError();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        renderer_ = nullptr;
        window_ = nullptr;
        return;
    }
    native_ = zrwnd::native::portable::CreateNativeWindow(width, height, &DriverWindowProc);
    engine_ = std::make_unique<zrwnd::engine::SoftEngine>(native_, width, height);
    engine_->SetResourceRoot(resourceRoot);
    zrwnd::native::SetFocus(native_);
    zrwnd::native::portable::SetClipboardHooks(&ReadClipboard, &WriteClipboard, nullptr);
    CreateDrvWnd()->Init(engine_.get());
    SDL_StartTextInput();
}

SdlHost::~SdlHost() {
    if (!window_) {
        SDL_Quit();
        return;
    }
    CreateDrvWnd()->Release();
    zrwnd::native::portable::SetClipboardHooks(nullptr, nullptr, nullptr);
    zrwnd::native::portable::SetMessageSource(nullptr, nullptr);
    zrwnd::native::portable::DestroyNativeWindow(native_);
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    SDL_Quit();
}

int SdlHost::Translate(const SDL_Event& e, MSG* out, int capacity) {
    int n = 0;
    auto put = [&](MSG msg) {
        if (n < capacity) out[n++] = msg;
    };
    switch (e.type) {
        case SDL_QUIT:
            put(MakeMessage(native_, WM_QUIT));
            break;
        case SDL_MOUSEMOTION:
            put(MakeMessage(native_, WM_MOUSEMOVE, 0, PackPoint(e.motion.x, e.motion.y)));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            UINT msg = 0;
            if (e.button.button == SDL_BUTTON_LEFT) msg = down ? (e.button.clicks == 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
            if (e.button.button == SDL_BUTTON_RIGHT) msg = down ? (e.button.clicks == 2 ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
            if (e.button.button == SDL_BUTTON_MIDDLE) msg = down ? (e.button.clicks == 2 ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
            if (msg) {
                // Buttons act at the last move position, as on Windows.
                put(MakeMessage(native_, WM_MOUSEMOVE, 0, PackPoint(e.button.x, e.button.y)));
                put(MakeMessage(native_, msg, 0, PackPoint(e.button.x, e.button.y)));
            }
            break;
        }
        case SDL_MOUSEWHEEL:
            put(MakeMessage(native_, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint16_t>(e.wheel.y * 120)) << 16));
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const int vk = VirtualKey(e.key.keysym.sym)) {
                put(MakeMessage(native_, e.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk)));
            }
            // Keys that make no text still reach an edit box as characters.
            if (e.type == SDL_KEYDOWN && (e.key.keysym.sym == SDLK_BACKSPACE || e.key.keysym.sym == SDLK_RETURN)) {
                put(MakeMessage(native_, WM_CHAR, e.key.keysym.sym == SDLK_BACKSPACE ? 0x08 : 0x0D));
            }
            break;
        case SDL_TEXTINPUT:
            // Text from the input method arrives as UTF-8: in UTF-8 mode its bytes
            // go through as they are, in GBK mode converted.
            for (unsigned char c : std::string(zrwnd::text::FromUtf8(e.text.text).c_str())) put(MakeMessage(native_, WM_CHAR, c));
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                    zrwnd::native::portable::InvalidateNative(native_, nullptr);
                    break;
                case SDL_WINDOWEVENT_LEAVE:
                    // Reported only while tracking is armed, as Windows does.
                    if (zrwnd::native::portable::IsMouseLeaveArmed(native_)) {
                        zrwnd::native::portable::DisarmMouseLeave(native_);
                        put(MakeMessage(native_, WM_MOUSELEAVE));
                    }
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    put(MakeMessage(native_, WM_ACTIVATE, 1));
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    put(MakeMessage(native_, WM_ACTIVATE, 0));
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return n;
}

void SdlHost::Present() {
    std::vector<ZrRect> rects;
    engine_->Lock();
    rects = engine_->TakePresented();
    if (!rects.empty()) {
        auto& fb = engine_->Surface();
        for (const ZrRect& r : rects) {
            if (r.right <= r.left || r.bottom <= r.top) continue;
            const SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
            SDL_UpdateTexture(texture_, &area, fb.pixels.data() + r.top * fb.width + r.left, fb.width * 4);
        }
    }
    engine_->Unlock();
    if (rects.empty()) return;
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

bool SdlHost::NextMessage(void* context, MSG* msg) {
    auto* self = static_cast<SdlHost*>(context);
    // What the last messages drew goes to the screen before waiting for more.
    self->Present();
    if (self->idle_ && SDL_GetTicks() - self->lastIdle_ >= 250) {
        self->lastIdle_ = SDL_GetTicks();
        self->idle_(self->idleContext_);
        self->Present();
    }
    for (;;) {
        if (self->pendingNext_ < self->pendingCount_) {
            *msg = self->pending_[self->pendingNext_++];
            self->journal_.Record(*msg, static_cast<std::int64_t>(SDL_GetTicks()));
            return true;
        }
        SDL_Event event;
        if (!SDL_PollEvent(&event)) return false;
        self->pendingCount_ = self->Translate(event, self->pending_, 64);
        self->pendingNext_ = 0;
    }
}

bool SdlHost::Record(const std::string& path, std::string* error) {
    return journal_.Open(path, width_, height_, error);
}

int SdlHost::Run() {
    if (!window_) return 1;
    RunMessageLoop(native_, &SdlHost::NextMessage, this);
    return 0;
}

}  // namespace zrwnd::host
