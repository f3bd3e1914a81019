#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "order/summary.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/tabstrip.h"

#include <QRadioButton>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace design {

Designer::Designer(DesignState& state, const Controls& controls)
    : m_state(state)
    , m_controls(controls)
{
}

bool Designer::frontViewShown() const
{
    return m_controls.frontopt == nullptr || m_controls.frontopt->isChecked();
}

namespace {

void fillList(tk::ListBox* list, const std::vector<std::string>& lines)
{
    if (list == nullptr)
        return;
    list->clearEntries();
    for (const std::string& line : lines)
        list->addEntry(QString::fromStdString(line));
}

} // namespace

void Designer::filltext(int m)
{
    if (!cat::isModelIndex(m))
        return;
    const order::OrderSummary summary = order::summaryLines(m, m_state[m]);
    fillList(m_controls.colordesc[static_cast<std::size_t>(m)], summary.front);
    if (m == cat::kBrisa)
        fillList(m_controls.colordesc[cat::kBrisaBack], summary.back);
}

void Designer::tab1_Switch(int /*oldTab*/, int newTab)
{
    if (!cat::isModelIndex(newTab))
        return;
    showCaption(newTab);
    // Heavy Cotton is deliberately not matched: its value is only ever set by
    // the fabric choice itself, so it is already current.
    const QString text = m_controls.matlist[static_cast<std::size_t>(newTab)]->selectedText();
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
