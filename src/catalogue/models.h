#pragma once

#include <span>
#include <string_view>

namespace cat {

inline constexpr int kModelCount = 8;
inline constexpr int kBrisa = 6;       // the model with a front and a back area list
inline constexpr int kBrisaBack = 8;   // control index of Brisa's back-view list, colour list and key
inline constexpr int kBackOffset = 10; // Brisa's back areas take slots 10-19
inline constexpr int kMaxSlots = 20;
inline constexpr int kNoColour = 99; // an area without a colour, in memory and in files

inline constexpr std::string_view kBindingTape = "Binding Tape";

struct AreaDefault {
    std::string_view name;
    char fabric; // default fabric letter given at start-up and by New
};

struct SuitModel {
    int index;
    std::string_view caption;
    std::string_view code;
    std::string_view extension;        // with the dot
    std::string_view defaultExtension; // without the dot
    std::string_view filter;           // description|pattern, as the file dialogs take it
    std::string_view heading;
    int pictureId;
    int pictureWidth;
    int pictureHeight;
    std::span<const AreaDefault> areas;     // the area list (Brisa: the front list)
    std::span<const AreaDefault> backAreas; // Brisa's back list, empty for the others
    std::span<const std::string_view> startFabrics;
    std::string_view startFabric;        // selected in the fabric list at start-up and by New
    std::string_view lookupCodes;        // fabric codes an area choice recognises, in order
    std::span<const int> rebuildFabrics; // fabrics a rebuild recognises for an area
    std::string_view info;
};

// clang-format off
inline constexpr AreaDefault kOrlensuitAreas[] = {
    {"Body", 'C'}, {"Legs", 'C'}, {"Arms", 'C'}, {"Front of Grips", 'C'}, {"Back of Grips", 'C'},
    {"Binding Tape", 'T'},
};
inline constexpr AreaDefault kVantorAreas[] = {
    {"Body Front", 'C'}, {"Legs Front", 'C'}, {"Legs Back", 'C'}, {"Sides", 'C'}, {"Back", 'S'},
    {"Forearm", 'S'}, {"Front of Grips", 'C'}, {"Back of Grips", 'C'}, {"Binding Tape", 'T'},
};
inline constexpr AreaDefault kKiroAreas[] = {
    {"Body Front", 'C'}, {"Legs Front", 'C'}, {"Legs Back", 'C'}, {"Back", 'S'}, {"Forearm", 'S'},
    {"Front of Grips", 'C'}, {"Back of Grips", 'C'}, {"Binding Tape", 'T'},
};
inline constexpr AreaDefault kDelmaMaleAreas[] = {
    {"Front", 'C'}, {"Legs Front", 'S'}, {"Legs Back", 'C'}, {"Back", 'C'}, {"Spandex", 'S'},
    {"Arms", 'C'}, {"Wings", 'Z'}, {"Binding Tape", 'T'},
};
inline constexpr AreaDefault kDelmaFemaleAreas[] = {
    {"Front Inside", 'C'}, {"Front Outside", 'C'}, {"Legs Front", 'S'}, {"Legs Back", 'C'},
    {"Back", 'C'}, {"Spandex", 'S'}, {"Arms", 'C'}, {"Wings", 'Z'}, {"Binding Tape", 'T'},
};
// Brisa's front and back lists are the same ten names.
inline constexpr AreaDefault kBrisaAreas[] = {
    {"Upper Body Left", 'P'}, {"Upper Body Right", 'P'}, {"Upper Arm Left", 'P'},
    {"Upper Arm Right", 'P'}, {"Lower Arm Left", 'P'}, {"Lower Arm Right", 'P'},
    {"Mid Body Left", 'P'}, {"Mid Body Right", 'P'}, {"Legs Left", 'P'}, {"Legs Right", 'P'},
};
inline constexpr AreaDefault kLumenAreas[] = {
    {"Front", 'C'}, {"Legs", 'C'}, {"Sides", 'C'}, {"Back", 'S'}, {"Forearms", 'S'},
    {"Front of Wings", 'N'}, {"Back of Wings", 'C'}, {"Binding Tape", 'T'},
};

inline constexpr std::string_view kOrlensuitFabrics[] = {"Acrylic", "CottonFelt", "Polycotton", "Heavy Cotton"};
inline constexpr std::string_view kThreeFabrics[] = {"CottonFelt", "Nylon", "Polycotton"};
inline constexpr std::string_view kDelmaFabrics[] = {"CottonFelt"};
inline constexpr std::string_view kBrisaFabrics[] = {"Acrylic", "CottonFelt", "Polycotton"};

inline constexpr int kRebuildOl[] = {0, 1, 2, 7};
inline constexpr int kRebuildFive[] = {0, 1, 2, 3, 4};
inline constexpr int kRebuildSix[] = {0, 1, 2, 3, 4, 6};
// clang-format on

} // namespace cat

