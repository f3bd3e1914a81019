#pragma once

#include "catalogue/colour.h"
#include "catalogue/models.h"
#include "state/order_details.h"

#include <array>
#include <cstdint>
#include <string>

namespace state {

// One model's design: per area slot the colour (a cell of the area fabric's
// palette, 99 when none), the fabric, the fabric code letter and the colour
// name; its file bookkeeping; and the palette selection the click works on.
struct ModelDesign {
    std::array<std::int16_t, cat::kMaxSlots> areaColour{};
    std::array<std::int16_t, cat::kMaxSlots> areaFabric{};
    std::array<std::string, cat::kMaxSlots> areaFabricCode{};
    std::array<std::string, cat::kMaxSlots> areaColourName{};

    // Who orders, the measurements, the dates: kept in the file after the record.
    OrderDetails order;

    std::string fileName;
    std::string filePath;
    bool saved = false;
    bool changed = false;

    std::int16_t currentFabric = 0;
    cat::Colour currentColour = 0; // 0 is "none": no palette holds pure black
    std::int16_t paletteColumn = 0;
    std::int16_t paletteRow = 0;
    std::int16_t previousColumn = 0;
    std::int16_t previousRow = 0;
    std::int16_t hoverColumn = 0;
    std::int16_t hoverRow = 0;

    bool hasColour() const { return currentColour != 0; }
};

// The designs of all eight models, alive for the whole run.
struct DesignState {
    std::array<ModelDesign, cat::kModelCount> models{};
    // Colour-key fill points: slot k of every key is filled through point k.
    std::array<std::int16_t, 10> keyX{};
    std::array<std::int16_t, 10> keyY{};
    // Fall-rate suffix of the last fabric chosen, shared by all pages.
    std::string fallRate;
    // Where the next Open or Save As dialog starts: the program's own folder,
    // then the folder of the file last chosen.
    std::string dialogFolder;

    ModelDesign& operator[](int m) { return models[static_cast<std::size_t>(m)]; }
    const ModelDesign& operator[](int m) const { return models[static_cast<std::size_t>(m)]; }
};

// Nearest integer, halves to even: how real numbers become design integers.
std::int16_t roundToInt16(double value);

// Start values before the first model is shown: every colour 99, fabrics 0,
// letters and names empty (start-up gives the letters after its first
// selections), "Untitled", nothing saved or changed.
void resetToStartValues(DesignState& state);

// The default fabric letters of a model's areas, as start-up and New give them.
void setDefaultLetters(ModelDesign& design, int model);

// Sets every slot of a model to "no colour": colour and fabric 99, no name.
void clearAreas(ModelDesign& design, int model);

// Computes the ten key fill points from the ten-slot key's drawable size.
void computeKeyPoints(DesignState& state, int keyWidth, int keyHeight);

} // namespace state
