#include "zrwnd/controls/Edit.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/Text.h"
#include "zrwnd/Timer.h"

namespace {

constexpr std::uint32_t kRepaintPeriodMs = 30;
constexpr std::uint32_t kTextFormat = 0x61;
// The caret shows for the first 400 ms of every second after a restart.
constexpr int kBlinkOnMs = 400;
constexpr int kBlinkCycleMs = 1000;

constexpr int kBackspace = 8;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kRight = 39;
constexpr int kDelete = 46;
constexpr int kCopy = 'C';
constexpr int kPaste = 'V';
constexpr int kCut = 'X';

bool Utf8() { return zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8; }

// Whether `text` is the start of a UTF-8 character cut short by its end.
bool CutUtf8(const char* text) {
    const int wanted = zrwnd::text::Utf8SequenceLength(static_cast<unsigned char>(text[0]));
    int i = 1;
    while (i < wanted && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    return wanted > 1 && i < wanted && !text[i];
}

// The text as a box keeps it: whole characters only. A character cut short at
// the end (by a limit, or pasted) goes; any other byte that begins no
// character becomes what it is shown as ('?' in GBK, U+FFFD in UTF-8), so
// that no later edit joins it with a neighbour into a character nobody typed.
std::string WholeCharacters(const char* text) {
    std::string out;
    const bool utf8 = Utf8();
    for (int n = zrwnd::text::CharLength(text); n > 0; text += n, n = zrwnd::text::CharLength(text)) {
        const auto byte = static_cast<unsigned char>(*text);
        if (n > 1 || byte < 0x80) {
            out.append(text, static_cast<size_t>(n));
        } else if (utf8) {
            if (CutUtf8(text)) break;  // the rest of the text is this character's
            out.append("\xEF\xBF\xBD");
        } else if (text[1] || !zrwnd::text::IsLeadByte(byte)) {
            out.push_back('?');
        }
    }
    return out;
}

// Where a word move stops: words are runs of letters and digits, runs of
// punctuation, and each CJK character alone; spaces go with the word before.
enum class WordKind { kSpace, kPunctuation, kCjk, kLetters };

WordKind KindOf(std::uint32_t c) {
    if (c <= 0x20 || c == 0x3000) return WordKind::kSpace;
    if (c < 0x80) return std::isalnum(static_cast<int>(c)) || c == '_' ? WordKind::kLetters : WordKind::kPunctuation;
    if ((c >= 0x3001 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F) || (c >= 0x2010 && c <= 0x205E)) {
        return WordKind::kPunctuation;
    }
    if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
        (c >= 0x20000 && c <= 0x3FFFF)) {
        return WordKind::kCjk;
    }
    return WordKind::kLetters;
}

// The character boundary at or before index, walking from the start.
int BoundaryAtOrBefore(const char* text, int index) {
    int i = 0;
    while (text[i] && i < index) {
        const int step = zrwnd::text::CharLength(text + i);
        if (i + step > index) break;
        i += step;
    }
    return i;
}

// The half-typed two-byte character, shared by every edit box: its lead byte
// may arrive in one box and its trail byte in another.
struct PendingCharacter {
    bool leadPending = false;
    int wanted = 0;  // UTF-8: the bytes the character takes
    int have = 0;
    char bytes[5] = {};
};

PendingCharacter& Pending() {
    static PendingCharacter pending;
    return pending;
}

}  // namespace

Edit::Edit() : repaint_(this, &Edit::OnRepaintTick), press_(this) { zrwnd::SetTabStop(this, true); }

// The repaint timer is tied to the box and stops with it; the timer service
// itself may already be gone with a released driver.
Edit::~Edit() = default;

bool Edit::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    if (!zrwnd::Survives(this, [&] { IWnd::Create(rect, parent, style); })) return false;
    hasTimers_ = zrwnd::Driver()->GetTimer() != nullptr;
    return hasTimers_;
}

bool Edit::OnRepaintTick(const ZrEventArgs&) {
    Invalidate(true);
    return true;
}

const char* Edit::BoundaryText() {
    // In UTF-8 a password's asterisks (one a byte) step by the characters of
    // the real text, so that no edit splits one.
    return password_ && Utf8() ? _WndText().c_str() : display_.c_str();
}

