#include "order/summary.h"

#include "catalogue/models.h"

namespace order {

std::string orderLine(const std::string& colourName, const std::string& fabricCode)
{
    if (colourName.empty())
        return {};
    return colourName + " (" + fabricCode + ")";
}

std::vector<std::string> orderLines(const state::ModelDesign& design, int first, int count)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int slot = first; slot < first + count; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        lines.push_back(orderLine(design.areaColourName[s], design.areaFabricCode[s]));
    }
    return lines;
}

OrderSummary summaryLines(int m, const state::ModelDesign& design)
{
    OrderSummary summary;
    if (!cat::isModelIndex(m))
        return summary;
    const int front = static_cast<int>(cat::kModels[m].areas.size());
    summary.front = orderLines(design, 0, front);
    if (m == cat::kBrisa)
        summary.back = orderLines(design, front, static_cast<int>(cat::kModels[m].backAreas.size()));
    return summary;
}

} // namespace order
