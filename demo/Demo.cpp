// zrwnd-demo: the game-lobby gallery.
//
//   zrwnd-demo [--utf8] [--res DIR] [--size WxH] [--record FILE] [--report FILE]   an SDL2 window
//   zrwnd-demo --headless [--utf8] --script FILE --out DIR [--res DIR] [--size WxH]
//              [--shot-every MS] [--shot-at LINE]... [--expect DIR [--tolerance D,N]]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "demo/Lobby.h"
#include "zrwnd/host/FrameCheck.h"
#include "zrwnd/host/HeadlessHost.h"
#include "zrwnd/Text.h"
#ifdef ZRWND_HAVE_SDL
#include "zrwnd/host/SdlHost.h"
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
                 "usage: zrwnd-demo [--utf8] [--res DIR] [--size WxH] [--record FILE] [--report FILE]\n"
                 "       zrwnd-demo --headless [--utf8] --script FILE --out DIR [--res DIR] [--size WxH]\n"
                 "                  [--shot-every MS] [--shot-at LINE]... [--expect DIR [--tolerance D,N]]\n"
                 "  --utf8        run the toolkit in UTF-8 mode (default GBK)\n"
                 "  --record      write what the window is fed to a journal the headless host replays\n"
                 "  --report      write what the player did to the lobby (texts, active window, choices) at the end\n"
                 "  --script      input commands or a recorded journal, one a line\n"
                 "  --out         where the frames are written\n"
                 "  --shot-every  also take a frame every MS of script time (every-TTTTTTTT.png)\n"
                 "  --shot-at     also take a frame after the command on LINE (line-LLLLL.png)\n"
                 "  --expect      compare every frame with the file of its name in DIR; a mismatch\n"
                 "                writes NAME.diff.png and fails the run\n"
                 "  --tolerance   a channel may be off by D, and N pixels may differ (default 0,0)\n"
                 "  --res         where the generated art lives (default: the build's)\n");
    return 2;
}

bool WriteReport(const std::string& file, zrdemo::Lobby& lobby) {
    if (file.empty()) return true;
    const std::string text = lobby.Report();
    std::FILE* f = std::fopen(file.c_str(), "w");
    const bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if ((f && std::fclose(f) != 0) || !written) {
        std::fprintf(stderr, "zrwnd-demo: the report could not be written to %s\n", file.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool headless = false;
    // The build tree's art, or, for an installed demo, the installed art.
    std::string script, out, record, expect, report;
    int shotEvery = 0;
    std::set<int> shotAt;
    zrwnd::host::FrameTolerance tolerance;
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
        } else if (arg == "--utf8") {
            // Before anything reads a text: the script, the host, the lobby.
            zrwnd::text::SetMode(zrwnd::text::Mode::Utf8);
        } else if (arg == "--script") {
            if (!value(&script)) return Usage();
        } else if (arg == "--out") {
            if (!value(&out)) return Usage();
        } else if (arg == "--record") {
            if (!value(&record)) return Usage();
        } else if (arg == "--report") {
            if (!value(&report)) return Usage();
        } else if (arg == "--expect") {
            if (!value(&expect)) return Usage();
        } else if (arg == "--shot-every" || arg == "--shot-at") {
            std::string number;
            int n = 0;
            if (!value(&number) || std::sscanf(number.c_str(), "%d", &n) != 1 || n <= 0) return Usage();
            if (arg == "--shot-every") {
                shotEvery = n;
            } else {
                shotAt.insert(n);
            }
        } else if (arg == "--tolerance") {
            std::string pair;
            if (!value(&pair) || std::sscanf(pair.c_str(), "%d,%d", &tolerance.channelDelta, &tolerance.pixels) != 2 ||
                tolerance.channelDelta < 0 || tolerance.pixels < 0) {
                return Usage();
            }
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
        zrwnd::host::SdlHost host(width, height, res, "ZrWnd lobby");
        if (!host.Ok()) {
            std::fprintf(stderr, "zrwnd-demo: no window could be opened (%s); try --headless\n", host.Error().c_str());
            return 1;
        }
        std::string error;
        if (!record.empty() && !host.Record(record, &error)) {
            std::fprintf(stderr, "zrwnd-demo: %s\n", error.c_str());
            return 1;
        }
        zrdemo::Lobby lobby(&host.Engine(), width, height);
        // Edits to the layout file show at once; a broken edit keeps the
        // screen and the log says why.
        host.SetIdle([](void* context) { static_cast<zrdemo::Lobby*>(context)->ReloadIfChanged(); }, &lobby);
        const int status = host.Run();
        return WriteReport(report, lobby) ? status : 1;
#else
        std::fprintf(stderr, "zrwnd-demo: this build has no interactive host; run it with --headless\n");
        return Usage();
#endif
    }
    if (script.empty() || out.empty()) return Usage();

    // A bad line stops the run there: what comes before it still runs, and
    // its frames are written, so a truncated journal shows how far it got.
    std::vector<zrwnd::host::ScriptCommand> commands;
    std::string error;
    const bool whole = zrwnd::host::LoadScript(script, &commands, &error);
    zrwnd::host::HeadlessHost host(width, height, res);
    bool reported = true;
    host.SetShotEvery(shotEvery);
    host.SetShotAtLines(shotAt);
    const auto frames = [&] {
        zrdemo::Lobby lobby(&host.Engine(), width, height);
        auto written = host.Run(commands, out);
        reported = WriteReport(report, lobby);
        return written;
    }();
    for (const std::string& f : frames) std::printf("%s\n", f.c_str());
    int status = reported ? 0 : 1;
    if (!whole) {
        std::fprintf(stderr, "zrwnd-demo: %s\n", error.c_str());
        status = 1;
    }
    if (!host.StopReason().empty()) {
        std::fprintf(stderr, "zrwnd-demo: %s:%s\n", script.c_str(), host.StopReason().c_str());
        status = 1;
    }
    // A frame asked for that could not be written fails the run.
    if (host.FailedShots() > 0) {
        std::fprintf(stderr, "zrwnd-demo: %d frames could not be written under %s\n", host.FailedShots(), out.c_str());
        status = 1;
    }
    if (!expect.empty()) {
        const auto mismatches = zrwnd::host::CompareFrames(frames, expect, tolerance);
        for (const std::string& m : mismatches) std::fprintf(stderr, "zrwnd-demo: %s\n", m.c_str());
        if (!mismatches.empty()) status = 1;
    }
    return status;
}
