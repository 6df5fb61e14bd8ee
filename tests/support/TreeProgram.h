#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/WndRef.h"

namespace zrtest {

class RecordingEngine;

// Where a program's choices come from: a fuzzer's bytes or a seeded generator.
class Choices {
public:
    virtual ~Choices() = default;
    // A number in [0, n), n > 0.
    virtual unsigned Pick(unsigned n) = 0;
    // True once the choices ran out; Pick answers 0 from then on.
    virtual bool Exhausted() const { return false; }
};

class ByteChoices final : public Choices {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    unsigned Pick(unsigned n) override;
    bool Exhausted() const override { return exhausted_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool exhausted_ = false;
};

class RandomChoices final : public Choices {
public:
    explicit RandomChoices(unsigned seed) : rng_(seed) {}
    unsigned Pick(unsigned n) override { return static_cast<unsigned>(rng_() % n); }

private:
    std::mt19937 rng_;
};

// Runs a program of tree operations, native messages and subscribers that
// delete, destroy, reparent, capture and close modal windows from inside
// their events, on the process's driver (already initialised with engine).
// The windows are plain ones and stock controls, worked through their own
// operations (texts changed under a selection, fonts, appended text, items
// added and removed, parts deleted, message boxes opened and closed).
// After every step it checks that the tree has no cycle and its parent and
// child lists agree, that every reference the driver holds (root, modal,
// hover, capture, active) is a live window of the shown tree, that the dirty
// region's rectangles are disjoint, that what a window covered is drawn again
// once it moved, went or was hidden, that nothing invalidated is lost and no
// modal mask outlives modality, that no engine lock is left held, and
// that every control's indices lie in its content (an edit box's caret,
// anchor and view in its text, a scroll bar's position in its range).
class TreeProgram {
public:
    TreeProgram(IDrvWnd* driver, RecordingEngine* engine, unsigned seed);
    ~TreeProgram();
    TreeProgram(const TreeProgram&) = delete;
    TreeProgram& operator=(const TreeProgram&) = delete;

    // One step; false once a check failed (Failure says which and where).
    bool Step(Choices& choices);
    const std::string& Failure() const { return failure_; }
    long Messages() const { return messages_; }
    long Steps() const { return steps_; }

    // What the windows and subscribers of a program reach.
    bool IsAlive(IWnd* wnd) const;
    void Born(IWnd* wnd) { alive_.push_back(wnd); }
    void Died(IWnd* wnd);
    // Windows a control made for itself (and the message box's), which the
    // program reaches only through weak references.
    void AddParts(IWnd* wnd);

private:
    static constexpr std::size_t kMaxWindows = 48;

    IWnd* PickLive(Choices& choices);
    IWnd* PickLiveAtFire();
    IWnd* PickPartAtFire();
    bool InShownTree(IWnd* wnd);
    void NewRoot();
    void MakeWindow(IWnd* parent, Choices& choices);
    // One of the control's own operations, chosen by `pick`.
    void Operate(IWnd* wnd, unsigned pick, unsigned value);
    void ShowMessageBox(unsigned kind);
    std::vector<IWnd*> Known() const;
    bool CheckControl(IWnd* wnd);
    void Subscribe(IWnd* wnd, unsigned event, unsigned action);
    void Mischief(IWnd* self, unsigned action);
    void SendNative(Choices& choices);
    bool Check();
    // The part of the surface a window of the shown tree draws on.
    ZrRect Covered(IWnd* wnd);
    bool Fail(const std::string& what);
    // Remembers what was just done, for the failure message.
    void Did(const char* what, IWnd* wnd, unsigned detail = 0);

    IDrvWnd* driver_;
    RecordingEngine* engine_;
    // Subscribers choose at fire time from this, so that one input always
    // runs the same program.
    std::mt19937 fireRng_;
    // In the order they were made: picks do not depend on addresses.
    std::vector<IWnd*> alive_;
    std::vector<zrwnd::WndRef> parts_;
    std::vector<std::pair<IWnd*, ZrRect>> covered_;  // at the last check
    std::vector<ZrRect> invalidated_;                 // since the last check
    IWnd* modalAtCheck_ = nullptr;
    std::string failure_;
    std::vector<std::string> trail_;
    int mischiefDepth_ = 0;
    int mischiefLeft_ = 0;
    long messages_ = 0;
    long steps_ = 0;
};

}  // namespace zrtest
