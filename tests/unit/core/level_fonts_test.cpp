#include "core/level_fonts.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cell_store_fixture.h"
#include "core/app_globals.h"
#include "core/range_attributes.h"
#include "core/style_word.h"

namespace qx {
namespace {

TEST(LevelFonts, NamesAndAdding) {
    LevelRec level;
    EXPECT_EQ(levelFontCount(level), 34);
    // Beyond the table a name reads as the first font.
    EXPECT_EQ(std::tuple(levelFontName(level, 0), levelFontName(level, 33), levelFontName(level, 34)),
              std::tuple("Arial", "Vendana", "Arial"));
    EXPECT_EQ(addLevelFont(level, std::string(40, 'x')), 34);
    EXPECT_EQ(levelFontName(level, 34), std::string(32, 'x'));
    for (int i = 35; i < kLevelFontCapacity; ++i) EXPECT_EQ(addLevelFont(level, "More"), i);
    EXPECT_EQ(addLevelFont(level, "Overflow"), -1);
    EXPECT_EQ(levelFontCount(level), 64);
}

class LevelFontCompaction : public testing::StoreTest {
  protected:
    CellRec* makeWithFont(int row, int col, int font) {
        CellRec* cell = label(row, col);
        cell->style = style::withFont(0x5, font);
        return cell;
    }
    void addNames(const std::vector<std::string>& names) {
        for (const std::string& n : names) addLevelFont(level(), n);
    }
    std::vector<std::string> addedNames() {
        return {level().fontNames.begin() + kAppFontCount, level().fontNames.end()};
    }
};

TEST_F(LevelFontCompaction, UnusedAddedNamesGoAndLaterUsersAreRenumbered) {
    addNames({"W", "X", "Y", "Z"});  // 34..37
    CellRec* usesX = makeWithFont(1, 1, 35);
    CellRec* usesZ = makeWithFont(1, 2, 37);
    CellRec* usesBuiltIn = makeWithFont(3, 1, 12);
    CellRec* beyondTable = makeWithFont(4, 1, 50);
    compactLevelFonts(level());
    EXPECT_EQ(addedNames(), (std::vector<std::string>{"X", "Z"}));
    EXPECT_EQ(usesX->style, style::withFont(0x5, 34));
    EXPECT_EQ(usesZ->style, style::withFont(0x5, 35));
    EXPECT_EQ(usesBuiltIn->style, style::withFont(0x5, 12));
    EXPECT_EQ(beyondTable->style, style::withFont(0x5, 50));
}

TEST_F(LevelFontCompaction, DefaultsAndRangeRecordsCountAsUsers) {
    addNames({"W", "X", "Y"});
    level().defaults.style = style::withFont(0, 36);
    addRangeAttributes(level(), {1, 1, 2, 2}, {style::withFont(0, 35), 0, 0, 2}, 0);
    compactLevelFonts(level());
    EXPECT_EQ(addedNames(), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(style::font(level().rangeRecords[0].style), 34);
    EXPECT_EQ(style::font(level().defaults.style), 35);
}

}  // namespace
}  // namespace qx
