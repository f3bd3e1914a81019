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

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace design {

namespace {

// Appends catalogue text (UTF-8, in practice ASCII) without a string in between.
void append(QString& text, std::string_view utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        text.append(QLatin1String(utf8.data(), static_cast<qsizetype>(utf8.size())));
    else
        text.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// "Arms: Royal Blue (P); Legs: no colour": the areas of one list (Brisa's
// back list when `back`); `prefix` tells Brisa's two lists apart in the drawing.
QString describeAreas(const std::vector<order::OrderRow>& rows, bool back, bool withTape,
                      const QString& prefix)
{
    // Built in one string: every click describes every area again.
    QString text;
    text.reserve(40 * static_cast<qsizetype>(rows.size()));
    for (const order::OrderRow& row : rows) {
        if (row.back != back || (!withTape && row.area == cat::kBindingTape))
            continue;
        if (!text.isEmpty())
            text += QLatin1String("; ");
        text += prefix;
        append(text, row.area);
        text += QLatin1String(": ");
        if (row.coloured())
            append(text, row.line());
        else
            text += QLatin1String("no colour");
    }
    return text;
}

// The accessible descriptions of model m's colour key(s) and drawing.
void describeKeysAndDrawing(const Controls& controls, int m, const std::vector<order::OrderRow>& rows)
{
    auto describe = [](tk::PictureSurface* surface, const QString& text) {
        if (surface != nullptr)
            surface->setAccessibleDescription(text);
    };
    describe(controls.colourKeys[static_cast<std::size_t>(m)], describeAreas(rows, false, true, {}));
    if (m == cat::kBrisa) {
        describe(controls.colourKeys[cat::kBrisaBack], describeAreas(rows, true, true, {}));
        describe(controls.drawings[static_cast<std::size_t>(m)],
                 describeAreas(rows, false, false, QStringLiteral("Front ")) + QStringLiteral("; ") +
                     describeAreas(rows, true, false, QStringLiteral("Back ")));
    } else {
        describe(controls.drawings[static_cast<std::size_t>(m)], describeAreas(rows, false, false, {}));
    }
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
    if (cat::isModelIndex(m))
        describeKeysAndDrawing(m_controls, m, order::rows(m, m_state[m]));
}

bool Designer::frontViewShown() const
{
    return m_controls.frontView == nullptr || m_controls.frontView->isChecked();
}

namespace {

// One colour-list line per row of one list (Brisa's back list when `back`).
void fillList(tk::ListBox* list, const std::vector<order::OrderRow>& rows, bool back)
{
    if (list == nullptr)
        return;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(rows.size()));
    for (const order::OrderRow& row : rows) {
        if (row.back != back)
            continue;
        QString& line = texts.emplace_back();
        if (row.coloured())
            append(line, row.line());
    }
    list->setEntries(texts);
}

} // namespace

void Designer::rewriteColourList(int m)
{
    if (!cat::isModelIndex(m))
        return;
    const std::vector<order::OrderRow> rows = order::rows(m, m_state[m]);
    fillList(m_controls.colourLists[static_cast<std::size_t>(m)], rows, false);
    if (m == cat::kBrisa)
        fillList(m_controls.colourLists[cat::kBrisaBack], rows, true);
    describeKeysAndDrawing(m_controls, m, rows);
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
