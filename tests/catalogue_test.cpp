// Transcription faults in the catalogue show up as broken invariants.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(Palettes, NoPureBlackAndEveryBlackIsNearBlack)
{
    for (const cat::Fabric& fabric : cat::kFabrics) {
        for (const cat::PaletteColour& colour : fabric.palette) {
            EXPECT_NE(colour.value, cat::kBoundary) << fabric.name << " " << colour.name;
            if (colour.name == "Black") {
                EXPECT_EQ(colour.value, cat::rgb(1, 1, 1)) << fabric.name;
            }
            EXPECT_EQ(colour.value & 0xff000000U, 0U) << fabric.name << " " << colour.name;
        }
    }
}

TEST(Palettes, CountsFitTheirGridsAndIndexesMatch)
{
    const int counts[cat::kFabricCount] = {17, 14, 14, 14, 17, 31, 18, 8};
    for (int f = 0; f < cat::kFabricCount; ++f) {
        const cat::Fabric& fabric = cat::kFabrics[f];
        EXPECT_EQ(fabric.index, f);
        EXPECT_EQ(static_cast<int>(fabric.palette.size()), counts[f]) << fabric.name;
        EXPECT_LE(static_cast<int>(fabric.palette.size()), fabric.gridRows * cat::kPaletteColumns);
        EXPECT_EQ(fabric.letter, fabric.name.front());
        EXPECT_EQ(cat::fabricByName(fabric.name), f);
    }
    EXPECT_EQ(cat::kFabrics[cat::kTape].gridRows, 5);
    EXPECT_EQ(cat::fabricByName("cottonfelt"), -1);
    EXPECT_EQ(cat::fabricByName(""), -1);
}

TEST(Palettes, LookupRefusesEveryIndexOutsideItsTable)
{
    EXPECT_EQ(cat::paletteColour(7, 7)->name, "Orange");
    EXPECT_EQ(cat::paletteColour(7, 8), nullptr);
    EXPECT_EQ(cat::paletteColour(5, 30)->name, "Emerald");
    EXPECT_EQ(cat::paletteColour(5, 31), nullptr);
    EXPECT_EQ(cat::paletteColour(0, -1), nullptr);
    EXPECT_EQ(cat::paletteColour(-1, 0), nullptr);
    EXPECT_EQ(cat::paletteColour(8, 0), nullptr);
    EXPECT_EQ(cat::paletteColour(99, 0), nullptr);
    EXPECT_EQ(cat::paletteColour(1, 8)->value, cat::rgb(19, 24, 132)); // Royal Blue (P)
}

TEST(Models, AreaListsSlotsAndDefaults)
{
    const int slots[cat::kModelCount] = {6, 9, 8, 8, 8, 9, 20, 8};
    const std::string letters[cat::kModelCount] = {"CCCCCT",   "CCCCSSCCT", "CCCSSCCT",           "CCCSSCCT",
                                                   "CSCCSCZT", "CCSCCSCZT", std::string(20, 'P'), "CCCSSNCT"};
    std::set<char> fabricLetters;
    for (const cat::Fabric& f : cat::kFabrics)
        fabricLetters.insert(f.letter);
    for (int m = 0; m < cat::kModelCount; ++m) {
        const cat::SuitModel& model = cat::kModels[m];
        EXPECT_EQ(model.index, m);
        EXPECT_EQ(model.pictureId, 16 * (m + 1));
        EXPECT_EQ(cat::slotCount(m), slots[m]) << model.caption;
        std::string got;
        for (int s = 0; s < cat::slotCount(m); ++s) {
            got += cat::defaultLetter(m, s);
            EXPECT_TRUE(fabricLetters.count(cat::defaultLetter(m, s))) << model.caption << " slot " << s;
        }
        EXPECT_EQ(got, letters[m]) << model.caption;
        if (cat::hasTape(m)) {
            EXPECT_EQ(model.areas.back().name, cat::kBindingTape);
            EXPECT_EQ(cat::tapeSlot(m), slots[m] - 1);
        }
        // Key slots equal the list entries beside them.
        EXPECT_EQ(cat::keySlots(m), static_cast<int>(model.areas.size()));
        EXPECT_EQ(model.extension, std::string(".") + std::string(model.code) + "r");
        EXPECT_EQ(model.defaultExtension, std::string(model.code) + "r");
        EXPECT_NE(model.filter.find(std::string("|*") + std::string(model.extension)), std::string::npos);
        EXPECT_EQ(model.heading.front(), ' ');
        EXPECT_GE(cat::fabricByName(model.startFabric), 0);
        for (std::string_view fabric : model.startFabrics)
            EXPECT_GE(cat::fabricByName(fabric), 0) << fabric;
    }
    EXPECT_EQ(cat::tapeSlot(cat::kBrisa), -1);
    EXPECT_EQ(cat::keySlots(cat::kBrisaBack), 10);
}