#include "catalogue/info_texts.h"

namespace cat {

// clang-format off
inline constexpr SuitModel kModels[kModelCount] = {
    {0, "Orlensuit", "ol", ".olr", "olr", "OrlenSuit Files (*.olr)|*.olr", " The Orlensuit",
     16, 291, 321, kOrlensuitAreas, {}, kOrlensuitFabrics, "CottonFelt", "ACPH1", kRebuildOl, kInfoOrlensuit},
    {1, "Vantor", "vt", ".vtr", "vtr", "Vantor Suit Files (*.vtr)|*.vtr", " The Vantor Suit",
     32, 302, 320, kVantorAreas, {}, kThreeFabrics, "CottonFelt", "ACPNS1", kRebuildFive, kInfoVantor},
    {2, "Kiro (Male)", "km", ".kmr", "kmr", "Kiro (Male) Files (*.kmr)|*.kmr", " The Male Kiro Special",
     48, 298, 315, kKiroAreas, {}, kThreeFabrics, "CottonFelt", "ACPNS1", kRebuildFive, kInfoKiroMale},
    {3, "Kiro (Female)", "kf", ".kfr", "kfr", "Kiro (Female) Files (*.kfr)|*.kfr", " The Female Kiro Special",
     64, 298, 320, kKiroAreas, {}, kThreeFabrics, "CottonFelt", "ACPNS1", kRebuildFive, kInfoKiroFemale},
    {4, "Delma (Male)", "dm", ".dmr", "dmr", "Delma (Male) Files (*.dmr)|*.dmr", " The Male Delma Suit",
     80, 325, 316, kDelmaMaleAreas, {}, kDelmaFabrics, "CottonFelt", "ACPNSZ1", kRebuildSix, kInfoDelmaMale},
    {5, "Delma (Female)", "df", ".dfr", "dfr", "Delma (Female) Files (*.dfr)|*.dfr", " The Female Delma Suit",
     96, 320, 315, kDelmaFemaleAreas, {}, kDelmaFabrics, "CottonFelt", "ACPNSZ1", kRebuildSix, kInfoDelmaFemale},
    {6, "Brisa", "br", ".brr", "brr", "Brisa suit Files (*.brr)|*.brr", " The Brisa Suit",
     112, 303, 320, kBrisaAreas, kBrisaAreas, kBrisaFabrics, "Polycotton", "ACPNS1", kRebuildSix, kInfoBrisa},
    {7, "Lumen", "lu", ".lur", "lur", "Lumen suit Files (*.lur)|*.lur", " The Lumen Suit",
     128, 322, 302, kLumenAreas, {}, kThreeFabrics, "CottonFelt", "ACPNS1", kRebuildFive, kInfoLumen},
};
// clang-format on

inline constexpr std::string_view kTabCaptions =
    "Orlensuit|Vantor|Kiro (Male)|Kiro (Female)|Delma (Male)|Delma (Female)|Brisa|Lumen";

inline constexpr int kClearingPictureId = 144;

constexpr bool isModelIndex(int m)
{
    return m >= 0 && m < kModelCount;
}
constexpr bool hasTape(int m)
{
    return m != kBrisa;
}

// Number of design slots of a model: every list entry, Brisa's back list included.
constexpr int slotCount(int m)
{
    return static_cast<int>(kModels[m].areas.size() + kModels[m].backAreas.size());
}
// The binding-tape slot (the last slot), or -1 for Brisa.
constexpr int tapeSlot(int m)
{
    return hasTape(m) ? slotCount(m) - 1 : -1;
}
// Slot count of the colour key shown for a control index 0-8.
constexpr int keySlots(int control)
{
    return control == kBrisaBack ? static_cast<int>(kModels[kBrisa].backAreas.size())
                                 : static_cast<int>(kModels[control].areas.size());
}

// The model whose design files carry `extension` (with or without its dot,
// letter case ignored, as the Open dialog compares them), or -1.
constexpr int modelForExtension(std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.remove_prefix(1);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const SuitModel& model : kModels) {
        const std::string_view own = model.defaultExtension;
        bool same = own.size() == extension.size();
        for (std::size_t i = 0; same && i < own.size(); ++i)
            same = lower(extension[i]) == own[i];
        if (same)
            return model.index;
    }
    return -1;
}

// Position of an area name in a list, or -1.
constexpr int areaPosition(std::span<const AreaDefault> list, std::string_view name)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name)
            return static_cast<int>(i);
    return -1;
}

// Default fabric letter of a slot, for start-up and New.
constexpr char defaultLetter(int m, int slot)
{
    const SuitModel& model = kModels[m];
    const auto front = static_cast<int>(model.areas.size());
    return slot < front ? model.areas[static_cast<std::size_t>(slot)].fabric
                        : model.backAreas[static_cast<std::size_t>(slot - front)].fabric;
}

} // namespace cat
