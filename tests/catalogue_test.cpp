// Transcription faults in the catalogue show up as broken invariants.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

TEST(Palettes, NoPureBlackAndEveryBlackIsNearBlack)
{
    for (const cat::Fabric& fabric : cat::kFabrics) {
        for (const cat::PaletteColour& colour : fabric.palette) {
            EXPECT_NE(colour.value, cat::kBoundary) << fabric.name << " " << colour.name;
            EXPECT_EQ(colour.value & 0xff000000U, 0U) << fabric.name << " " << colour.name;
            if (colour.name == "Black") {
                EXPECT_EQ(colour.value, cat::rgb(1, 1, 1)) << fabric.name;
            }
        }
    }
}

TEST(Palettes, FitTheirGridsAndLookupsStayInsideTheirTables)
{
    for (int f = 0; f < cat::kFabricCount; ++f) {
        const cat::Fabric& fabric = cat::kFabrics[f];
        const int size = static_cast<int>(fabric.palette.size());
        EXPECT_EQ(fabric.index, f);
        EXPECT_LE(size, fabric.gridRows * cat::kPaletteColumns) << fabric.name;
        EXPECT_EQ(fabric.letter, fabric.name.front());
        EXPECT_EQ(cat::fabricByName(fabric.name), f);
        EXPECT_NE(cat::paletteColour(f, size - 1), nullptr) << fabric.name;
        EXPECT_EQ(cat::paletteColour(f, size), nullptr) << fabric.name;
        EXPECT_EQ(cat::paletteColour(f, -1), nullptr);
    }
    EXPECT_EQ(cat::paletteColour(-1, 0), nullptr);
    EXPECT_EQ(cat::paletteColour(cat::kFabricCount, 0), nullptr);
    EXPECT_EQ(cat::fabricByName(""), -1);
}

TEST(Models, AreasDefaultsAndFileNamesAgree)
{
    std::set<char> fabricLetters;
    for (const cat::Fabric& f : cat::kFabrics)
        fabricLetters.insert(f.letter);
    for (int m = 0; m < cat::kModelCount; ++m) {
        const cat::SuitModel& model = cat::kModels[m];
        EXPECT_EQ(model.index, m);
        for (int s = 0; s < cat::slotCount(m); ++s)
            EXPECT_TRUE(fabricLetters.count(cat::defaultLetter(m, s))) << model.caption << " slot " << s;
        if (cat::hasTape(m)) {
            EXPECT_EQ(model.areas.back().name, cat::kBindingTape);
            EXPECT_EQ(cat::tapeSlot(m), cat::slotCount(m) - 1);
        }
        // Key slots equal the list entries beside them.
        EXPECT_EQ(cat::keySlots(m), static_cast<int>(model.areas.size()));
        EXPECT_EQ(model.defaultExtension, std::string(model.code) + "r");
        EXPECT_EQ(model.extension, "." + std::string(model.defaultExtension));
        EXPECT_NE(model.filter.find("|*" + std::string(model.extension)), std::string::npos);
        EXPECT_GE(cat::fabricByName(model.startFabric), 0);
        for (std::string_view fabric : model.startFabrics)
            EXPECT_GE(cat::fabricByName(fabric), 0) << fabric;
        // A file's model comes from its extension, as the Open dialog compares it.
        std::string upper(model.extension);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(cat::modelForExtension(model.extension), m);
        EXPECT_EQ(cat::modelForExtension(model.defaultExtension), m);
        EXPECT_EQ(cat::modelForExtension(upper), m);
    }
    for (std::string_view other : {"", ".", "olr.", ".olrr", "ol", ".txt", "..olr"})
        EXPECT_EQ(cat::modelForExtension(other), -1) << other;
    // Brisa's back list mirrors its front list.
    const cat::SuitModel& brisa = cat::kModels[cat::kBrisa];
    ASSERT_EQ(brisa.areas.size(), brisa.backAreas.size());
    for (std::size_t i = 0; i < brisa.areas.size(); ++i) {
        EXPECT_EQ(brisa.areas[i].name, brisa.backAreas[i].name);
        EXPECT_EQ(brisa.areas[i].fabric, brisa.backAreas[i].fabric);
    }
}

TEST(Models, InformationTextsHaveAnUpperCaseHeadingAndCrLfLines)
{
    for (const cat::SuitModel& model : cat::kModels) {
        const std::string text(model.info);
        const auto firstBreak = text.find("\r\n\r\n");
        ASSERT_NE(firstBreak, std::string::npos) << model.caption;
        for (char ch : text.substr(0, firstBreak))
            EXPECT_FALSE(ch >= 'a' && ch <= 'z') << model.caption;
        for (auto pos = text.find('\n'); pos != std::string::npos; pos = text.find('\n', pos + 1))
            EXPECT_TRUE(pos > 0 && text[pos - 1] == '\r') << model.caption;
    }
    // The two cuts of one suit differ only in their headings.
    for (auto [a, b] : {std::pair{2, 3}, std::pair{4, 5}}) {
        const std::string_view x = cat::kModels[a].info, y = cat::kModels[b].info;
        EXPECT_EQ(x.substr(x.find("\r\n\r\n")), y.substr(y.find("\r\n\r\n")));
    }
}

