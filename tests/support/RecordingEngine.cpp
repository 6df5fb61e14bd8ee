#include "support/RecordingEngine.h"

#include "zrwnd/Text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace zrtest {
namespace {

EngineCall MakeCall(const char* op, IDC* dc, std::vector<long long> args) {
    EngineCall call;
    call.op = op;
    call.args = std::move(args);
    call.dc = dc;
    if (dc) dc->GetClipRect(&call.clip);
    return call;
}

}  // namespace

void RecordingFont::Release() {
    ++releases;
    engine_->Record(EngineCall{"Font.Release", {}, {}, nullptr, {}});
}

bool RecordingFont::Create(LOGFONTA* font, unsigned a, int b) {
    EngineCall call{"Font.Create", {font ? font->lfHeight : 0, a, b}, font ? font->lfFaceName : "", nullptr, {}};
    engine_->Record(call);
    created = true;
    return created;
}

void RecordingFont::Clear() {
    created = false;
    engine_->Record(EngineCall{"Font.Clear", {}, {}, nullptr, {}});
}

void RecordingFont::DrawText(IDC* dc, const char* text, const ZrRect* rect, std::uint32_t argb,
                             std::uint32_t format, std::uint32_t borderArgb) {
    EngineCall call = MakeCall("DrawText", dc,
                               {rect ? rect->left : 0, rect ? rect->top : 0, rect ? rect->right : 0,
                                rect ? rect->bottom : 0, argb, format, borderArgb});
    call.text = text ? text : "";
    engine_->Record(call);
}

// A character of one byte is 6 pixels wide, any longer one 12, in either mode.
int RecordingFont::GetTextWidth(const char* text) {
    if (!text) return 0;
    int width = 0;
    for (int n = Length(text); n > 0; text += n, n = Length(text)) width += n == 1 ? kByteWidth : 2 * kByteWidth;
    return width;
}

int RecordingFont::GetCharWidth(const char* buf, int index) {
    if (!buf || index < 0 || index >= static_cast<int>(std::strlen(buf))) return 0;
    return GetByteKind(buf, index) == ZRBYTE_SINGLE ? kByteWidth : 2 * kByteWidth;
}

int RecordingFont::FitText(const char* text, int width, int) {
    if (!text) return -1;
    int used = 0;
    int i = 0;
    for (int n = Length(text); n > 0 && used + (n == 1 ? 1 : 2) * kByteWidth <= width; n = Length(text + i)) {
        used += (n == 1 ? 1 : 2) * kByteWidth;
        i += n;
    }
    return i - 1;
}

void RecordingFont::AdjustBoundary(const char* text, int* index, int flags) {
    if (!text || !index || *index < 0) return;
    // Keeping the bytes up to any but a character's last would split it.
    const int start = zrwnd::text::CharStart(text, *index, engine_->textMode);
    const int n = Length(text + start);
    if (n > 1 && *index != start + n - 1) *index = flags ? start + n - 1 : start - 1;
}

int RecordingFont::Length(const char* text) { return zrwnd::text::CharLength(text, engine_->textMode); }

int RecordingFont::GetByteKind(const char* text, int index) {
    if (!text || index < 0) return ZRBYTE_SINGLE;
    for (int i = 0, n = Length(text); n > 0; i += n, n = Length(text + i)) {
        if (index < i + n) return n == 1 ? ZRBYTE_SINGLE : index == i ? ZRBYTE_LEAD : ZRBYTE_TRAIL;
    }
    return ZRBYTE_SINGLE;
}

int RecordingFont::GetLineCount(const char* text, int width) {
    if (!text || !*text) return 0;
    // Each line between breaks wraps on its own, every perLine bytes.
    const int perLine = std::max(1, width / kByteWidth);
    int lines = 0;
    const char* line = text;
    for (;;) {
        const char* end = std::strchr(line, '\n');
        const int length = static_cast<int>(end ? end - line : std::strlen(line));
        lines += std::max(1, (length + perLine - 1) / perLine);
        if (!end || !end[1]) break;
        line = end + 1;
    }
    return lines;
}

void RecordingImage::Release() {
    engine_->Record(EngineCall{"Image.Release", {}, {}, nullptr, {}});
    delete this;
}

