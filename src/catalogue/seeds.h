#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace cat {

struct SeedPoint {
    std::int16_t x;
    std::int16_t y;
};

inline constexpr int kMaxSeeds = 8;

// The seed points of one area: painting the area means a border fill from
// each point in turn. A seed may lie in either view of the drawing.
struct AreaSeeds {
    int model;
    int slot; // area index; Brisa's back areas are 10-19
    std::string_view name;
    int count;
    SeedPoint points[kMaxSeeds];

    constexpr std::span<const SeedPoint> seeds() const { return {points, static_cast<std::size_t>(count)}; }
};

constexpr AreaSeeds seedRow(int model, int slot, std::string_view name,
                            std::initializer_list<SeedPoint> points)
{
    AreaSeeds row{model, slot, name, static_cast<int>(points.size()), {}};
    int i = 0;
    for (SeedPoint p : points)
        row.points[i++] = p;
    return row;
}

// clang-format off
inline constexpr AreaSeeds kAreaSeeds[] = {
    seedRow(0, 0, "Body", {{74, 76}, {240, 70}}),
    seedRow(0, 1, "Legs", {{70, 138}, {230, 133}}),
    seedRow(0, 2, "Arms", {{23, 65}, {211, 83}, {131, 76}}),
    seedRow(0, 3, "Front of Grips", {{14, 56}, {13, 96}, {44, 202}}),
    seedRow(0, 4, "Back of Grips", {{209, 60}, {188, 90}, {194, 198}}),
    seedRow(1, 0, "Body Front", {{72, 87}, {230, 102}, {285, 60}}),
    seedRow(1, 1, "Legs Front", {{50, 213}, {104, 212}, {200, 285}, {260, 275}}),
    seedRow(1, 2, "Legs Back", {{34, 294}, {96, 286}, {223, 246}, {47, 140}}),
    seedRow(1, 3, "Sides", {{276, 92}, {240, 100}}),
    seedRow(1, 4, "Back", {{260, 50}}),
    seedRow(1, 5, "Forearm", {{20, 107}, {138, 99}, {200, 92}, {280, 90}}),
    seedRow(1, 6, "Front of Grips", {{17, 58}, {125, 54}, {39, 204}, {119, 222}, {91, 211}}),
    seedRow(1, 7, "Back of Grips", {{220, 48}, {210, 187}, {240, 202}, {265, 192}, {286, 169}, {296, 51}}),
    seedRow(2, 0, "Body Front", {{60, 50}, {220, 40}, {280, 60}}),
    seedRow(2, 1, "Legs Front", {{50, 212}, {100, 212}, {200, 270}, {260, 270}}),
    seedRow(2, 2, "Legs Back", {{220, 230}, {91, 282}, {40, 138}, {30, 286}}),
    seedRow(2, 3, "Back", {{250, 60}}),
    seedRow(2, 4, "Forearm", {{15, 110}, {130, 90}, {190, 90}, {275, 90}}),
    seedRow(2, 5, "Front of Grips", {{9, 60}, {119, 52}, {34, 197}, {84, 201}, {113, 219}}),
    seedRow(2, 6, "Back of Grips", {{210, 49}, {286, 44}, {206, 187}, {255, 189}, {277, 160}, {230, 201}}),
    seedRow(3, 0, "Body Front", {{70, 90}, {210, 115}, {270, 75}}),
    seedRow(3, 1, "Legs Front", {{50, 210}, {100, 210}, {190, 290}, {245, 280}}),
    seedRow(3, 2, "Legs Back", {{210, 260}, {33, 292}, {99, 278}, {45, 140}}),
    seedRow(3, 3, "Back", {{240, 70}}),
    seedRow(3, 4, "Forearm", {{20, 115}, {125, 85}, {186, 91}, {267, 92}}),
    seedRow(3, 5, "Front of Grips", {{15, 59}, {118, 57}, {38, 215}, {69, 214}, {90, 216}, {114, 218}}),
    seedRow(3, 6, "Back of Grips", {{202, 50}, {281, 54}, {198, 192}, {220, 211}, {248, 218}, {270, 187}}),
    seedRow(4, 0, "Front", {{80, 100}, {230, 164}}),
    seedRow(4, 1, "Legs Front", {{75, 200}, {223, 200}}),
    seedRow(4, 2, "Legs Back", {{245, 220}, {50, 181}}),
    seedRow(4, 3, "Back", {{250, 130}, {61, 124}}),
    seedRow(4, 4, "Spandex", {{64, 140}, {264, 168}}),
    seedRow(4, 5, "Arms", {{15, 99}, {135, 25}, {230, 82}, {300, 134}, {303, 92}}),
    seedRow(4, 6, "Wings", {{28, 118}, {41, 72}, {148, 40}, {196, 33}, {197, 160}, {225, 109}, {309, 122}, {302, 155}}),
    seedRow(5, 0, "Front Inside", {{95, 81}}),
    seedRow(5, 1, "Front Outside", {{80, 128}, {119, 132}, {223, 167}}),
    seedRow(5, 2, "Legs Front", {{80, 200}, {208, 237}}),
    seedRow(5, 3, "Legs Back", {{54, 191}, {240, 240}}),
    seedRow(5, 4, "Back", {{69, 133}, {255, 140}}),
    seedRow(5, 5, "Spandex", {{66, 147}, {249, 176}}),
    seedRow(5, 6, "Arms", {{17, 85}, {124, 26}, {218, 93}, {300, 140}}),
    seedRow(5, 7, "Wings", {{48, 66}, {144, 41}, {215, 128}, {308, 159}}),
    seedRow(6, 0, "Upper Body Left", {{110, 60}, {234, 33}}),
    seedRow(6, 1, "Upper Body Right", {{70, 60}}),
    seedRow(6, 2, "Upper Arm Left", {{128, 52}, {223, 66}}),
    seedRow(6, 3, "Upper Arm Right", {{30, 51}}),
    seedRow(6, 4, "Lower Arm Left", {{145, 90}, {201, 93}}),
    seedRow(6, 5, "Lower Arm Right", {{24, 95}}),
    seedRow(6, 6, "Mid Body Left", {{105, 140}}),
    seedRow(6, 7, "Mid Body Right", {{75, 150}}),
    seedRow(6, 8, "Legs Left", {{120, 245}}),
    seedRow(6, 9, "Legs Right", {{65, 235}}),
    seedRow(6, 10, "Upper Body Left", {{250, 70}}),
    seedRow(6, 11, "Upper Body Right", {{280, 64}}),
    seedRow(6, 12, "Upper Arm Left", {{234, 70}}),
    seedRow(6, 13, "Upper Arm Right", {}),
    seedRow(6, 14, "Lower Arm Left", {{200, 115}}),
    seedRow(6, 15, "Lower Arm Right", {}),
    seedRow(6, 16, "Mid Body Left", {{230, 145}}),
    seedRow(6, 17, "Mid Body Right", {{270, 170}, {55, 169}}),
    seedRow(6, 18, "Legs Left", {{210, 250}}),
    seedRow(6, 19, "Legs Right", {{280, 245}, {53, 238}}),
    seedRow(7, 0, "Front", {{105, 70}, {120, 42}, {75, 22}, {140, 43}, {185, 90}, {250, 90}, {170, 115}}),
    seedRow(7, 1, "Legs", {{90, 160}, {135, 160}, {200, 180}}),
    seedRow(7, 2, "Sides", {{195, 135}, {220, 140}}),
    seedRow(7, 3, "Back", {{210, 110}}),
    seedRow(7, 4, "Forearms", {{33, 23}, {135, 82}, {178, 158}, {290, 90}}),
    seedRow(7, 5, "Front of Wings", {{70, 60}}),
    seedRow(7, 6, "Back of Wings", {{240, 120}}),};
// clang-format on

// Seed row of a model's slot, or nullptr (binding tape, Brisa's seedless back areas).
constexpr const AreaSeeds* seedsOf(int model, int slot)
{
    for (const AreaSeeds& row : kAreaSeeds)
        if (row.model == model && row.slot == slot)
            return &row;
    return nullptr;
}

} // namespace cat
