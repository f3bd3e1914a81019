#include "design/history.h"

#include "catalogue/models.h"

#include <QUndoGroup>
#include <QUndoStack>

#include <algorithm>
#include <limits>
#include <utility>

namespace design {

namespace {

// One colour application. It holds the values of its slot that the design
// does not: what the slot held before while the step is done, what the step
// wrote while it is undone; taking it back or doing it again swaps them. Its
// caption is made when asked for, not stored, so a long history costs little
// more than Qt's own bookkeeping of each step.
class ColourStep final : public QUndoCommand {
public:
    static constexpr int kId = 1;
    int id() const override { return kId; }

    ColourStep(int slot, const SlotValues& other)
        : m_other(other)
        , m_slot(static_cast<std::uint8_t>(slot))
    {
    }

    // The work happens in EditHistory::follow(), whoever moves the index.
    void undo() override {}
    void redo() override {}

    SlotValues m_other;
    std::uint8_t m_slot;
};

// One change of the order details: it holds the details the design does not,
// as ColourStep holds a slot's values.
class OrderStep final : public QUndoCommand {
public:
    static constexpr int kId = 2;
    explicit OrderStep(OrderDetails other)
        : m_other(std::move(other))
    {
    }
    int id() const override { return kId; }
    void undo() override {}
    void redo() override {}

    OrderDetails m_other;
};

const QString kOrderCaption = QStringLiteral("Order Details");

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
        auto& stack = m_stacks[static_cast<std::size_t>(m)];
        stack = std::make_unique<QUndoStack>();
        // Connected before the group listens, so the design has followed the
        // index before anyone reading the group (the Edit menu) hears of it.
        QObject::connect(stack.get(), &QUndoStack::indexChanged, stack.get(),
                         [this, m](int index) { follow(m, index); });
        m_group->addStack(stack.get());
        m_clean[static_cast<std::size_t>(m)] = {m_state[m].saved, m_state[m].changed};
    }
    setActiveModel(0);
}

EditHistory::~EditHistory()
{
    // A stack clears itself on the way out; its steps are not to be followed then.
    for (std::unique_ptr<QUndoStack>& stack : m_stacks) {
        QObject::disconnect(stack.get(), &QUndoStack::indexChanged, nullptr, nullptr);
        stack.reset();
    }
}

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
    m_recording = true;
    stack(m)->push(new ColourStep(slot, before));
    m_recording = false;
}

bool EditHistory::applyOrderDetails(int m, OrderDetails details)
{
    if (!cat::isModelIndex(m))
        return false;
    OrderDetails& held = m_state[m].order;
    if (held == details)
        return false;
    std::swap(held, details);
    m_recording = true;
    stack(m)->push(new OrderStep(std::move(details)));
    m_recording = false;
    followClean(m);
    return true;
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

void EditHistory::follow(int m, int index)
{
    int& at = m_at[static_cast<std::size_t>(m)];
    if (!m_recording) {
        for (; at > index; --at)
            swapStep(m, at - 1); // taken back
        for (; at < index; ++at)
            swapStep(m, at); // done again
        followClean(m);
    }
    at = index;
}

void EditHistory::swapStep(int m, int index)
{
    // The stack hands its steps out as const; they are this history's own.
    QUndoCommand* command = const_cast<QUndoCommand*>(stack(m)->command(index));
    if (command->id() == OrderStep::kId) {
        std::swap(m_state[m].order, static_cast<OrderStep*>(command)->m_other);
        return;
    }
    auto* step = static_cast<ColourStep*>(command);
    const SlotValues now = valuesOf(m, step->m_slot);
    if (now == step->m_other)
        return; // a colour applied again over itself
    ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(step->m_slot);
    design.areaColour[s] = step->m_other.colour;
    design.areaFabric[s] = step->m_other.fabric;
    design.areaFabricCode[s] = m_texts[step->m_other.code];
    design.areaColourName[s] = m_texts[step->m_other.name];
    step->m_other = now;
    if (m_show)
        m_show(m, step->m_slot);
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
    // The last step done wrote what its slot holds now.
    const QUndoStack* s = stack(m_active);
    if (!s->canUndo())
        return {};
    if (s->command(s->index() - 1)->id() == OrderStep::kId)
        return kOrderCaption;
    const auto* step = static_cast<const ColourStep*>(s->command(s->index() - 1));
    return caption(m_active, step->m_slot, m_state[m_active].areaColourName[step->m_slot]);
}

QString EditHistory::redoCaption() const
{
    // The first step undone keeps what it wrote.
    const QUndoStack* s = stack(m_active);
    if (!s->canRedo())
        return {};
    if (s->command(s->index())->id() == OrderStep::kId)
        return kOrderCaption;
    const auto* step = static_cast<const ColourStep*>(s->command(s->index()));
    return caption(m_active, step->m_slot, m_texts[step->m_other.name]);
}

int EditHistory::steps(int m) const
{
    return cat::isModelIndex(m) ? stack(m)->count() : 0;
}

QString EditHistory::caption(int m, int slot, const std::string& name)
{
    return QString::fromStdString(name) + QStringLiteral(" on ") + QString::fromStdString(areaLabel(m, slot));
}

} // namespace design