bool RecordingImage::Load(const char* path, int option) {
    engine_->Record(EngineCall{"Image.Load", {option}, path ? path : "", nullptr, {}});
    loaded_ = false;
    if (!path) return false;
    for (const auto& file : engine_->imageFiles) {
        if (file.path == path) {
            loaded_ = true;
            width_ = file.width;
            height_ = file.height;
        }
    }
    return loaded_;
}

void RecordingImage::Draw(IDC* dc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int reserved1,
                          int reserved2) {
    EngineCall call = MakeCall("Image.Draw", dc, {srcX, srcY, srcW, srcH, dstX, dstY, reserved1, reserved2});
    engine_->Record(call);
}

namespace {
RecordingEngine* g_current = nullptr;
}  // namespace

RecordingEngine* RecordingEngine::Current() { return g_current; }
void RecordingEngine::SetCurrent(RecordingEngine* engine) { g_current = engine; }

RecordingEngine::RecordingEngine(int w, int h) : width(w), height(h) {}

RecordingEngine::~RecordingEngine() {
    for (RecordingFont* font : createdFonts) delete font;
}

void RecordingEngine::GetClientSize(int* w, int* h) {
    if (w) *w = width;
    if (h) *h = height;
}

void RecordingEngine::FillRect(IDC* dc, int l, int t, int r, int b, std::uint32_t argb) {
    Record(MakeCall("FillRect", dc, {l, t, r, b, argb}));
}

void RecordingEngine::FillRect(IDC* dc, const ZrRect* rect, std::uint32_t argb) {
    if (!rect) return;
    Record(MakeCall("FillRect", dc, {rect->left, rect->top, rect->right, rect->bottom, argb}));
}

void RecordingEngine::DrawLine(IDC* dc, int x1, int y1, int x2, int y2, std::uint32_t argb) {
    Record(MakeCall("DrawLine", dc, {x1, y1, x2, y2, argb}));
}

IZrImage* RecordingEngine::CreateImage() {
    Record(EngineCall{"CreateImage", {}, {}, nullptr, {}});
    return new RecordingImage(this);
}

IFont2* RecordingEngine::CreateFont() {
    // Fonts stay alive until the engine goes, so a test can inspect a released one.
    auto* font = new RecordingFont(this, false);
    createdFonts.push_back(font);
    Record(EngineCall{"CreateFont", {}, {}, nullptr, {}});
    return font;
}

bool RecordingEngine::BeginScene() {
    Record(EngineCall{"BeginScene", {}, {}, nullptr, {}});
    return true;
}

void RecordingEngine::PresentRect(const ZrRect* rect) {
    EngineCall call{"PresentRect", {}, rect ? "" : "all", nullptr, {}};
    if (rect) call.args = {rect->left, rect->top, rect->right, rect->bottom};
    Record(call);
}

void RecordingEngine::EndScene() { Record(EngineCall{"EndScene", {}, {}, nullptr, {}}); }

bool RecordingEngine::RenderHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Record(EngineCall{"RenderHandleMessage", {message, static_cast<long long>(wParam), lParam}, {}, nullptr, {}});
    if (message != ZRWM_TEXTMODE || !takesUtf8) return false;
    textMode = wParam == ZRTEXTMODE_UTF8 ? zrwnd::text::Mode::Utf8 : zrwnd::text::Mode::Gbk;
    return true;
}

void RecordingEngine::Lock() {
    lock_.lock();
    maxLockDepth = std::max(maxLockDepth, ++lockDepth);
}

void RecordingEngine::Unlock() {
    --lockDepth;
    lock_.unlock();
}

void RecordingEngine::Print(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format ? format : "", args);
    va_end(args);
    logLines.emplace_back(line);
}

void RecordingEngine::Record(EngineCall call) {
    std::lock_guard<std::mutex> guard(callsMutex_);
    calls_.push_back(std::move(call));
}

std::vector<EngineCall> RecordingEngine::Calls(const std::string& op) const {
    std::lock_guard<std::mutex> guard(callsMutex_);
    std::vector<EngineCall> out;
    for (const auto& call : calls_) {
        if (op.empty() || call.op == op) out.push_back(call);
    }
    return out;
}

int RecordingEngine::Count(const std::string& op) const { return static_cast<int>(Calls(op).size()); }

void RecordingEngine::ClearCalls() {
    std::lock_guard<std::mutex> guard(callsMutex_);
    calls_.clear();
}

}  // namespace zrtest
