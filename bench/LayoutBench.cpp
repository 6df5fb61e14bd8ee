#include <benchmark/benchmark.h>

#include <string>

#include "NullEngine.h"
#include "zrwnd/ZrWnd.h"
#include "zrwnd/Layout.h"

namespace {

// A screen of 1,000 windows: 10 panels of 99 stock controls each (buttons,
// edit boxes, scroll bars in turn), with rectangles, styles, texts and the
// controls' own settings, as an artist's file would have them.
std::string Screen() {
    std::string xml = "<layout>\n<window type=\"DefWnd\" name=\"screen\" rect=\"0,0,1280,720\" style=\"visible\">\n";
    for (int p = 0; p < 10; ++p) {
        const std::string panel = "panel" + std::to_string(p);
        xml += "  <window type=\"DefWnd\" name=\"" + panel + "\" rect=\"" + std::to_string(p * 128) +
               ",0," + std::to_string(p * 128 + 128) + ",720\" style=\"visible\" text=\"面板 Panel\">\n";
        for (int c = 0; c < 99; ++c) {
            const std::string name = panel + ".c" + std::to_string(c);
            const std::string rect = "4," + std::to_string(c * 7) + ",124," + std::to_string(c * 7 + 7);
            switch (c % 3) {
                case 0:
                    xml += "    <window type=\"Button\" name=\"" + name + "\" rect=\"" + rect +
                           "\" style=\"visible check\" text=\"选项\" check=\"true\" group=\"2\"/>\n";
                    break;
                case 1:
                    xml += "    <window type=\"Edit\" name=\"" + name + "\" rect=\"" + rect +
                           "\" style=\"visible\" maxlength=\"32\" text=\"player\" back=\"#FF102030\"/>\n";
                    break;
                default:
                    xml += "    <window type=\"ScrollBar\" name=\"" + name + "\" rect=\"" + rect +
                           "\" style=\"visible\" range=\"0,100\" pos=\"40\"/>\n";
                    break;
            }
        }
        xml += "  </window>\n";
    }
    return xml + "</window>\n</layout>\n";
}

// Loading the screen under a live driver (no root yet, as a game loads a
// screen before showing it), then unloading it.
void BM_LoadLayoutOf1000Windows(benchmark::State& state) {
    NullEngine engine(1280, 720);
    CreateDrvWnd()->Init(&engine);
    const std::string xml = Screen();
    for (auto _ : state) {
        ZrString error;
        IWnd* top = zrwnd::LoadLayoutString(xml.c_str(), "screen.xml", nullptr, &error);
        if (!top) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.PauseTiming();
        zrwnd::UnloadLayout(top);
        state.ResumeTiming();
    }
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
}
BENCHMARK(BM_LoadLayoutOf1000Windows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