int Edit::ByteKind(int index) {
    IFont2* font = GetFont();
    const char* text = BoundaryText();
    if (!font) {
        const int start = BoundaryAtOrBefore(text, index);
        if (zrwnd::text::CharLength(text + start) == 1) return ZRBYTE_SINGLE;
        return start == index ? ZRBYTE_LEAD : ZRBYTE_TRAIL;
    }
    // First visible is always on a character boundary: asking from there keeps
    // the font's walk as short as the view instead of as long as the text.
    const int base = index >= firstVisible_ ? firstVisible_ : 0;
    return font->GetByteKind(text + base, index - base);
}

int Edit::WidthBetween(int from, int to) {
    IFont2* font = GetFont();
    if (!font || to <= from) return 0;
    run_.assign(display_.c_str() + from, static_cast<size_t>(to - from));
    return font->GetTextWidth(run_.c_str());
}

void Edit::ApplyText(const char* text) {
    _WndText() = text;
    display_ = text;
    if (password_) {
        const int length = display_.GetLength();
        for (int i = 0; i < length; ++i) display_.SetAt(i, '*');
    }
    KeepInText();
}

void Edit::KeepInText() {
    // Whatever the new text is, every index into it stays inside it and on a
    // character boundary: a selection made in a longer text is cut to this one.
    const int length = display_.GetLength();
    const char* text = BoundaryText();
    caret_ = BoundaryAtOrBefore(text, std::clamp(caret_, 0, length));
    anchor_ = BoundaryAtOrBefore(text, std::clamp(anchor_, 0, length));
    firstVisible_ = BoundaryAtOrBefore(text, std::clamp(firstVisible_, 0, length));
}

void Edit::ClearSelection() {
    if (!selecting_) return;
    selecting_ = false;
    anchor_ = caret_;
}

void Edit::BeginSelection() {
    if (selecting_) return;
    selecting_ = true;
    anchor_ = caret_;
}

bool Edit::HasSelection() const { return selecting_ && anchor_ != caret_; }

void Edit::RestartBlink() { blinkStart_ = zrwnd::Driver()->GetTimer()->GetStopwatch()->Now(); }

void Edit::MoveCaret(int delta, bool byCharacters) {
    if (delta == 0) return;
    const int length = display_.GetLength();
    if (!byCharacters) {
        caret_ = std::clamp(caret_ + delta, 0, length);
        RestartBlink();
        return;
    }
    const int step = delta < 0 ? -1 : 1;
    for (int i = 0; i != delta; i += step) {
        caret_ += step;
        if (caret_ < 0) {
            caret_ = 0;
            return;
        }
        if (caret_ > length) {
            caret_ = length;
            return;
        }
        // Past the rest of a character (one more byte in GBK, up to three in UTF-8).
        while (caret_ > 0 && caret_ < length && ByteKind(caret_) == ZRBYTE_TRAIL) caret_ += step;
    }
    RestartBlink();
}

void Edit::KeepViewOnBoundary(int editAt) {
    // Edits at or after the first visible byte leave the bytes before it, and
    // so its boundary, alone; an edit before it (the view not laid out since
    // the caret left it) may not.
    if (editAt < firstVisible_) firstVisible_ = BoundaryAtOrBefore(BoundaryText(), firstVisible_);
}

void Edit::DeleteChars(int position, int count, bool byCharacters) {
    const int length = std::min(display_.GetLength(), _WndText().GetLength());
    if (position < 0 || position >= length || count == 0) return;
    // The text and its display change in place: an edit costs the bytes after
    // it, not the whole text.
    ZrString& text = _WndText();
    if (byCharacters) {
        // The real text is walked, also in password mode, so a two-byte
        // character goes whole even though the display shows two asterisks.
        const int textLength = text.GetLength();
        int bytes = 0;
        for (int i = 0; i < count && position + bytes < textLength; ++i) {
            bytes += zrwnd::text::CharLength(text.c_str() + position + bytes);
        }
        count = std::min(bytes, textLength - position);
    }
    text.Delete(position, count);
    display_.Delete(position, count);
    KeepViewOnBoundary(position);
    // The anchor of a selection not under way may lie past the shorter text.
    anchor_ = std::min(anchor_, display_.GetLength());
}

