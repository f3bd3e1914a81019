#include "order/summary.h"

#include "catalogue/models.h"

namespace order {

std::string_view areaName(int m, int slot)
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return {};
    const cat::SuitModel& model = cat::kModels[m];
    const auto s = static_cast<std::size_t>(slot);
    return s < model.areas.size() ? model.areas[s].name : model.backAreas[s - model.areas.size()].name;
}

std::string areaLabel(int m, int slot)
{
    const std::string_view name = areaName(m, slot);
    if (m != cat::kBrisa || name.empty())
        return std::string(name);
    const bool back = slot >= static_cast<int>(cat::kModels[m].areas.size());
    return (back ? "Back " : "Front ") + std::string(name);
}

std::string orderLine(std::string_view colourName, std::string_view fabricCode)
{
    if (colourName.empty())
        return {};
    std::string line;
    line.reserve(colourName.size() + fabricCode.size() + 3);
    line.append(colourName).append(" (").append(fabricCode).append(")");
    return line;
}

OrderRow row(int m, const state::ModelDesign& design, int slot)
{
    OrderRow row;
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return row;
    const auto s = static_cast<std::size_t>(slot);
    row.slot = slot;
    row.area = areaName(m, slot);
    row.back = slot >= static_cast<int>(cat::kModels[m].areas.size());
    row.colour = design.areaColourName[s];
    row.code = design.areaFabricCode[s];
    if (!row.coloured())
        return row;
    // The name came from a palette cell: the slot's stored words find it
    // again (the tape's fabric is not stored: there is only one).
    const int fabric = slot == cat::tapeSlot(m) ? static_cast<int>(cat::kTape) : design.areaFabric[s];
    row.cell = cat::paletteColour(fabric, design.areaColour[s]);
    if (row.cell != nullptr)
        row.fabric = cat::kFabrics[static_cast<std::size_t>(fabric)].name;
    return row;
}

std::vector<OrderRow> rows(int m, const state::ModelDesign& design)
{
    std::vector<OrderRow> rows;
    if (!cat::isModelIndex(m))
        return rows;
    rows.reserve(static_cast<std::size_t>(cat::slotCount(m)));
    for (int slot = 0; slot < cat::slotCount(m); ++slot)
        rows.push_back(row(m, design, slot));
    return rows;
}

} // namespace order
