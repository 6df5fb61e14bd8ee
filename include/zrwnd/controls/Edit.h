#pragma once

#include <cstdint>
#include <string>

#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"
#include "zrwnd/PressTracker.h"
#include "zrwnd/ZrEvent.h"

// The edit box's own operations, after the window's.
class ZRWND_API IEdit : public IWnd, public zrwnd::ILayoutTarget {
public:
    virtual bool IsPassword() = 0;
    // Rebuilds the display from the current text (raising the text-changed
    // event) and puts the caret at the end.
    virtual void SetPassword(bool password) = 0;
    virtual bool IsReadOnly() = 0;
    // Read-only blocks the mouse, typed characters and the caret; the editing
    // keys still work while the box is active.
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual std::int32_t GetMaxLength() = 0;
    // Stores only: a longer text is cut at its next change.
    virtual void SetMaxLength(std::int32_t length) = 0;
    virtual std::uint32_t GetClrBack() = 0;
    virtual std::uint32_t GetClrText() = 0;
    virtual std::uint32_t GetClrCaret() = 0;
    virtual std::uint32_t GetClrSelection() = 0;
    // The colour setters store only; the next drawing shows them.
    virtual void SetClrBack(std::uint32_t argb) = 0;
    virtual void SetClrText(std::uint32_t argb) = 0;
    virtual void SetClrCaret(std::uint32_t argb) = 0;
    virtual void SetClrSelection(std::uint32_t argb) = 0;
    // Activates the box and selects the whole text.
    virtual void SelectAll() = 0;
    // Layout attributes of its own: maxlength, password, readonly, back, textcolor, caret, selection.
    bool SetLayoutAttribute(const char* name, const char* value) override;
};

// The single-line text entry: bytes in the window text, GBK where a byte has
// its high bit set (a two-byte character). A caret, a selection by mouse or by
// Shift and the arrows, Ctrl+C/X/V through the clipboard, a password mode that
// shows one asterisk per byte, a maximum length in bytes, horizontal scrolling,
// a blinking caret, and the keyboard layout (input method) last chosen while
// the box was active, chosen again when it is clicked. Editing by the user does
// not raise the text-changed event; SetWndText does.
class ZRWND_API Edit : public IEdit {
public:
    Edit();
    ~Edit() override;

    // Also takes the timer service; false without one.
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnTextChanged(ZrWndEventArgs& args) override;
    void OnActivated(ZrActiveEventArgs& args) override;
    void OnDeactivated(ZrActiveEventArgs& args) override;
    void OnIMEChanged(ZrIMEEventArgs& args) override;
    void OnMouseMove(ZrMouseEventArgs& args) override;
    void OnMouseUp(ZrMouseEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void OnChar(ZrKeyEventArgs& args) override;
    void RenderSelf() override;

    bool IsPassword() override;
    void SetPassword(bool password) override;
    bool IsReadOnly() override;
    void SetReadOnly(bool readOnly) override;
    std::int32_t GetMaxLength() override;
    void SetMaxLength(std::int32_t length) override;
    std::uint32_t GetClrBack() override;
    std::uint32_t GetClrText() override;
    std::uint32_t GetClrCaret() override;
    std::uint32_t GetClrSelection() override;
    void SetClrBack(std::uint32_t argb) override;
    void SetClrText(std::uint32_t argb) override;
    void SetClrCaret(std::uint32_t argb) override;
    void SetClrSelection(std::uint32_t argb) override;
    void SelectAll() override;

    // The caret and the selection's fixed end, as byte indices.
    int GetCaret() const { return caret_; }
    int GetAnchor() const { return anchor_; }
    bool IsSelectionActive() const { return selecting_; }
    int GetFirstVisible() const { return firstVisible_; }

private:
    // Sets the window text and its display, keeping every index inside them.
    void ApplyText(const char* text);
    void KeepInText();
    void MoveCaret(int delta, bool byCharacters);
    void DeleteChars(int position, int count, bool byCharacters);
    void KeepViewOnBoundary(int editAt);
    void DeleteSelection();
    void InsertText(const char* text);
    void ClearSelection();
    void BeginSelection();
    bool HasSelection() const;
    void RestartBlink();
    void EnsureCaretVisible(int width);
    void CaretFromPoint(int x);
    void CopyToClipboard(const char* text, int length);
    bool GetClipboardText(std::string* out);
    int ByteKind(int index);
    // The text whose characters the caret steps over: the display, or in
    // UTF-8 mode the real text behind a password's asterisks.
    const char* BoundaryText();
    // UTF-8 mode: gathers a character's bytes typed one by one; Ctrl+Left and
    // Ctrl+Right move by words.
    void TypeUtf8Byte(char byte);
    void MoveWord(int direction);
    int WidthBetween(int from, int to);
    bool OnRepaintTick(const ZrEventArgs& args);

    bool password_ = false;
    bool readOnly_ = false;
    std::int32_t maxLength_ = 1024;
    ZrString display_;
    std::int32_t caret_ = 0;
    std::int32_t firstVisible_ = 0;
    bool selecting_ = false;
    std::int32_t anchor_ = 0;
    std::uint32_t backArgb_ = 0xFFFFFFFF;
    std::uint32_t textArgb_ = 0xFF000000;
    std::uint32_t caretArgb_ = 0xFF000000;
    std::uint32_t selectionArgb_ = 0x880000FF;
    std::int64_t blinkStart_ = 0;
    HKL layout_ = nullptr;
    // Whether Create found a timer service. The service is asked for again
    // each time: the driver that owns it may have been released and made anew.
    bool hasTimers_ = false;
    ZrSubscriber repaint_;
    // The drag selection's press.
    zrwnd::PressTracker press_;
    // Reused for the width of a run of display bytes, so drawing allocates
    // nothing once it has grown.
    std::string run_;
};
