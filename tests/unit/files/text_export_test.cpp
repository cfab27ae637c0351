#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/style_word.h"
#include "files/text/text_export.h"
#include "files/text/text_import.h"
#include "unit/core/temp_directory.h"
#include "unit/files/file_fixture.h"

namespace qx::test {
namespace {

struct ExportFixture : ::testing::Test, FileFixture {
    std::string exported(TextKind kind, CellArea range, int width = kDefaultLineWidth) {
        std::ostringstream out;
        lastError = ErrStat{};
        exportText(store, kind, out, 1, range, width, lastError);
        return out.str();
    }
};

TEST(LineWidth, TypedWidthsAreKeptInRange) {
    const std::pair<const char*, int> cases[] = {{"", 255},    {"80", 80}, {" 1 ", 1},  {"255", 255},
                                                 {"256", 255}, {"0", 255}, {"-3", 255}, {"7x", 255}};
    for (const auto& [typed, width] : cases) EXPECT_EQ(lineWidthFrom(typed), width) << typed;
}

TEST_F(ExportFixture, CsvQuotesTextsAndDoublesInnerQuotes) {
    enter(1, 1, "+1.5");
    enter(1, 2, "'say \"hi\"");
    enter(1, 3, "'007");
    enter(2, 2, "'a, b");
    EXPECT_EQ(exported(TextKind::Csv, CellArea{1, 1, 3, 4}),
              "1.50,\"say \"\"hi\"\"\",007,\"\"\n\"\",\"a, b\",\"\",\"\"\n\"\",\"\",\"\",\"\"\n");
    EXPECT_EQ(exported(TextKind::Csv, CellArea{1, 1, 1, 4}, 12), "1.50,\"say \"\"\n");
}

TEST_F(ExportFixture, DifStopsAtTheLastRowHoldingACell) {
    enter(1, 1, "+2.5");
    enter(1, 2, "'name");
    enter(2, 1, "+0");
    enter(2, 2, "+1/0");
    enter(9, 5, "'outside the columns");
    EXPECT_EQ(exported(TextKind::Dif, CellArea{1, 1, 20, 3}),
              "DATA\n0,0\n\"\"\n"
              "-1,0\nBOT\n0,2.500000000000000\nV\n1,0\n\"name\"\n1,0\n\"\"\n"
              "-1,0\nBOT\n0,0\nV\n0,0\nERROR\n1,0\n\"\"\n"
              "-1,0\nEOD\n");
    EXPECT_EQ(exported(TextKind::Dif, CellArea{3, 1, 8, 3}), "");
    EXPECT_EQ(exported(TextKind::Dif, CellArea{1, 2, 1, 2}, 5),
              "DATA\n0,0\n\"\"\n-1,0\nBOT\n1,0\n\"nam\"\n-1,0\nEOD\n");
}

TEST_F(ExportFixture, TextRowsAreLaidOutAsTheWorksheetShowsThem) {
    enter(1, 1, "+12");
    enter(1, 2, "'abc");
    enter(1, 3, "'a label longer than its column");
    enter(2, 1, "'hidden");
    store.findCell(2, 1, 1, lastError)->set(cellflag::kHideDisplay);
    enter(2, 2, "'right");
    CellRec* right = cell(2, 2);
    right->style = style::withJustification(right->style, style::kJustifyRight);
    enter(2, 3, "'centre");
    CellRec* centre = cell(2, 3);
    centre->style = style::withJustification(centre->style, style::kJustifyCenter);
    EXPECT_EQ(exported(TextKind::Text, CellArea{1, 1, 3, 6}),
              "    12.00 abc       a label longer than its column\n"
              "              right  centre\n"
              "\n");
    EXPECT_EQ(exported(TextKind::Text, CellArea{1, 1, 1, 5}, 14), "    12.00 abc\n");
}

// What is written reads back as the same numbers and labels.
TEST_F(ExportFixture, ExportedFilesImportWithTheSameValues) {
    enter(1, 1, "+0.25");
    enter(1, 2, "'quote \" inside");
    enter(1, 3, "+-1234.5");
    enter(2, 1, "'007");
    enter(2, 3, "+[1,1]*4");
    for (TextKind kind : {TextKind::Csv, TextKind::Dif}) {
        std::istringstream in(exported(kind, CellArea{1, 1, 2, 3}));
        FileContext ctx = context();
        ImportOutcome outcome;
        ErrStat err;
        ASSERT_TRUE(importText(ctx, kind, in, ImportStart{1, 11, 1}, outcome, err));
        const int top = kind == TextKind::Dif ? 12 : 11;  // a DIF's first row goes below the start row
        EXPECT_EQ(cell(top, 1)->formula->value, 0.25);
        EXPECT_EQ(cell(top, 2)->textView(), "quote \" inside");
        EXPECT_EQ(cell(top, 3)->formula->value, -1234.5);
        EXPECT_EQ(cell(top + 1, 3)->formula->value, 1.0);
        EXPECT_EQ(cell(top + 1, 2), nullptr);
        // The CSV writes the label 007 bare, so it comes back as the number 7.
        if (kind == TextKind::Csv) {
            EXPECT_EQ(cell(top + 1, 1)->formula->value, 7.0);
        } else {
            EXPECT_EQ(cell(top + 1, 1)->textView(), "007");
        }
    }
}

TEST_F(ExportFixture, ExportFileAsksAndRefuses) {
    testing::TempDirectory dir;
    FileContext ctx = context();
    ErrStat err;
    EXPECT_TRUE(exportTextFile(ctx, 1, CellArea{1, 1, 1, 1}, dir.file("e.csv"), 80, err));
    EXPECT_EQ(platform.boxes().back().text, "Worksheet is empty.");
    enter(1, 1, "+3");
    platform.queueAnswer(PolicyAnswer::No);
    EXPECT_TRUE(exportTextFile(ctx, 1, CellArea{1, 1, 1, 1}, dir.file("e.csv"), 80, err));
    EXPECT_FALSE(std::ifstream(dir.file("e.csv")).is_open());
    EXPECT_EQ(platform.boxes().back().text,
              "Only the selected portion of the worksheet\nwill be exported!\n\nDo you want to continue?");
    EXPECT_FALSE(exportTextFile(ctx, 1, CellArea{1, 1, 2, 2}, dir.file("e.xls"), 80, err));
    EXPECT_EQ(platform.boxes().back().text, "Unable to export to files that have a (.xls) extension.");
    EXPECT_TRUE(exportTextFile(ctx, 1, CellArea{1, 1, 2, 2}, dir.file("e.TXT"), std::nullopt, err));
    EXPECT_FALSE(std::ifstream(dir.file("e.TXT")).is_open()) << "a cancelled width prompt writes nothing";
    platform.queuePrompt("256");
    EXPECT_TRUE(exportTextFile(ctx, 1, CellArea{1, 1, 2, 2}, dir.file("e.TXT"), std::nullopt, err));
    std::stringstream written;
    written << std::ifstream(dir.file("e.TXT"), std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), "     3.00\n\n");
    EXPECT_FALSE(exportTextFile(ctx, 1, CellArea{1, 1, 2, 2}, dir.file("no/such/dir/e.dif"), 80, err));
    EXPECT_TRUE(err.is(Msg::CannotOpenFile));
    EXPECT_EQ(platform.boxes().back().text, "A problem was detected while exporting data to:\n\ne.dif");
}

}  // namespace
}  // namespace qx::test