void Edit::DeleteSelection() {
    if (!selecting_) return;
    const int start = std::min(anchor_, caret_);
    const int count = std::abs(anchor_ - caret_);
    caret_ = start;
    DeleteChars(start, count, false);
    ClearSelection();
}

void Edit::InsertText(const char* text) {
    if (!text) return;
    std::string insert(text);
    const int textLength = display_.GetLength();
    // The room is taken before a selection that is about to be replaced goes:
    // the selection does not count as free room.
    if (textLength + static_cast<int>(insert.size()) > maxLength_) {
        int room = maxLength_ - textLength - 1;
        if (room >= 0) {
            if (IFont2* font = GetFont()) font->AdjustBoundary(insert.c_str(), &room, 0);
        }
        insert.resize(room + 1 > 0 ? static_cast<size_t>(room + 1) : 0);
    }
    insert = WholeCharacters(insert.c_str());
    // U+FFFD for a broken byte takes three: the limit still holds.
    while (textLength + static_cast<int>(insert.size()) > maxLength_ && !insert.empty()) {
        insert.resize(static_cast<size_t>(
            zrwnd::text::CharStart(insert.c_str(), static_cast<int>(insert.size()) - 1, zrwnd::text::GetMode())));
    }
    DeleteSelection();
    _WndText().Insert(caret_, insert.c_str());
    display_.Insert(caret_, password_ ? std::string(insert.size(), '*').c_str() : insert.c_str());
    // Bytes inserted before the first visible one move characters under it.
    KeepViewOnBoundary(caret_);
    MoveCaret(static_cast<int>(insert.size()), false);
}

void Edit::EnsureCaretVisible(int width) {
    IFont2* font = GetFont();
    if (!font) return;
    firstVisible_ = std::min(firstVisible_, display_.GetLength());
    const char* view = display_.c_str() + firstVisible_;
    const int fit = font->FitText(view, width, 0);
    if (firstVisible_ <= caret_ && caret_ <= firstVisible_ + fit + 1) return;
    if (caret_ == 0) {
        firstVisible_ = 0;
        return;
    }
    // The caret goes to the right edge, with as much text before it as fits.
    // Byte kinds are asked from a boundary at or before the walk's bytes.
    const int base = caret_ >= firstVisible_ ? firstVisible_ : 0;
    if (Utf8()) {
        // Character by character: a character is counted once, whatever its bytes.
        const char* text = BoundaryText() + base;
        const int spacing = font->GetCharSpacing();
        int first = caret_, sum = 0;
        while (first > base) {
            const int previous = base + zrwnd::text::CharStart(text, first - base - 1, zrwnd::text::Mode::Utf8);
            sum += font->GetCharWidth(display_.c_str() + base, previous - base) + spacing;
            if (sum > width) break;
            first = previous;
            if (sum == width) break;
        }
        firstVisible_ = first;
        return;
    }
    const char* buffer = display_.c_str() + base;
    const int spacing = font->GetCharSpacing();
    int first = caret_ - 1;
    int sum = 0;
    while (first >= base) {
        sum += font->GetCharWidth(buffer, first - base) + spacing;
        if (sum > width) {
            first += font->GetByteKind(buffer, first - base) == ZRBYTE_LEAD ? 2 : 1;
            break;
        }
        if (sum == width) {
            if (font->GetByteKind(buffer, first - base) == ZRBYTE_TRAIL) first += 1;
            break;
        }
        --first;
    }
    firstVisible_ = std::max(first, 0);
}

void Edit::CaretFromPoint(int x) {
    IFont2* font = GetFont();
    firstVisible_ = std::min(firstVisible_, display_.GetLength());
    const int fit = font ? font->FitText(display_.c_str() + firstVisible_, x, 2) : -1;
    caret_ = std::min(firstVisible_ + fit + 1, display_.GetLength());
    // A password's asterisks are one a byte: in UTF-8 the caret still stops
    // between characters of the real text.
    if (password_ && Utf8()) caret_ = BoundaryAtOrBefore(BoundaryText(), caret_);
    // Left of the view the caret steps out of it; the next drawing lays the
    // view out again.
    if (x < 0) MoveCaret(-1, true);
}

