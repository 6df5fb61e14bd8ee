// The smallest program on an installed ZrWnd through pkg-config:
//   c++ -std=c++17 hello_pc.cpp $(pkg-config --cflags --libs zrwnd-headless) -o hello_pc
//   ./hello_pc frame.png
#include <cstdio>
#include <string>

#include <zrwnd/ZrWnd.h>

#include <zrwnd/host/HeadlessHost.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hello_pc FILE.png\n");
        return 2;
    }
    zrwnd::host::HeadlessHost host(200, 80, ".");
    Button button;
    ZrRect place{40, 24, 160, 56};
    button.Create(place, nullptr, ZRWS_VISIBLE | ZRBS_PUSH);
    button.SetWndText(zrwnd::text::Utf8ToGbk("按我 Press").c_str());
    int clicks = 0;
    zrwnd::Subscribe(&button, ZrEventClicked, [&](ZrWndEventArgs&) { ++clicks; });
    host.Driver()->SetRootWnd(&button);
    std::vector<zrwnd::host::ScriptCommand> script;
    std::string error;
    zrwnd::host::ParseScript("move 100 40\ndown left\nup left\nshot frame.png\n", "hello_pc", &script, &error);
    const auto written = host.Run(script, ".");
    host.Driver()->SetRootWnd(nullptr);
    if (clicks != 1 || written.empty() || !host.Engine().WritePng(argv[1])) {
        std::fprintf(stderr, "hello_pc: the click did not land\n");
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
