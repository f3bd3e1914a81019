#include "design/history.h"

#include "catalogue/models.h"

#include <QUndoGroup>
#include <QUndoStack>

#include <algorithm>
#include <limits>
#include <utility>

namespace design {

namespace {

// One colour application. Its caption is made when asked for, not stored: a
// long history costs only what the steps must remember.
class ColourStep final : public QUndoCommand {
public:
    ColourStep(EditHistory& history, int m, int slot, const SlotValues& before, const SlotValues& after)
        : m_history(&history)
        , m_before(before)
        , m_after(after)
        , m_model(static_cast<std::uint8_t>(m))
        , m_slot(static_cast<std::uint8_t>(slot))
    {
    }

    void undo() override { m_history->restore(m_model, m_slot, m_before); }
    void redo() override
    {
        // Pushing a step redoes it; the click has already done its work.
        if (m_pushed) {
            m_pushed = false;
            return;
        }
        m_history->restore(m_model, m_slot, m_after);
    }

    QString caption() const { return m_history->caption(m_model, m_slot, m_after); }

private:
    EditHistory* m_history;
    SlotValues m_before;
    SlotValues m_after;
    std::uint8_t m_model;
    std::uint8_t m_slot;
    bool m_pushed = true;
};

QString captionOf(const QUndoStack* stack, int index)
{
    if (stack == nullptr || index < 0 || index >= stack->count())
        return {};
    return static_cast<const ColourStep*>(stack->command(index))->caption();
}

} // namespace

std::string areaLabel(int m, int slot)
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return {};
    const cat::SuitModel& model = cat::kModels[m];
    const auto front = static_cast<int>(model.areas.size());
    if (m != cat::kBrisa)
        return std::string(model.areas[static_cast<std::size_t>(slot)].name);
    return slot < front ? "Front " + std::string(model.areas[static_cast<std::size_t>(slot)].name)
                        : "Back " + std::string(model.backAreas[static_cast<std::size_t>(slot - front)].name);
}

EditHistory::EditHistory(DesignState& state, ShowSlot show)
    : m_state(state)
    , m_show(std::move(show))
    , m_group(std::make_unique<QUndoGroup>())
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        m_stacks[static_cast<std::size_t>(m)] = new QUndoStack(m_group.get());
        m_clean[static_cast<std::size_t>(m)] = {m_state[m].saved, m_state[m].changed};
    }
    setActiveModel(0);
}

EditHistory::~EditHistory() = default;

std::uint8_t EditHistory::textNumber(const std::string& text)
{
    const auto found = std::find(m_texts.begin(), m_texts.end(), text);
    if (found != m_texts.end())
        return static_cast<std::uint8_t>(found - m_texts.begin());
    // Number 255 says the table is full (see record()).
    if (m_texts.size() >= std::numeric_limits<std::uint8_t>::max())
        return std::numeric_limits<std::uint8_t>::max();
    m_texts.push_back(text);
    return static_cast<std::uint8_t>(m_texts.size() - 1);
}

SlotValues EditHistory::valuesOf(int m, int slot)
{
    const ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(slot);
    return {design.areaColour[s], design.areaFabric[s], textNumber(design.areaFabricCode[s]),
            textNumber(design.areaColourName[s])};
}

void EditHistory::record(int m, int slot, const SlotValues& before)
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return;
    const SlotValues after = valuesOf(m, slot);
    // The table holds every palette name many times over; should it ever
    // fill, a step it cannot hold must not be undone to wrong texts.
    const std::uint8_t full = std::numeric_limits<std::uint8_t>::max();
    if (std::max({before.code, before.name, after.code, after.name}) == full) {
        clear(m);
        return;
    }
    stack(m)->push(new ColourStep(*this, m, slot, before, after));
}

void EditHistory::clear(int m)
{
    if (!cat::isModelIndex(m))
        return;
    stack(m)->clear();
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
    followClean(m_active);
    return true;
}

bool EditHistory::redo()
{
    if (!canRedo())
        return false;
    stack(m_active)->redo();
    followClean(m_active);
    return true;
}

void EditHistory::followClean(int m)
{
    ModelDesign& design = m_state[m];
    if (stack(m)->isClean()) {
        design.saved = m_clean[static_cast<std::size_t>(m)].saved;
        design.changed = m_clean[static_cast<std::size_t>(m)].changed;
    } else {
        design.changed = true;
        design.saved = false;
    }
}

QString EditHistory::undoCaption() const
{
    const QUndoStack* s = stack(m_active);
    return captionOf(s, s->index() - 1);
}

QString EditHistory::redoCaption() const
{
    const QUndoStack* s = stack(m_active);
    return captionOf(s, s->index());
}

int EditHistory::steps(int m) const
{
    return cat::isModelIndex(m) ? stack(m)->count() : 0;
}

void EditHistory::restore(int m, int slot, const SlotValues& values)
{
    ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(slot);
    design.areaColour[s] = values.colour;
    design.areaFabric[s] = values.fabric;
    design.areaFabricCode[s] = m_texts[values.code];
    design.areaColourName[s] = m_texts[values.name];
    if (m_show)
        m_show(m, slot);
}

QString EditHistory::caption(int m, int slot, const SlotValues& values) const
{
    return QString::fromStdString(m_texts[values.name]) + QStringLiteral(" on ") +
           QString::fromStdString(areaLabel(m, slot));
}

} // namespace design
