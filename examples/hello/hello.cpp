// hello: a small game screen on ZrWnd: a title, a name box, a greeting button
// and a sound check box, with their handlers.
//
//   hello                    an SDL2 window (when ZrWnd has its SDL2 host)
//   hello --headless FILE    types a name, clicks, and writes the frame to FILE
#include <cstdio>
#include <string>
#include <vector>

#include <zrwnd/ZrWnd.h>

#include <zrwnd/host/HeadlessHost.h>
#ifdef HELLO_HAVE_SDL
#include <zrwnd/host/SdlHost.h>
#endif

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 200;

class HelloScreen {
public:
    HelloScreen() {
        // Every context and rectangle below is in the parent's client
        // coordinates; a window draws itself in its own (docs/coordinates.md).
        ZrRect all{0, 0, kWidth, kHeight};
        root_.Create(all, nullptr, ZRWS_VISIBLE);
        root_.SetClrFill(0xFF1E2838);
        root_.SetBorderWidth(0);
        ZrRect top{20, 16, kWidth - 20, 56};
        banner_.Create(top, &root_, ZRWS_VISIBLE);
        banner_.SetClrFill(0xFF2E5A88);
        ZrRect inside{0, 0, kWidth - 40, 40};
        title_.Create(inside, &banner_, ZRWS_VISIBLE);
        title_.SetAlign(ZRLABEL_CENTER | ZRLABEL_MIDDLE);
        title_.SetWndText("你好, ZrWnd");

        ZrRect box{20, 76, 220, 100};
        name_.Create(box, &root_, ZRWS_VISIBLE);
        name_.SetMaxLength(16);
        ZrRect button{236, 76, 340, 100};
        greet_.Create(button, &root_, ZRWS_VISIBLE | ZRBS_PUSH);
        greet_.SetWndText("问候 Greet");
        ZrRect check{20, 120, 200, 144};
        sound_.Create(check, &root_, ZRWS_VISIBLE | ZRBS_CHECK);
        sound_.SetWndText("声音 Sound");
        zrwnd::SetTooltip(&greet_, "问候 Say hello");
        // Tab goes from the name box to the button; Enter there greets.
        zrwnd::SetTabOrder({&name_, &greet_});
        zrwnd::SetDefaultWnd(&root_, &greet_);

        // Handlers take their own record: no casts.
        zrwnd::Subscribe(&greet_, ZrEventClicked, [this](ZrWndEventArgs&) { Greet(); });
        CreateDrvWnd()->SetRootWnd(&root_);
    }
    ~HelloScreen() { CreateDrvWnd()->SetRootWnd(nullptr); }

    bool Greeted() const { return greeted_; }
    bool SoundOn() { return sound_.IsChecked(); }

private:
    void Greet() {
        // UTF-8 in and out: no conversion anywhere.
        const std::string name = name_.GetWndText().c_str();
        title_.SetWndText(("你好, " + (name.empty() ? std::string("stranger") : name) + "!").c_str());
        greeted_ = true;
    }

    Panel root_;
    Panel banner_;
    Label title_;
    Edit name_;
    Button greet_;
    Button sound_;
    bool greeted_ = false;
};

// Types a name, clicks the button and the check box, takes the frame.
const char* kScript =
    "move 60 88\n"
    "down left\n"
    "up left\n"
    "char Ada\n"
    "move 280 88\n"
    "down left\n"
    "up left\n"
    "move 30 132\n"
    "down left\n"
    "up left\n"
    "wait 100\n";

int RunHeadless(const std::string& file) {
    std::vector<zrwnd::host::ScriptCommand> script;
    std::string error;
    const size_t slash = file.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : file.substr(0, slash);
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (!zrwnd::host::ParseScript(kScript + std::string("shot ") + name + "\n", "hello", &script, &error)) {
        std::fprintf(stderr, "hello: %s\n", error.c_str());
        return 1;
    }
    zrwnd::host::HeadlessHost host(kWidth, kHeight, ".");
    // Light captions and opaque menus on any background: set once, before
    // the first window (the screen's windows are made with it).
    zrwnd::SetLook(zrwnd::ReadableLook());
    HelloScreen screen;
    const auto written = host.Run(script, dir);
    if (written.size() != 1 || !screen.Greeted() || !screen.SoundOn()) {
        std::fprintf(stderr, "hello: the scripted clicks did not land\n");
        return 1;
    }
    std::printf("%s\n", written[0].c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The game's texts are UTF-8, and so is the toolkit's mode: chosen before
    // a host starts the driver, and no text is converted anywhere.
    zrwnd::text::SetMode(zrwnd::text::Mode::Utf8);
    if (argc == 3 && std::string(argv[1]) == "--headless") return RunHeadless(argv[2]);
#ifdef HELLO_HAVE_SDL
    if (argc == 1) {
        zrwnd::host::SdlHost host(kWidth, kHeight, ".", "ZrWnd hello");
        if (!host.Ok()) {
            std::fprintf(stderr, "hello: no window (%s); try: hello --headless hello.png\n", host.Error().c_str());
            return 1;
        }
        zrwnd::SetLook(zrwnd::ReadableLook());
        HelloScreen screen;
        return host.Run();
    }
#endif
    std::fprintf(stderr, "usage: hello [--headless FILE.png]\n");
    return 2;
}
