// zrwnd-demo: the game-lobby gallery.
//
//   zrwnd-demo [--res DIR] [--size WxH]                       an SDL2 window
//   zrwnd-demo --headless --script FILE --out DIR [--res DIR] [--size WxH]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "demo/Lobby.h"
#include "host/headless/HeadlessHost.h"
#ifdef ZRWND_HAVE_SDL
#include "host/sdl/SdlHost.h"
#endif

#ifndef ZRWND_DEMO_RES_DIR
#define ZRWND_DEMO_RES_DIR "."
#endif
#ifndef ZRWND_DEMO_INSTALLED_RES_DIR
#define ZRWND_DEMO_INSTALLED_RES_DIR ZRWND_DEMO_RES_DIR
#endif

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zrwnd-demo [--res DIR] [--size WxH]\n"
                 "       zrwnd-demo --headless --script FILE --out DIR [--res DIR] [--size WxH]\n"
                 "  --script  input commands, one a line (move, down, up, wheel, key, char, wait, shot)\n"
                 "  --out     where the frames the script asks for are written\n"
                 "  --res     where the generated art lives (default: the build's)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool headless = false;
    // The build tree's art, or, for an installed demo, the installed art.
    std::string script, out;
    std::string res = std::filesystem::is_directory(ZRWND_DEMO_RES_DIR) ? ZRWND_DEMO_RES_DIR
                                                                        : ZRWND_DEMO_INSTALLED_RES_DIR;
    int width = 800, height = 600;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* into) {
            if (i + 1 >= argc) return false;
            *into = argv[++i];
            return true;
        };
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--script") {
            if (!value(&script)) return Usage();
        } else if (arg == "--out") {
            if (!value(&out)) return Usage();
        } else if (arg == "--res") {
            if (!value(&res)) return Usage();
        } else if (arg == "--size") {
            std::string size;
            // A surface beyond 8192 x 8192 is refused before anything is allocated.
            if (!value(&size) || std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0 ||
                width > 8192 || height > 8192) {
                return Usage();
            }
        } else {
            return Usage();
        }
    }
    if (!headless) {
#ifdef ZRWND_HAVE_SDL
        // Without a display SDL may wait or pick a driver that shows nothing;
        // say so at once instead.
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !driver) {
            std::fprintf(stderr,
                         "zrwnd-demo: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                         "  Run it headless instead, for example:\n"
                         "  zrwnd-demo --headless --script demo/scripts/lobby.zrs --out frames\n");
            return 1;
        }
        zrhost::SdlHost host(width, height, res, "ZrWnd lobby");
        if (!host.Ok()) {
            std::fprintf(stderr, "zrwnd-demo: no window could be opened (%s); try --headless\n", host.Error().c_str());
            return 1;
        }
        zrdemo::Lobby lobby(&host.Engine(), width, height);
        return host.Run();
#else
        std::fprintf(stderr, "zrwnd-demo: this build has no interactive host; run it with --headless\n");
        return Usage();
#endif
    }
    if (script.empty() || out.empty()) return Usage();

    std::vector<zrhost::ScriptCommand> commands;
    std::string error;
    if (!zrhost::LoadScript(script, &commands, &error)) {
        std::fprintf(stderr, "zrwnd-demo: %s\n", error.c_str());
        return 1;
    }
    zrhost::HeadlessHost host(width, height, res);
    const auto frames = [&] {
        zrdemo::Lobby lobby(&host.Engine(), width, height);
        return host.Run(commands, out);
    }();
    for (const std::string& f : frames) std::printf("%s\n", f.c_str());
    // A frame the script asked for and that could not be written fails the run.
    size_t shots = 0;
    for (const auto& c : commands) shots += c.kind == zrhost::ScriptCommand::Kind::Shot ? 1 : 0;
    if (frames.size() != shots) {
        std::fprintf(stderr, "zrwnd-demo: %zu of %zu frames could not be written under %s\n", shots - frames.size(),
                     shots, out.c_str());
        return 1;
    }
    return 0;
}
