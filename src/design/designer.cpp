#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/history.h"
#include "order/summary.h"
#include "render/area_map.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <span>
#include <string>
#include <vector>

namespace design {

namespace {

// "Arms: Royal Blue (P); Legs: no colour": the areas of one list, from slot
// `first` on; `prefix` tells Brisa's two lists apart in the drawing.
QString describeAreas(const state::ModelDesign& design, std::span<const cat::AreaDefault> areas, int first,
                      bool withTape, const QString& prefix)
{
    // Built in one string: every click describes every area again.
    QString text;
    text.reserve(40 * static_cast<qsizetype>(areas.size()));
    for (std::size_t i = 0; i < areas.size(); ++i) {
        if (!withTape && areas[i].name == cat::kBindingTape)
            continue;
        const auto s = static_cast<std::size_t>(first) + i;
        const std::string line = order::orderLine(design.areaColourName[s], design.areaFabricCode[s]);
        if (!text.isEmpty())
            text += QStringLiteral("; ");
        text += prefix;
        text += tk::qs(areas[i].name);
        text += QStringLiteral(": ");
        text += line.empty() ? QStringLiteral("no colour") : QString::fromStdString(line);
    }
    return text;
}

} // namespace

Designer::Designer(state::DesignState& state, const Controls& controls)
    : m_state(state)
    , m_controls(controls)
    , m_history(std::make_unique<EditHistory>(state, [this](int m, int slot) { showSlot(m, slot); }))
{
    for (int m = 0; m < cat::kModelCount; ++m)
        describeColours(m);
}

Designer::~Designer() = default;

void Designer::describeColours(int m)
{
    if (!cat::isModelIndex(m))
        return;
    const state::ModelDesign& design = m_state[m];
    const cat::SuitModel& model = cat::kModels[m];
    const auto front = static_cast<int>(model.areas.size());
    auto describe = [](tk::PictureSurface* surface, const QString& text) {
        if (surface != nullptr)
            surface->setAccessibleDescription(text);
    };
    describe(m_controls.colourKeys[static_cast<std::size_t>(m)],
             describeAreas(design, model.areas, 0, true, {}));
    if (m == cat::kBrisa) {
        const QString back = describeAreas(design, model.backAreas, front, true, {});
        describe(m_controls.colourKeys[cat::kBrisaBack], back);
        describe(m_controls.drawings[static_cast<std::size_t>(m)],
                 describeAreas(design, model.areas, 0, false, QStringLiteral("Front ")) +
                     QStringLiteral("; ") +
                     describeAreas(design, model.backAreas, front, false, QStringLiteral("Back ")));
    } else {
        describe(m_controls.drawings[static_cast<std::size_t>(m)],
                 describeAreas(design, model.areas, 0, false, {}));
    }
}

bool Designer::frontViewShown() const
{
    return m_controls.frontView == nullptr || m_controls.frontView->isChecked();
}

namespace {

void fillList(tk::ListBox* list, const std::vector<std::string>& lines)
{
    if (list == nullptr)
        return;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    list->setEntries(texts);
}

} // namespace

void Designer::rewriteColourList(int m)
{
    if (!cat::isModelIndex(m))
        return;
    const order::OrderSummary summary = order::summaryLines(m, m_state[m]);
    fillList(m_controls.colourLists[static_cast<std::size_t>(m)], summary.front);
    if (m == cat::kBrisa)
        fillList(m_controls.colourLists[cat::kBrisaBack], summary.back);
    describeColours(m);
}

void Designer::onTabSwitched(int /*oldTab*/, int newTab)
{
    if (!cat::isModelIndex(newTab))
        return;
    showCaption(newTab);
    // Heavy Cotton is deliberately not matched: its value is only ever set by
    // the fabric choice itself, so it is already current.
    const QString text = m_controls.fabricLists[static_cast<std::size_t>(newTab)]->selectedText();
    const int fabric = cat::fabricByName(text.toStdString());
    if (fabric >= 0 && fabric != cat::kHeavyCotton)
        m_state[newTab].currentFabric = static_cast<std::int16_t>(fabric);
}

void Designer::showCaption(int m)
{
    if (m_controls.window == nullptr || !cat::isModelIndex(m))
        return;
    m_controls.window->setWindowTitle(tk::qs(cat::kAppTitle) + QStringLiteral(" [") +
                                      QString::fromStdString(m_state[m].fileName) + QStringLiteral("]"));
}

} // namespace design
