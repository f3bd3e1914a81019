#include "design/history.h"

#include "catalogue/models.h"
#include "order/summary.h"

#include <QUndoGroup>
#include <QUndoStack>

#include <utility>

namespace design {

namespace {

// One colour application: what its slot held before and what it wrote. Its
// caption is made when asked for, not stored, so a long history costs little
// more than Qt's own bookkeeping of each step.
class ColourStep final : public QUndoCommand {
public:
    ColourStep(EditHistory& history, int m, int slot, SlotValues before, SlotValues after)
        : m_history(history)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_model(static_cast<std::uint8_t>(m))
        , m_slot(static_cast<std::uint8_t>(slot))
    {
    }

    void undo() override { m_history.put(m_model, m_slot, m_before); }
    void redo() override
    {
        // Pushed after the application wrote the slot: there is nothing to do yet.
        if (m_pushed)
            m_history.put(m_model, m_slot, m_after);
        m_pushed = true;
    }

    int slot() const { return m_slot; }
    const SlotValues& after() const { return m_after; }

private:
    EditHistory& m_history;
    SlotValues m_before;
    SlotValues m_after;
    std::uint8_t m_model;
    std::uint8_t m_slot;
    bool m_pushed = false;
};

// One change of the order details: the details before and after it.
class OrderStep final : public QUndoCommand {
public:
    static constexpr int kId = 1; // ColourStep keeps Qt's -1
    OrderStep(EditHistory& history, int m, state::OrderDetails before, state::OrderDetails after)
        : m_history(history)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_model(m)
    {
    }

    int id() const override { return kId; }
    void undo() override { m_history.putOrder(m_model, m_before); }
    void redo() override
    {
        // Pushed after the details were put in place: nothing to do yet.
        if (m_pushed)
            m_history.putOrder(m_model, m_after);
        m_pushed = true;
    }

private:
    EditHistory& m_history;
    state::OrderDetails m_before;
    state::OrderDetails m_after;
    int m_model;
    bool m_pushed = false;
};

} // namespace

EditHistory::EditHistory(state::DesignState& state, ShowSlot show)
    : m_state(state)
    , m_show(std::move(show))
    , m_group(std::make_unique<QUndoGroup>())
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        auto& stack = m_stacks[static_cast<std::size_t>(m)];
        stack = std::make_unique<QUndoStack>();
        // Connected before the group listens, so the flags have followed the
        // index before anyone reading the group (the Edit menu) hears of it.
        QObject::connect(stack.get(), &QUndoStack::indexChanged, stack.get(), [this, m] {
            if (!m_recording)
                followClean(m);
        });
        m_group->addStack(stack.get());
        m_clean[static_cast<std::size_t>(m)] = {m_state[m].saved, m_state[m].changed};
    }
    setActiveModel(0);
}

EditHistory::~EditHistory()
{
    // A stack clears itself on the way out; nothing is to follow it then.
    for (std::unique_ptr<QUndoStack>& stack : m_stacks) {
        QObject::disconnect(stack.get(), &QUndoStack::indexChanged, nullptr, nullptr);
        stack.reset();
    }
}

SlotValues EditHistory::valuesOf(int m, int slot) const
{
    const state::ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(slot);
    return {design.areaColour[s], design.areaFabric[s], design.areaFabricCode[s], design.areaColourName[s]};
}

void EditHistory::record(int m, int slot, const SlotValues& before)
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return;
    m_recording = true;
    stack(m)->push(new ColourStep(*this, m, slot, before, valuesOf(m, slot)));
    m_recording = false;
}

void EditHistory::put(int m, int slot, const SlotValues& values)
{
    if (valuesOf(m, slot) == values)
        return;
    state::ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(slot);
    design.areaColour[s] = values.colour;
    design.areaFabric[s] = values.fabric;
    design.areaFabricCode[s] = values.code;
    design.areaColourName[s] = values.name;
    if (m_show)
        m_show(m, slot);
}

bool EditHistory::applyOrderDetails(int m, state::OrderDetails details)
{
    if (!cat::isModelIndex(m) || m_state[m].order == details)
        return false;
    state::OrderDetails before = std::exchange(m_state[m].order, details);
    m_recording = true;
    stack(m)->push(new OrderStep(*this, m, std::move(before), std::move(details)));
    m_recording = false;
    followClean(m);
    return true;
}

void EditHistory::putOrder(int m, const state::OrderDetails& details)
{
    m_state[m].order = details;
}

void EditHistory::clear(int m)
{
    if (!cat::isModelIndex(m))
        return;
    m_recording = true;
    stack(m)->clear();
    m_recording = false;
    m_clean[static_cast<std::size_t>(m)] = {m_state[m].saved, m_state[m].changed};
}

void EditHistory::markClean(int m)
{
    if (!cat::isModelIndex(m))
        return;
    stack(m)->setClean();
    m_clean[static_cast<std::size_t>(m)] = {m_state[m].saved, m_state[m].changed};
}

void EditHistory::setActiveModel(int m)
{
    if (!cat::isModelIndex(m))
        return;
    m_active = m;
    m_group->setActiveStack(stack(m));
}

bool EditHistory::canUndo() const
{
    return stack(m_active)->canUndo();
}

bool EditHistory::canRedo() const
{
    return stack(m_active)->canRedo();
}

bool EditHistory::undo()
{
    if (!canUndo())
        return false;
    stack(m_active)->undo();
    return true;
}

bool EditHistory::redo()
{
    if (!canRedo())
        return false;
    stack(m_active)->redo();
    return true;
}

void EditHistory::followClean(int m)
{
    state::ModelDesign& design = m_state[m];
    if (stack(m)->isClean()) {
        design.saved = m_clean[static_cast<std::size_t>(m)].saved;
        design.changed = m_clean[static_cast<std::size_t>(m)].changed;
    } else {
        design.changed = true;
        design.saved = false;
    }
}

QString EditHistory::caption(int index) const
{
    const QUndoCommand* command = stack(m_active)->command(index);
    if (command->id() == OrderStep::kId)
        return QStringLiteral("Order Details");
    const auto* step = static_cast<const ColourStep*>(command);
    return QString::fromStdString(step->after().name) + QStringLiteral(" on ") +
           QString::fromStdString(order::areaLabel(m_active, step->slot()));
}

QString EditHistory::undoCaption() const
{
    // The last step done, and the first one undone, name what they wrote.
    return canUndo() ? caption(stack(m_active)->index() - 1) : QString();
}

QString EditHistory::redoCaption() const
{
    return canRedo() ? caption(stack(m_active)->index()) : QString();
}

int EditHistory::steps(int m) const
{
    return cat::isModelIndex(m) ? stack(m)->count() : 0;
}

} // namespace design
