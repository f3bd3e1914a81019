#pragma once

#include <span>
#include <string_view>

namespace cat {

// Which fabrics an area may be made of. A rule replaces the whole fabric list
// with its fabrics, in order. "Binding Tape" is handled by the tape rule of the
// area choice, not here; Brisa has no rules at all.
struct FabricRule {
    int model;
    std::span<const std::string_view> areas;
    std::span<const std::string_view> fabrics;
};

namespace rules {
// clang-format off
inline constexpr std::string_view kAllFour[]      = {"Acrylic", "CottonFelt", "Polycotton", "Heavy Cotton"};
inline constexpr std::string_view kCPH[]          = {"CottonFelt", "Polycotton", "Heavy Cotton"};
inline constexpr std::string_view kCNP[]          = {"CottonFelt", "Nylon", "Polycotton"};
inline constexpr std::string_view kCP[]           = {"CottonFelt", "Polycotton"};
inline constexpr std::string_view kS[]            = {"Spandex"};
inline constexpr std::string_view kCPS[]          = {"CottonFelt", "Polycotton", "Spandex"};
inline constexpr std::string_view kC[]            = {"CottonFelt"};
inline constexpr std::string_view kZ[]            = {"ZeroP Canopy"};
inline constexpr std::string_view kN[]            = {"Nylon"};

inline constexpr std::string_view kArmsLegsBody[] = {"Arms", "Legs", "Body"};
inline constexpr std::string_view kGrips[]        = {"Front of Grips", "Back of Grips"};
inline constexpr std::string_view kBodyFront[]    = {"Body Front"};
inline constexpr std::string_view kLegsFront[]    = {"Legs Front"};
inline constexpr std::string_view kLegsBack[]     = {"Legs Back"};
inline constexpr std::string_view kSides[]        = {"Sides"};
inline constexpr std::string_view kFrontGrips[]   = {"Front of Grips"};
inline constexpr std::string_view kBackGrips[]    = {"Back of Grips"};
inline constexpr std::string_view kBack[]         = {"Back"};
inline constexpr std::string_view kForearm[]      = {"Forearm"};
inline constexpr std::string_view kDelmaCotton[]  = {"Front", "Back", "Legs Back"};
inline constexpr std::string_view kFrontInside[]  = {"Front Inside"};
inline constexpr std::string_view kFrontOutside[] = {"Front Outside"};
inline constexpr std::string_view kDelmaCottonF[] = {"Back", "Legs Back"};
inline constexpr std::string_view kDelmaSpandex[] = {"Legs Front", "Spandex"};
inline constexpr std::string_view kArms[]         = {"Arms"};
inline constexpr std::string_view kWings[]        = {"Wings"};
inline constexpr std::string_view kFront[]        = {"Front"};
inline constexpr std::string_view kLumenCP[]      = {"Legs", "Sides", "Back of Wings"};
inline constexpr std::string_view kForearms[]     = {"Forearms"};
inline constexpr std::string_view kFrontWings[]   = {"Front of Wings"};
// clang-format on
} // namespace rules

// clang-format off
inline constexpr FabricRule kFabricRules[] = {
    {0, rules::kArmsLegsBody, rules::kAllFour},
    {0, rules::kGrips,        rules::kCPH},

    {1, rules::kBodyFront,    rules::kCNP},
    {1, rules::kLegsFront,    rules::kCP},
    {1, rules::kLegsBack,     rules::kCP},
    {1, rules::kSides,        rules::kCP},
    {1, rules::kFrontGrips,   rules::kCP},
    {1, rules::kBackGrips,    rules::kCP},
    {1, rules::kBack,         rules::kS},
    {1, rules::kForearm,      rules::kCPS},

    {2, rules::kBodyFront,    rules::kCNP},
    {2, rules::kLegsFront,    rules::kCP},
    {2, rules::kLegsBack,     rules::kCP},
    {2, rules::kFrontGrips,   rules::kCP},
    {2, rules::kBackGrips,    rules::kCP},
    {2, rules::kBack,         rules::kS},
    {2, rules::kForearm,      rules::kCPS},

    {3, rules::kBodyFront,    rules::kCNP},
    {3, rules::kLegsFront,    rules::kCP},
    {3, rules::kLegsBack,     rules::kCP},
    {3, rules::kFrontGrips,   rules::kCP},
    {3, rules::kBackGrips,    rules::kCP},
    {3, rules::kBack,         rules::kS},
    {3, rules::kForearm,      rules::kCPS},

    {4, rules::kDelmaCotton,  rules::kC},
    {4, rules::kDelmaSpandex, rules::kS},
    {4, rules::kArms,         rules::kCP},
    {4, rules::kWings,        rules::kZ},

    {5, rules::kFrontInside,  rules::kC},
    {5, rules::kFrontOutside, rules::kC},
    {5, rules::kDelmaCottonF, rules::kC},
    {5, rules::kDelmaSpandex, rules::kS},
    {5, rules::kArms,         rules::kCP},
    {5, rules::kWings,        rules::kZ},

    {7, rules::kFront,        rules::kCNP},
    {7, rules::kLumenCP,      rules::kCP},
    {7, rules::kBack,         rules::kS},
    {7, rules::kForearms,     rules::kCPS},
    {7, rules::kFrontWings,   rules::kN},
};
// clang-format on

// The fabric rule of a model that names this area, or nullptr.
constexpr const FabricRule* fabricRuleFor(int model, std::string_view area)
{
    for (const FabricRule& rule : kFabricRules) {
        if (rule.model != model)
            continue;
        for (std::string_view name : rule.areas)
            if (name == area)
                return &rule;
    }
    return nullptr;
}

} // namespace cat
