#include "core/attributes.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cell_store_fixture.h"
#include "core/level_fonts.h"
#include "platform/headless_platform.h"

namespace qx {
namespace {

TEST(Attributes, MenuSetters) {
    const struct {
        uint32_t got, expected;
    } cases[] = {
        {setSize(0xFFFFFFFF, 0), 0x07FFFFFF},
        {setSize(0, -3), 0},
        {setSize(0, 7), 0x08000000},
        {setSize(0, 12), 0x28000000},
        {setSize(0, 38), 0xF8000000},
        {setSize(0, 39), 0xF8000000},
        {setColour(0xF0, 15), 0xFF},
        {setColour(0xFF, 16), 0xF0},
        {setFontByName(0, "Courier New"), 0x0400},
        {setFontByName(0, "Vendana"), 0x2100},
        {setFontByName(0x2100, "courier new"), 0},
        {setFontByName(0x2100, nullptr), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected) << std::hex << c.expected;
}

TEST(Attributes, SettingsTextOfAPlainStyleWord) {
    const LevelRec level;
    EXPECT_EQ(attributeSettingsText(0, 0, level, 10),
              "STYLE:\t0  (0)\n\nTEXT:\n  Font:\t\t\tArial\n  Size:\t\t\t10\n  Color:\t\t\tBlack\n"
              "  Weight:\t\t\tRegular\n  Italic:\t\t\tNo\n  Underline:\t\tNo\n  Line Wrap:\t\tNo\n"
              "  Justify:\t\t\tDefault\n  Align:\t\t\tBottom\n\nCELL:\n  Cell Type:\t\tFormula\n"
              "  Cells Overlapped:\t\t0\n  Hide Display:\t\tNo\n  Force Display:\t\tNo\n  Force Recalc:\t\tNo\n"
              "  Prevent Recalc:\t\tNo\n  Protect Cell:\t\tNo\n  Range Def:\t\tNo\n");
}

TEST(Attributes, SettingsBoxShowsEveryField) {
    LevelRec level;
    initLevelFonts(level);
    level.fontNames[10] = "Level Font";
    HeadlessPlatform platform;
    showAttributeSettings(platform, 0xF8374A0D, 0x4116, level, 10);
    ASSERT_EQ(platform.boxes().size(), 1u);
    const RecordedBox& box = platform.boxes()[0];
    EXPECT_EQ(box.caption, "Attribute settings");
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(box.text,
              "STYLE:\t4164373005  (F8374A0D)\n\nTEXT:\n  Font:\t\t\tLevel Font\n  Size:\t\t\t38\n"
              "  Color:\t\t\tFuchsia\n  Weight:\t\t\tBold\n  Italic:\t\t\tNo\n  Underline:\t\tYes\n"
              "  Line Wrap:\t\tYes\n  Justify:\t\t\tRight\n  Align:\t\t\tTop\n\nCELL:\n"
              "  Cell Type:\t\tVariable Label\n  Cells Overlapped:\t\t5\n  Hide Display:\t\tYes\n"
              "  Force Display:\t\tNo\n  Force Recalc:\t\tNo\n  Prevent Recalc:\t\tYes\n  Protect Cell:\t\tNo\n"
              "  Range Def:\t\tNo\n");
}

using EffectiveAttributesOfPlaces = testing::StoreTest;

TEST_F(EffectiveAttributesOfPlaces, NewCellsTakeTheNewestRangeThatContainsThem) {
    ASSERT_TRUE(addRangeAttributes(store, 1, {1, 1, 10, 10}, {0x0009, cellflag::kProtectCell, 0x00100000, 5}, 0));
    ASSERT_TRUE(addRangeAttributes(store, 1, {5, 5, 20, 20}, {0x4002, cellflag::kHideDisplay, 0x00080300, 4}, 0));
    const struct {
        int row, col;
        CellType type;
        uint32_t style;
        uint16_t flags;
        uint32_t formulaFlags;
    } cases[] = {
        {2, 2, CellType::Formula, 0x00300009, cellflag::kProtectCell, 0x00100000},
        {6, 6, CellType::Formula, 0x00304002, cellflag::kHideDisplay, 0x00080300},
        {7, 7, CellType::Label, 0x00104002, cellflag::kHideDisplay | 1, 0},
        {30, 30, CellType::Formula, 0x00300000, 0, 0},
    };
    for (const auto& c : cases) {
        CellRec* cell = store.makeCell(c.row, c.col, 1, c.type, err);
        EXPECT_EQ(std::tuple(cell->style, cell->flags, cell->formula ? cell->formula->flags : 0),
                  std::tuple(c.style, c.flags, c.formulaFlags))
            << c.row;
    }
    EXPECT_FALSE(addRangeAttributes(store, 33, {1, 1, 2, 2}, {}, 0));  // no such level
}

TEST_F(EffectiveAttributesOfPlaces, PrecisionComesFromTheCellThenThePlace) {
    level().defaults.precision = 3;
    addRangeAttributes(store, 1, {1, 1, 5, 5}, {0x1, 0, 0, 6}, 0);
    CellRec* coded = formula(1, 1);
    coded->formula->flags = 0x0500;  // code 5
    CellRec* plain = formula(2, 2);
    CellRec* text = label(9, 9);
    const struct {
        const CellRec* cell;
        int row, col, level, expected;
    } cases[] = {
        {coded, 1, 1, 1, 4}, {nullptr, 1, 1, 1, 4}, {text, 1, 1, 1, 4},     {plain, 2, 2, 1, 6},
        {text, 9, 9, 1, 3},  {nullptr, 7, 7, 0, 2}, {nullptr, 7, 7, 33, 2}, {nullptr, 0, 7, 1, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(effectivePrecision(store, c.cell, c.row, c.col, c.level), c.expected)
            << c.row << "," << c.col << "," << c.level;
    }
    EXPECT_EQ(effectiveAttributes(store, coded, 1, 1, 1).precision, 5);
    EXPECT_EQ(effectiveAttributes(store, nullptr, 3, 3, 1).style, 1u);
    EXPECT_EQ(effectiveAttributes(store, nullptr, 3, 3, 33).style, 0u);
}

}  // namespace
}  // namespace qx
