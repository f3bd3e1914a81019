#include "order/summary.h"

#include "catalogue/models.h"
#include "toolkit/listbox.h"

namespace order {

std::string orderLine(const std::string& colourName, const std::string& fabricCode)
{
    if (colourName.empty())
        return {};
    return colourName + " (" + fabricCode + ")";
}

std::vector<std::string> orderLines(const design::ModelDesign& design, int first, int count)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int slot = first; slot < first + count; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        lines.push_back(orderLine(design.areaColourName[s], design.areaFabricCode[s]));
    }
    return lines;
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

void filltext(int m, const design::DesignState& state, const ColourLists& colordesc)
{
    if (!cat::isModelIndex(m))
        return;
    const design::ModelDesign& design = state[m];
    const int front = static_cast<int>(cat::kModels[m].areas.size());
    fillList(colordesc[static_cast<std::size_t>(m)], orderLines(design, 0, front));
    if (m == cat::kBrisa) {
        const int back = static_cast<int>(cat::kModels[m].backAreas.size());
        fillList(colordesc[cat::kBrisaBack], orderLines(design, front, back));
    }
}

} // namespace order
