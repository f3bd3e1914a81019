#pragma once

#include "state/state.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QUndoGroup;
class QUndoStack;

namespace design {

// What a colour application writes into one area slot.
struct SlotValues {
    std::int16_t colour = 0;
    std::int16_t fabric = 0;
    std::string code;
    std::string name;
    bool operator==(const SlotValues&) const = default;
};

// The edit history of all eight models: one undo stack per model, all in one
// group whose active stack is the current model's. A step is one colour
// application or one change of the order details; undoing it puts back what its slot held before, redoing it
// writes what it wrote again, and either shows the slot as a rebuild of the
// design would (the `show` callback). Each step does its own work in its
// undo() and redo(), however the stack's index moves.
//
// The design's `changed` and `saved` flags follow the stack: a step undone
// or redone is a change, except that arriving at the clean state (start-up,
// New, Open, the last Save) gives back the flags that state had.
class EditHistory final {
public:
    using ShowSlot = std::function<void(int m, int slot)>;

    EditHistory(state::DesignState& state, ShowSlot show);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // What slot `slot` of model m holds now.
    SlotValues valuesOf(int m, int slot) const;
    // Records a colour application to slot `slot` of model m, which held
    // `before`; the design holds what the application wrote.
    void record(int m, int slot, const SlotValues& before);

    // Puts `details` in place of model m's order details as one step
    // ("Order Details"); details equal to what the design holds make none.
    // False when nothing changed.
    bool applyOrderDetails(int m, state::OrderDetails details);

    // New and Open: the model's history starts again; its design as it is
    // now, with its flags, is the clean state.
    void clear(int m);
    // Save: the design as it is now is the clean state.
    void markClean(int m);

    // The model whose history Undo and Redo walk: the current tab's.
    void setActiveModel(int m);
    int activeModel() const { return m_active; }
    bool canUndo() const;
    bool canRedo() const;
    // One step back or forward on the active model; false when there is none.
    bool undo();
    bool redo();
    // "Royal Blue on Legs": the step Undo (Redo) would take back (do again),
    // or "" when there is none.
    QString undoCaption() const;
    QString redoCaption() const;
    // The steps model m's history holds, undone ones included.
    int steps(int m) const;

    QUndoGroup& group() { return *m_group; }
    const QUndoStack* undoStack(int m) const { return cat::isModelIndex(m) ? stack(m) : nullptr; }

    // Writes `values` into slot `slot` of model m and shows the slot, unless
    // it holds them already (a colour applied again over itself). The steps'
    // undo() and redo() come here.
    void put(int m, int slot, const SlotValues& values);
    // Writes `details` as model m's order details (an order step's undo() and redo()).
    void putOrder(int m, const state::OrderDetails& details);

private:
    QUndoStack* stack(int m) const { return m_stacks[static_cast<std::size_t>(m)].get(); }
    void followClean(int m);
    QString caption(int index) const;

    state::DesignState& m_state;
    ShowSlot m_show;
    std::unique_ptr<QUndoGroup> m_group;
    std::array<std::unique_ptr<QUndoStack>, cat::kModelCount> m_stacks; // leave the group first
    bool m_recording = false; // a push or a clear: the design is there already
    struct Flags {
        bool saved = false;
        bool changed = false;
    };
    std::array<Flags, cat::kModelCount> m_clean{};
    int m_active = 0;
};

// Records one colour application: what the slot held when it is made, and
// the step when it goes out of scope, after the application wrote the slot
// (on every way out of the handler).
class StepRecorder final {
public:
    StepRecorder(EditHistory& history, int m, int slot)
        : m_history(history)
        , m_model(m)
        , m_slot(slot)
        , m_before(history.valuesOf(m, slot))
    {
    }
    ~StepRecorder() { m_history.record(m_model, m_slot, m_before); }
    StepRecorder(const StepRecorder&) = delete;
    StepRecorder& operator=(const StepRecorder&) = delete;

private:
    EditHistory& m_history;
    int m_model;
    int m_slot;
    SlotValues m_before;
};

} // namespace design