void Edit::CopyToClipboard(const char* text, int length) {
    if (!text || length <= 0) return;
    zrwnd::native::SetClipboardText(std::string(text, static_cast<size_t>(length)).c_str());
}

bool Edit::GetClipboardText(std::string* out) { return zrwnd::native::GetClipboardText(out); }

void Edit::OnTextChanged(ZrWndEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnTextChanged(args); })) return;
    ZrString text = GetWndText();
    if (text.GetLength() > maxLength_) {
        int keep = maxLength_ - 1;
        if (IFont2* font = GetFont()) font->AdjustBoundary(text.c_str(), &keep, 0);
        text = text.Left(keep + 1);
    }
    // Half a character at the end is not kept either.
    text = WholeCharacters(text.c_str()).c_str();
    // The whole text is new: the selection and the first visible byte stay
    // where they were, inside the new text and on its boundaries.
    ApplyText(text);
    caret_ = display_.GetLength();
    Invalidate(true);
}

void Edit::OnActivated(ZrActiveEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnActivated(args); })) return;
    // Tied to the box: the repaint stops when the box is deleted.
    if (hasTimers_) SetWndTimer(ZRTIMER_EDIT_CARET, kRepaintPeriodMs, repaint_);
}

void Edit::OnDeactivated(ZrActiveEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnDeactivated(args); })) return;
    if (hasTimers_) KillWndTimer(ZRTIMER_EDIT_CARET, repaint_);
    ClearSelection();
    Invalidate(true);
}

void Edit::OnIMEChanged(ZrIMEEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnIMEChanged(args); })) return;
    layout_ = args.newLayout;
}

void Edit::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnMouseDown(args); }) || readOnly_) return;
    zrwnd::MarkHandled(this, args);
    // A drag selection is a press of the left button.
    if (!press_.Press(args)) return;
    ZrPoint point{args.x, args.y};
    ScreenToClient(&point);
    CaretFromPoint(point.x);
    ClearSelection();
    BeginSelection();
    // A password box always goes back to the plain layout; any other box
    // chooses the input method it last had.
    IDrvWnd* driver = zrwnd::Driver();
    const bool alive = zrwnd::Survives(this, [&] {
        if (password_) {
            driver->RestoreKeyboardLayout();
        } else if (layout_) {
            driver->SelectKeyboardLayout(layout_);
        }
    });
    if (!alive) return;
    RestartBlink();
    Invalidate(true);
}

void Edit::OnMouseMove(ZrMouseEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnMouseMove(args); }) || readOnly_) return;
    zrwnd::MarkHandled(this, args);
    // The anchor stays: the selection follows the pointer while the press lasts.
    if (!press_.IsPressed()) return;
    ZrPoint point{args.x, args.y};
    ScreenToClient(&point);
    CaretFromPoint(point.x);
}

void Edit::OnMouseUp(ZrMouseEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnMouseUp(args); }) || readOnly_) return;
    zrwnd::MarkHandled(this, args);
    if (args.button != ZRMOUSE_LEFT) return;
    if (!zrwnd::Survives(this, [&] { press_.End(args); })) return;
    // A click without a drag leaves no selection.
    if (!HasSelection()) ClearSelection();
}

