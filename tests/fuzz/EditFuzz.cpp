#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "zrwnd/engine/SoftEngine.h"
#include "support/RecordingEngine.h"
#include "support/TreeProgram.h"
#include "tests/fuzz/FuzzCheck.h"
#include "wnd/WndNameRegistry.h"
#include "zrwnd/ZrWnd.h"
#include "platform/portable/Testing.h"

// An edit box and a rich edit, on the reference engine's fonts, in GBK or
// UTF-8 mode (the input's first byte), under keys, characters (whole ones,
// lone lead bytes, bytes no character begins with), mouse drags, clipboard hooks that answer honestly or lie, and the
// calls a game makes (a text set under a selection, a shorter maximum,
// password mode, fonts, appended text, a deleted scroll bar). After every
// step the box's caret, anchor and view lie in its text (in UTF-8 mode on its
// character boundaries, and the text is well-formed UTF-8), and after every text
// change the rich edit's range is the text's height past its area, measured
// afresh.
namespace {

// The host's clipboard; `lie` picks how its read hook answers.
struct Clipboard {
    std::string text;
    unsigned lie = 0;
    static int Read(void* self, char* buffer, int size) {
        auto* c = static_cast<Clipboard*>(self);
        const int length = static_cast<int>(c->text.size());
        const int filled = std::min(length, size - 1);
        std::memcpy(buffer, c->text.data(), static_cast<size_t>(filled));
        buffer[filled] = '\0';
        switch (c->lie % 7) {
            case 1: return length;  // the whole length, though only the buffer was filled
            case 2: return std::numeric_limits<int>::min();
            case 3: return -2000000000;
            case 4: return -(filled + 1);  // "too small" of a text that fitted
            case 5: return -1;
            case 6: zrwnd::native::portable::PostedMessageCount(); [[fallthrough]];  // a hook that calls back in
            default: return length + 1 > size ? -(length + 1) : length;
        }
    }
    static bool Write(void* self, const char* text) {
        static_cast<Clipboard*>(self)->text = text;
        return true;
    }
};

std::string SomeBytes(zrtest::Choices& choices) {
    std::string text(choices.Pick(24), ' ');
    for (char& c : text) c = static_cast<char>(1 + choices.Pick(255));
    return text;
}

void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { CreateDrvWnd()->HandleMessage(message, wParam, lParam); }

void CheckEdit(Edit* edit) {
    if (!edit) return;
    const int length = edit->GetWndText().GetLength();
    for (int at : {edit->GetCaret(), edit->GetAnchor(), edit->GetFirstVisible()}) {
        FUZZ_CHECK(at >= 0 && at <= length, "the caret, the anchor and the view lie in the text");
    }
    if (zrwnd::text::GetMode() != zrwnd::text::Mode::Utf8) return;
    const ZrString held = edit->GetWndText();
    const char* text = held.c_str();
    // The anchor of a selection not under way is never read.
    const int anchor = edit->IsSelectionActive() ? edit->GetAnchor() : edit->GetCaret();
    for (int at : {edit->GetCaret(), anchor, edit->GetFirstVisible()}) {
        FUZZ_CHECK(zrwnd::text::CharStart(text, at, zrwnd::text::Mode::Utf8) == at, "no index splits a character");
    }
    for (const char* p = text; *p; p += zrwnd::text::CharLength(p)) {
        FUZZ_CHECK(zrwnd::text::CharLength(p) > 1 || static_cast<unsigned char>(*p) < 0x80, "the text is whole UTF-8");
    }
}

void CheckRange(RichEdit* rich) {
    IScrollBar* bar = rich ? rich->GetScrollBar() : nullptr;
    IFont2* font = rich ? rich->GetFont() : nullptr;
    if (!bar || !font) return;
    const ZrString text = rich->GetWndText();
    if (text.GetLength() == 0) return;
    ZrRect r;
    rich->GetClientRect(&r);
    const long long lines = font->GetLineCount(text.c_str(), r.right - r.left - bar->GetWidth());
    const long long excess = font->GetLineSpacing() * (lines - 1) + font->GetFontHeight() * lines - (r.bottom - r.top);
    if (excess > 0) FUZZ_CHECK(bar->GetScrollMax() == excess, "the range is the text's height past the area");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrwnd::native::portable::UseManualClock(true);
    static zrwnd::engine::SoftEngine engine(nullptr, 320, 160);
    static const bool quiet = (engine.SetLogSink([](void*, const std::string&) {}, nullptr), true);
    (void)quiet;
    zrwnd::text::SetMode(size > 0 && (data[0] & 1) ? zrwnd::text::Mode::Utf8 : zrwnd::text::Mode::Gbk);
    if (size > 0) ++data, --size;
    IDrvWnd* driver = CreateDrvWnd();
    FUZZ_CHECK(driver->Init(&engine), "the driver starts");
    {
        IWnd root;
        ZrRect all{0, 0, 320, 160}, field{10, 10, 150, 34}, news{10, 40, 310, 150};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver->SetRootWnd(&root);
        zrwnd::WeakWnd<Edit> edit(new Edit);
        edit->Create(field, &root, ZRWS_VISIBLE);
        zrwnd::WeakWnd<RichEdit> rich(new RichEdit);
        rich->Create(news, &root, ZRWS_VISIBLE);
        // Short enough that drawing it every few steps keeps a run quick.
        rich->SetMaxLength(600);
        Clipboard clipboard;
        zrwnd::native::portable::SetClipboardHooks(&Clipboard::Read, &Clipboard::Write, &clipboard);
        static const WPARAM kKeys[] = {VK_BACK, VK_DELETE, VK_HOME, VK_END, VK_LEFT, VK_RIGHT, 'C', 'V', 'X'};
        zrtest::ByteChoices choices(data, size);
        for (int step = 0; step < 600 && !choices.Exhausted(); ++step) {
            switch (choices.Pick(16)) {
                case 0:
                case 1: Send(WM_CHAR, choices.Pick(256)); break;
                case 2: {
                    const WPARAM modifier = choices.Pick(3) == 0 ? 0 : choices.Pick(2) ? VK_SHIFT : VK_CONTROL;
                    if (modifier) Send(WM_KEYDOWN, modifier);
                    Send(WM_KEYDOWN, kKeys[choices.Pick(sizeof kKeys / sizeof kKeys[0])]);
                    if (modifier) Send(WM_KEYUP, modifier);
                    break;
                }
                case 3: {
                    const int from = static_cast<int>(choices.Pick(180)) - 20, to = static_cast<int>(choices.Pick(180)) - 20;
                    Send(WM_MOUSEMOVE, 0, zrtest::Point(from, 20));
                    Send(WM_LBUTTONDOWN);
                    Send(WM_MOUSEMOVE, 0, zrtest::Point(to, 20));
                    Send(WM_LBUTTONUP);
                    break;
                }
                case 4:
                    if (edit) edit->SetWndText(SomeBytes(choices).c_str());
                    break;
                case 5:
                    if (!edit) break;
                    switch (choices.Pick(4)) {
                        case 0: edit->SetMaxLength(static_cast<int>(choices.Pick(40))); break;
                        case 1: edit->SetPassword(choices.Pick(2) == 0); break;
                        case 2: edit->SetReadOnly(choices.Pick(4) == 0); break;
                        default: edit->SelectAll(); break;
                    }
                    break;
                case 6:
                    clipboard.text = SomeBytes(choices);
                    clipboard.lie = choices.Pick(7);
                    break;
                case 7:
                    if (rich && rich->AppendText(SomeBytes(choices).c_str())) CheckRange(rich.Get());
                    break;
                case 8:
                    if (rich && rich->SetWndText(SomeBytes(choices).c_str())) CheckRange(rich.Get());
                    break;
                case 9: {
                    LOGFONTA font{};
                    font.lfHeight = choices.Pick(8) == 0 ? std::numeric_limits<LONG>::min()
                                                         : static_cast<LONG>(choices.Pick(48)) - 24;
                    if (rich) rich->SetFont(&font, 0, 0);
                    break;
                }
                case 10:
                    if (!rich || !rich->GetScrollBar()) break;
                    if (choices.Pick(8) == 0) {
                        delete rich->GetScrollBar();
                    } else {
                        rich->GetScrollBar()->SetScrollPos(static_cast<int>(choices.Pick(600)));
                    }
                    break;
                case 11: driver->InvalidateRect(nullptr, true); break;
                default: Send(WM_CHAR, 'a' + choices.Pick(26)); break;
            }
            CheckEdit(edit.Get());
        }
        zrwnd::native::portable::SetClipboardHooks(nullptr, nullptr, nullptr);
        delete edit.Get();
        delete rich.Get();
        driver->SetRootWnd(nullptr);
    }
    if (zrwnd::WndNameRegistry* names = zrwnd::WndNameRegistry::Existing()) names->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrwnd::native::portable::Reset();
    return 0;
}