TEST(Models, BrisaListsAreIdenticalAndKiroSharesItsAreas)
{
    const cat::SuitModel& brisa = cat::kModels[cat::kBrisa];
    ASSERT_EQ(brisa.areas.size(), brisa.backAreas.size());
    for (std::size_t i = 0; i < brisa.areas.size(); ++i) {
        EXPECT_EQ(brisa.areas[i].name, brisa.backAreas[i].name);
        EXPECT_EQ(brisa.areas[i].fabric, brisa.backAreas[i].fabric);
    }
    EXPECT_EQ(cat::areaPosition(brisa.backAreas, "Legs Left") + cat::kBackOffset, 18);
    ASSERT_EQ(cat::kModels[2].areas.size(), cat::kModels[3].areas.size());
    EXPECT_EQ(cat::kModels[4].areas[1].fabric, 'S');
    EXPECT_EQ(cat::kModels[5].areas[2].name, "Legs Front");
    EXPECT_EQ(cat::kModels[5].areas[2].fabric, 'S');
}

TEST(Models, InformationTextsHaveHeadingBlankLineAndParagraphs)
{
    const int paragraphs[cat::kModelCount] = {1, 1, 1, 1, 1, 1, 2, 3};
    for (int m = 0; m < cat::kModelCount; ++m) {
        const std::string text(cat::kModels[m].info);
        const auto firstBreak = text.find("\r\n\r\n");
        ASSERT_NE(firstBreak, std::string::npos);
        const std::string heading = text.substr(0, firstBreak);
        for (char ch : heading)
            EXPECT_FALSE(ch >= 'a' && ch <= 'z') << heading;
        int blocks = 0;
        for (auto pos = text.find("\r\n\r\n"); pos != std::string::npos; pos = text.find("\r\n\r\n", pos + 4))
            ++blocks;
        EXPECT_EQ(blocks, paragraphs[m]) << heading;
        EXPECT_EQ(text.find('\n', 0), text.find("\r\n") + 1) << "lines end in CR LF";
    }
    const std::string_view kiroM = cat::kModels[2].info, kiroF = cat::kModels[3].info;
    EXPECT_EQ(kiroM.substr(kiroM.find("\r\n\r\n")), kiroF.substr(kiroF.find("\r\n\r\n")));
    const std::string_view delM = cat::kModels[4].info, delF = cat::kModels[5].info;
    EXPECT_EQ(delM.substr(delM.find("\r\n\r\n")), delF.substr(delF.find("\r\n\r\n")));
}

TEST(Seeds, EveryRowNamesAnAreaOfItsModelAtItsSlot)
{
    std::set<std::pair<int, int>> seen;
    for (const cat::AreaSeeds& row : cat::kAreaSeeds) {
        ASSERT_TRUE(cat::isModelIndex(row.model));
        const cat::SuitModel& model = cat::kModels[row.model];
        const bool back = row.slot >= static_cast<int>(model.areas.size());
        const auto list = back ? model.backAreas : model.areas;
        const int position = back ? row.slot - static_cast<int>(model.areas.size()) : row.slot;
        ASSERT_LT(position, static_cast<int>(list.size())) << row.name;
        EXPECT_EQ(list[static_cast<std::size_t>(position)].name, row.name);
        EXPECT_NE(row.name, cat::kBindingTape);
        EXPECT_TRUE(seen.insert({row.model, row.slot}).second) << "duplicate " << row.name;
        EXPECT_LE(row.count, cat::kMaxSeeds);
        for (const cat::SeedPoint& p : row.seeds()) {
            EXPECT_GE(p.x, 0);
            EXPECT_GE(p.y, 0);
            EXPECT_LT(p.x, model.pictureWidth) << row.name;
            EXPECT_LT(p.y, model.pictureHeight) << row.name;
        }
    }
    // Every painted area has a row; the tape and Brisa's two seedless back areas paint nothing.
    for (int m = 0; m < cat::kModelCount; ++m) {
        const int painted = cat::hasTape(m) ? cat::slotCount(m) - 1 : cat::slotCount(m);
        for (int s = 0; s < painted; ++s)
            EXPECT_NE(cat::seedsOf(m, s), nullptr) << m << " " << s;
    }
    EXPECT_EQ(cat::seedsOf(cat::kBrisa, 13)->count, 0);
    EXPECT_EQ(cat::seedsOf(cat::kBrisa, 15)->count, 0);
    EXPECT_EQ(cat::seedsOf(7, 0)->count, 7);
    EXPECT_EQ(cat::seedsOf(0, 5), nullptr);
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
    EXPECT_EQ(cat::fabricRuleFor(2, "Sides"), nullptr); // Kiro has no sides
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
    EXPECT_EQ(cat::columnAt(2.0F), -1);
    EXPECT_EQ(cat::columnAt(3.0F), 0);
    EXPECT_EQ(cat::columnAt(16.0F), 0);
    EXPECT_EQ(cat::columnAt(17.0F), -1);
    EXPECT_EQ(cat::columnAt(18.5F), 1);
    EXPECT_EQ(cat::columnAt(112.0F), 6);
    EXPECT_EQ(cat::columnAt(112.5F), -1);
    EXPECT_EQ(cat::rowAt(-0.5F), -1);
    EXPECT_EQ(cat::rowAt(0.0F), 0);
    EXPECT_EQ(cat::rowAt(15.0F), -1);
    EXPECT_EQ(cat::rowAt(31.0F), -1);
    EXPECT_EQ(cat::rowAt(62.0F), 3);
    EXPECT_EQ(cat::rowAt(63.0F), 4);
    EXPECT_EQ(cat::rowAt(78.0F), 4);
    EXPECT_EQ(cat::rowAt(79.0F), -1);
}

} // namespace