void Edit::OnKeyDown(ZrKeyEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); })) return;
    const bool shift = (args.state & ZRSTATE_SHIFT) != 0;
    const bool ctrl = (args.state & ZRSTATE_CTRL) != 0;
    auto selectOrClear = [&] {
        if (shift) {
            BeginSelection();
        } else {
            ClearSelection();
        }
    };
    switch (args.key) {
        case kBackspace:
            if (selecting_) {
                DeleteSelection();
            } else if (caret_ > 0) {
                MoveCaret(-1, true);
                DeleteChars(caret_, 1, true);
            }
            break;
        case kEnd:
            selectOrClear();
            caret_ = display_.GetLength();
            break;
        case kHome:
            selectOrClear();
            caret_ = 0;
            break;
        case kLeft:
        case kRight:
            selectOrClear();
            // In UTF-8 mode Ctrl moves by words, as editors of any script do.
            if (ctrl && Utf8()) {
                MoveWord(args.key == kLeft ? -1 : 1);
            } else {
                MoveCaret(args.key == kLeft ? -1 : 1, true);
            }
            break;
        case kDelete:
            if (selecting_) {
                DeleteSelection();
            } else {
                DeleteChars(caret_, 1, true);
            }
            break;
        case kCopy:
        case kCut:
            // The real text is copied, also in password mode.
            if (ctrl && selecting_) {
                const int start = std::min(anchor_, caret_);
                CopyToClipboard(_WndText().c_str() + start, std::abs(anchor_ - caret_));
                if (args.key == kCut) DeleteSelection();
            }
            break;
        case kPaste:
            if (ctrl) {
                if (selecting_) DeleteSelection();
                std::string pasted;
                if (GetClipboardText(&pasted)) InsertText(pasted.c_str());
            }
            break;
        default:
            // Up, Down, Enter, Tab and the rest are the parent's.
            if (IsRelayMSGToParent()) args.handled = false;
            return;
    }
    // The box shows the change at its next repaint (every 30 ms while active).
    args.handled = !IsRelayMSGToParent();
}

void Edit::OnChar(ZrKeyEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnChar(args); })) return;
    // Control characters (Enter, Tab, Backspace) are not text.
    if (args.character < 32 || readOnly_) return;
    PendingCharacter& pending = Pending();
    const char byte = static_cast<char>(args.character & 0xFF);
    if (Utf8()) {
        TypeUtf8Byte(byte);
        return;
    }
    if (!pending.leadPending) {
        if (zrwnd::text::IsLeadByte(static_cast<unsigned char>(byte))) {
            pending.bytes[0] = byte;
            pending.leadPending = true;
            return;
        }
        pending.bytes[0] = byte;
    } else {
        pending.bytes[1] = byte;
        pending.leadPending = false;
    }
    const std::string typed(pending.bytes);
    pending = PendingCharacter{};
    InsertText(typed.c_str());
}

void Edit::TypeUtf8Byte(char byte) {
    // A character's bytes arrive one by one: the box inserts it whole. A byte
    // that cannot go on the pending character ends it as it stands, broken.
    PendingCharacter& pending = Pending();
    const auto b = static_cast<unsigned char>(byte);
    std::string typed;
    if (pending.wanted > 0 && (b & 0xC0) == 0x80) {
        pending.bytes[pending.have++] = byte;
        if (pending.have < pending.wanted) return;
        typed.assign(pending.bytes, static_cast<size_t>(pending.have));
        pending = PendingCharacter{};
    } else {
        // A character broken off is the one replacement character.
        if (pending.wanted > 0) InsertText("\xEF\xBF\xBD");
        pending = PendingCharacter{};
        const int wanted = zrwnd::text::Utf8SequenceLength(b);
        if (wanted > 1) {
            pending.wanted = wanted;
            pending.bytes[pending.have++] = byte;
        } else {
            typed.push_back(byte);
        }
    }
    if (!typed.empty()) InsertText(typed.c_str());
}

void Edit::MoveWord(int direction) {
    const char* text = BoundaryText();
    const int length = display_.GetLength();
    const auto mode = zrwnd::text::Mode::Utf8;
    auto kindAt = [&](int i) { return KindOf(zrwnd::text::CharCode(text + i, mode)); };
    auto before = [&](int i) { return zrwnd::text::CharStart(text, i - 1, mode); };
    if (password_) {
        caret_ = direction < 0 ? 0 : length;
    } else if (direction > 0) {
        if (caret_ < length) {
            const WordKind kind = kindAt(caret_);
            caret_ += zrwnd::text::CharLength(text + caret_, mode);
            while (kind != WordKind::kCjk && kind != WordKind::kSpace && caret_ < length && kindAt(caret_) == kind) {
                caret_ += zrwnd::text::CharLength(text + caret_, mode);
            }
        }
        while (caret_ < length && kindAt(caret_) == WordKind::kSpace) caret_ += zrwnd::text::CharLength(text + caret_, mode);
    } else {
        while (caret_ > 0 && kindAt(before(caret_)) == WordKind::kSpace) caret_ = before(caret_);
        if (caret_ > 0) {
            const WordKind kind = kindAt(before(caret_));
            caret_ = before(caret_);
            while (kind != WordKind::kCjk && caret_ > 0 && kindAt(before(caret_)) == kind) caret_ = before(caret_);
        }
    }
    RestartBlink();
}