TEST(Seeds, EveryRowNamesAnAreaOfItsModelAtItsSlot)
{
    std::set<std::pair<int, int>> seen;
    for (const cat::AreaSeeds& row : cat::kAreaSeeds) {
        ASSERT_TRUE(cat::isModelIndex(row.model));
        const cat::SuitModel& model = cat::kModels[row.model];
        const int front = static_cast<int>(model.areas.size());
        const bool back = row.slot >= front;
        const auto list = back ? model.backAreas : model.areas;
        const int position = back ? row.slot - front : row.slot;
        ASSERT_LT(position, static_cast<int>(list.size())) << row.name;
        EXPECT_EQ(list[static_cast<std::size_t>(position)].name, row.name);
        EXPECT_TRUE(seen.insert({row.model, row.slot}).second) << "duplicate " << row.name;
        EXPECT_LE(row.count, cat::kMaxSeeds);
        for (const cat::SeedPoint& p : row.seeds()) {
            EXPECT_TRUE(p.x >= 0 && p.x < model.pictureWidth) << row.name;
            EXPECT_TRUE(p.y >= 0 && p.y < model.pictureHeight) << row.name;
        }
    }
    // Every painted area has a row; the tape paints nothing.
    for (int m = 0; m < cat::kModelCount; ++m) {
        for (int s = 0; s < cat::slotCount(m); ++s)
            EXPECT_EQ(cat::seedsOf(m, s) == nullptr, s == cat::tapeSlot(m)) << m << " " << s;
    }
}

TEST(FabricRules, NameOnlyAreasOfTheirModelAndRealFabrics)
{
    for (const cat::FabricRule& rule : cat::kFabricRules) {
        ASSERT_TRUE(cat::isModelIndex(rule.model));
        EXPECT_NE(rule.model, cat::kBrisa);
        for (std::string_view area : rule.areas) {
            EXPECT_GE(cat::areaPosition(cat::kModels[rule.model].areas, area), 0) << area;
            EXPECT_NE(area, cat::kBindingTape);
            EXPECT_EQ(cat::fabricRuleFor(rule.model, area), &rule) << "two rules for " << area;
        }
        for (std::string_view fabric : rule.fabrics)
            EXPECT_GE(cat::fabricByName(fabric), 0) << fabric;
    }
    // Every area of a model with rules, but the tape, has one.
    for (int m : {0, 1, 4, 5, 7})
        for (const cat::AreaDefault& area : cat::kModels[m].areas)
            if (area.name != cat::kBindingTape) {
                EXPECT_NE(cat::fabricRuleFor(m, area.name), nullptr) << m << " " << area.name;
            }
    // The start-up fabric list is what the first area's rule gives.
    for (int m : {0, 1, 2, 3, 4, 5, 7}) {
        const cat::FabricRule* rule = cat::fabricRuleFor(m, cat::kModels[m].areas.front().name);
        ASSERT_NE(rule, nullptr);
        ASSERT_EQ(rule->fabrics.size(), cat::kModels[m].startFabrics.size());
        for (std::size_t i = 0; i < rule->fabrics.size(); ++i)
            EXPECT_EQ(rule->fabrics[i], cat::kModels[m].startFabrics[i]);
    }
}

TEST(PaletteGeometry, ClickRangesAtTheirBoundaries)
{
    const std::pair<float, int> columns[] = {{2.0F, -1}, {3.0F, 0},   {16.0F, 0},  {17.0F, -1},
                                             {18.5F, 1}, {112.0F, 6}, {112.5F, -1}};
    const std::pair<float, int> rows[] = {{-0.5F, -1}, {0.0F, 0},  {15.0F, -1}, {31.0F, -1},
                                          {62.0F, 3},  {63.0F, 4}, {78.0F, 4},  {79.0F, -1}};
    for (auto [x, column] : columns)
        EXPECT_EQ(cat::columnAt(x), column) << x;
    for (auto [y, row] : rows)
        EXPECT_EQ(cat::rowAt(y), row) << y;

    // Below the last row's range a position is no cell at all; in a gap it
    // is a cell with that coordinate unknown.
    EXPECT_FALSE(cat::paletteHitAt(10.0F, 78.01F).has_value());
    const auto lastRow = cat::paletteHitAt(17.0F, 78.0F);
    ASSERT_TRUE(lastRow.has_value());
    EXPECT_EQ(lastRow->column, -1);
    EXPECT_EQ(lastRow->row, 4);
    const auto gap = cat::paletteHitAt(3.0F, 15.5F);
    ASSERT_TRUE(gap.has_value());
    EXPECT_EQ(gap->column, 0);
    EXPECT_EQ(gap->row, -1);
}

} // namespace