void Edit::RenderSelf() {
    ZrRect r;
    GetClientRect(&r);
    IDC* dc = GetClientDC();
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    EnsureCaretVisible(r.right - r.left);
    renderer->FillRect(dc, &r, backArgb_);
    IFont2* font = GetFont();
    if (font) font->DrawText(dc, display_.c_str() + firstVisible_, &r, textArgb_, kTextFormat, GetClrFontBorder());
    if (!IsActive(false) || readOnly_ || !font) return;
    int inset = (r.bottom - r.top - font->GetFontHeight()) / 2;
    if (inset < 0) inset = 0;
    if (inset >= 2) inset -= 2;
    const int halfSpacing = font->GetCharSpacing() / 2;
    const int caretX = r.left + WidthBetween(firstVisible_, caret_) + halfSpacing;
    Stopwatch* clock = zrwnd::Driver()->GetTimer()->GetStopwatch();
    const int elapsed = static_cast<int>(clock->ElapsedMilliseconds(blinkStart_));
    if (elapsed % kBlinkCycleMs < kBlinkOnMs) renderer->DrawLine(dc, caretX, r.top + inset, caretX, r.bottom - inset, caretArgb_);
    if (!selecting_) return;
    // An anchor left of the view is at the left edge. The selection is drawn
    // last, so its translucent colour tints the text.
    const int anchorX = r.left + WidthBetween(firstVisible_, anchor_) + halfSpacing;
    if (anchorX == caretX) return;
    renderer->FillRect(dc, std::min(anchorX, caretX), r.top + inset, std::max(anchorX, caretX), r.bottom - inset,
                       selectionArgb_);
}

bool Edit::IsPassword() { return password_; }

void Edit::SetPassword(bool password) {
    password_ = password;
    SetWndText(GetWndText());
}

bool Edit::IsReadOnly() { return readOnly_; }
void Edit::SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
std::int32_t Edit::GetMaxLength() { return maxLength_; }
void Edit::SetMaxLength(std::int32_t length) { maxLength_ = length; }
std::uint32_t Edit::GetClrBack() { return backArgb_; }
std::uint32_t Edit::GetClrText() { return textArgb_; }
std::uint32_t Edit::GetClrCaret() { return caretArgb_; }
std::uint32_t Edit::GetClrSelection() { return selectionArgb_; }
void Edit::SetClrBack(std::uint32_t argb) { backArgb_ = argb; }
void Edit::SetClrText(std::uint32_t argb) { textArgb_ = argb; }
void Edit::SetClrCaret(std::uint32_t argb) { caretArgb_ = argb; }
void Edit::SetClrSelection(std::uint32_t argb) { selectionArgb_ = argb; }

void Edit::SelectAll() {
    if (!zrwnd::Survives(this, [&] { SetActive(true, false); })) return;
    ClearSelection();
    caret_ = 0;
    BeginSelection();
    caret_ = display_.GetLength();
    Invalidate(true);
}

bool IEdit::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t length = 0;
    bool flag = false;
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "maxlength")) {
        if (zrwnd::ParseLayoutInt(value, &length) && length >= 0) return SetMaxLength(length), true;
        zrwnd::RefuseLayoutValue("a whole number of bytes");
        return false;
    }
    if (!std::strcmp(name, "password")) return zrwnd::LayoutBool(value, &flag) && (SetPassword(flag), true);
    if (!std::strcmp(name, "readonly")) return zrwnd::LayoutBool(value, &flag) && (SetReadOnly(flag), true);
    void (IEdit::*setter)(std::uint32_t) = !std::strcmp(name, "back")        ? &IEdit::SetClrBack
                                           : !std::strcmp(name, "textcolor") ? &IEdit::SetClrText
                                           : !std::strcmp(name, "caret")     ? &IEdit::SetClrCaret
                                           : !std::strcmp(name, "selection") ? &IEdit::SetClrSelection
                                                                             : nullptr;
    return setter && zrwnd::LayoutColour(value, &colour) && ((this->*setter)(colour), true);
}
