#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "files/text/text_fields.h"
#include "files/text/text_import.h"
#include "unit/core/temp_directory.h"
#include "unit/files/file_fixture.h"

namespace qx::test {
namespace {

struct ImportFixture : ::testing::Test, FileFixture {
    // Imports `bytes` as the kind at [row,col] of level 1; false on failure.
    bool import(TextKind kind, const std::string& bytes, int row = 1, int col = 1, ProtectionPort* port = nullptr) {
        std::istringstream in(bytes);
        FileContext ctx{store, engine, platform, port ? *port : protection, LevelDefaults{}};
        lastError = ErrStat{};
        return importText(ctx, kind, in, ImportStart{1, row, col}, outcome, lastError);
    }
    // "" for no cell, "L:text" for a Label, "F:value" for a Formula.
    std::string at(int row, int col) {
        const CellRec* c = cell(row, col);
        if (c == nullptr || c->isPlaceholder()) return "";
        if (c->isLabel()) return "L:" + std::string(c->textView());
        std::ostringstream v;
        v << c->formula->value;
        return "F:" + v.str();
    }
    ImportOutcome outcome;
};

TEST(TextFields, NumberTestFollowsTheImportGrammar) {
    const std::pair<const char*, bool> cases[] = {
        {"12", true},    {" -3.5 ", true}, {".5", true},    {"5.", true},   {"1e+5", true}, {"2E-03", true},
        {"1e5", false},  {"1e+", false},   {".", false},    {"", false},    {"+", false},   {"1.2.3", false},
        {".5.3", false}, {"12a", false},   {"0x1F", false}, {"- 1", false}, {"--1", false},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(passesNumberTest(text), number) << text;
}

TEST(TextFields, CsvLinesLoseTrailingEmptyFieldsAndReadQuotes) {
    using Fields = std::vector<std::string>;
    const std::pair<const char*, Fields> cases[] = {
        {"a,b,\"\",,", {"a", "b"}},
        {"1,,3", {"1", "", "3"}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"\"say \"\"hi\"\"\",", {"say \"hi\""}},
        {"a\"\"b", {"a b"}},
        {"  a  ,b  ", {"  a", "b"}},
        {",,,", {}},
        {"\"unclosed,x", {"unclosed,x"}},
    };
    for (const auto& [line, fields] : cases) EXPECT_EQ(splitCsvLine(line), fields) << line;
}

TEST(TextFields, OnlyLineFeedEndsALine) {
    std::string longLine(300, 'x');
    std::istringstream in("a\r\nb\rc\td\x01\n\xE9t\xE9\n" + longLine + "\nlast");
    TextLineReader lines(in, kTextLineLimit);
    std::vector<std::string> got;
    for (std::string line; lines.next(line);) got.push_back(line);
    const std::vector<std::string> expected{"a", "b c d ", "\xE9t\xE9", std::string(255, 'x'), "last"};
    EXPECT_EQ(got, expected);
}

TEST_F(ImportFixture, TextLineFieldsBecomeFormulasAndLabels) {
    ASSERT_TRUE(import(TextKind::Text, "12 abc \"x y\" 3.5e+2 \"7\" 'q '8\n\n  next\n"));
    const std::vector<std::string> row1{"F:12", "L:abc", "L:x y", "F:350", "F:7", "L:q", "F:8"};
    for (int col = 1; col <= 7; ++col) EXPECT_EQ(at(1, col), row1[static_cast<std::size_t>(col - 1)]) << col;
    EXPECT_EQ(at(2, 1), "");
    EXPECT_EQ(at(3, 1), "L:next");
    // A number too large for the formula language stays a failed cell; the import goes on.
    ASSERT_TRUE(import(TextKind::Text, "1e+999 4\n", 5));
    EXPECT_NE(cell(5, 1), nullptr);
    EXPECT_EQ(at(5, 2), "F:4");
}

TEST_F(ImportFixture, LeadingZerosAreDecimal) {
    ASSERT_TRUE(import(TextKind::Text, "0123 010 007.5 08 0830 0 0.5 -012 00.25\n"));
    const char* expected[] = {"F:123", "F:10", "F:7.5", "F:8", "F:830", "F:0", "F:0.5", "F:-12", "F:0.25"};
    for (int col = 1; col <= 9; ++col) EXPECT_EQ(at(1, col), expected[col - 1]) << col;
    ASSERT_TRUE(import(TextKind::Dif, "DATA\n0,0\n\"\"\n-1,0\nBOT\n0,0123\nV\n-1,0\nEOD\n", 5));
    EXPECT_EQ(at(6, 1), "F:123");
    ASSERT_TRUE(import(TextKind::Csv, "0123,\"010\"\n", 8));
    EXPECT_EQ(at(8, 1), "F:123");
    EXPECT_EQ(at(8, 2), "F:10");
}

TEST_F(ImportFixture, TildeInsideALineAsksAndDropsTheRest) {
    platform.queueAnswer(PolicyAnswer::Yes);
    platform.queueAnswer(PolicyAnswer::No);
    ASSERT_TRUE(import(TextKind::Text, "1 2 ~x 4\nnext\n5 ~y\nnot read\n"));
    EXPECT_EQ(at(1, 2), "F:2");
    EXPECT_EQ(at(1, 3), "");
    EXPECT_EQ(at(1, 4), "");
    EXPECT_EQ(at(2, 1), "L:next");
    EXPECT_EQ(at(3, 1), "F:5");
    EXPECT_EQ(at(4, 1), "");
    EXPECT_TRUE(outcome.stopped);
    ASSERT_EQ(platform.boxes().size(), 2u);
    EXPECT_EQ(
        platform.boxes()[0].text,
        "An illegal character ( ~ ) was encountered at line 1.\n\n1 2 ~x 4\n\nAs a result, the full line will not "
        "be loaded.  Do you want to continue?");
}

TEST_F(ImportFixture, ArrayBlockFillsTheNamedElements) {
    ASSERT_TRUE(import(TextKind::Text, "~[3,2,5],2,4\n1.5\n2*3\nbad(\nafter\n"));
    const CellRec* c = cell(3, 2);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->isFormula());
    EXPECT_EQ(c->formula->value, 0.0);
    ASSERT_EQ(c->formula->arrayCount(), 5u);
    const double expected[] = {0, 1.5, 6, 0, 0};
    for (int e = 1; e <= 5; ++e) EXPECT_EQ(c->formula->array[e], expected[e - 1]) << e;
    EXPECT_EQ(at(5, 1), "L:after");  // every line took a row, the block's too
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ImportFixture, ArrayLinesCannotCallOrAssign) {
    testing::TempDirectory dir;
    const std::string victim = dir.file("x");
    enter(2, 2, "+7");
    platform.setPolicy(PolicyAnswer::Yes);
    const std::string text = "~[1,1,1],fopen(\"" + victim + "\",\"w\"),1\n~[4,1,2],1,2\n[2,2]=5\n[2,2]+1\n";
    ASSERT_TRUE(import(TextKind::Text, text, 1, 1));
    EXPECT_FALSE(std::filesystem::exists(victim));
    EXPECT_EQ(at(2, 2), "F:7");
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].text.rfind("Detected an illegal Array Header at line 1.", 0), 0u);
    const CellRec* block = cell(4, 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->formula->array[1], 0.0);
    EXPECT_EQ(block->formula->array[2], 8.0);
}

TEST_F(ImportFixture, IllegalArrayHeadersAreRefused) {
    const char* headers[] = {"~[1,1,8192],1,1", "~[1,1,3],2,1", "~[1,1,3],0,2", "~[1,1,3],1,4",  "~[1,1],1,1",
                             "~[0,1,3],1,1",    "~[1,1,3],1",   "~1,2",         "~[1,1,3],1,a=2"};
    platform.setPolicy(PolicyAnswer::Yes);
    for (const char* header : headers) {
        platform.clearBoxes();
        ASSERT_TRUE(import(TextKind::Text, std::string(header) + "\n")) << header;
        ASSERT_EQ(platform.boxes().size(), 1u) << header;
        EXPECT_EQ(platform.boxes()[0].text.rfind("Detected an illegal Array Header", 0), 0u) << header;
        EXPECT_EQ(cell(1, 1), nullptr) << header;
    }
}

TEST_F(ImportFixture, ExistingArrayAreaAsksBeforeItIsOverwritten) {
    ASSERT_TRUE(import(TextKind::Text, "~[1,1,2],1,2\n4\n5\n"));
    platform.queueAnswer(PolicyAnswer::No);
    ASSERT_TRUE(import(TextKind::Text, "~[1,1,3],1,3\n7\n8\n9\nnot read\n", 1, 3));
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(cell(1, 1)->formula->arrayCount(), 2u);
    EXPECT_EQ(cell(1, 1)->formula->array[2], 5.0);
    EXPECT_EQ(at(5, 3), "");
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].text,
              "You are about the overwrite the Array Area of cell [1,1].\n\nDo you want to continue?");
}

TEST_F(ImportFixture, ArrayBlockCutShortAsks) {
    ASSERT_TRUE(import(TextKind::Text, "~[1,1,4],1,4\n1\n2\n"));
    EXPECT_EQ(cell(1, 1)->formula->array[2], 2.0);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].text,
              "The Array Area at of cell [1,1] was not loaded correctly.\n\nDo you want to continue?");
}

TEST_F(ImportFixture, CsvFieldsAdvanceColumnsEvenWhenEmpty) {
    ASSERT_TRUE(import(TextKind::Csv, "1,,\"a,b\",\"say \"\"hi\"\"\",'x, 2 ,\"\",\r\n,y\n", 2, 3));
    EXPECT_EQ(at(2, 3), "F:1");
    EXPECT_EQ(at(2, 4), "");
    EXPECT_EQ(at(2, 5), "L:a,b");
    EXPECT_EQ(at(2, 6), "L:say \"hi\"");
    EXPECT_EQ(at(2, 7), "L:'x");
    EXPECT_EQ(at(2, 8), "F:2");
    EXPECT_EQ(at(3, 3), "");
    EXPECT_EQ(at(3, 4), "L:y");
}

TEST_F(ImportFixture, DifValuesByIndicator) {
    const std::string dif =
        "TABLE\n0,1\n\"\"\nDATA\n0,0\n\"\"\n-1,0\nBOT\n1,0\n\"name\"\n1,0\n\"\"\n0,2.5\nV\n0,0\nNA\n0,1\nTRUE\n"
        "0,1\nFALSE\n0,0\nERROR\n-1,0\nBOT\n0,-4\nV\n-1,0\nEOD\n0,9\nV\n";
    ASSERT_TRUE(import(TextKind::Dif, dif, 1, 2));
    const char* row2[] = {"L:name", "", "F:2.5", "F:0", "F:1", "F:0", "F:0"};
    for (int col = 2; col <= 8; ++col) EXPECT_EQ(at(2, col), row2[col - 2]) << col;
    EXPECT_EQ(at(3, 2), "F:-4");
    EXPECT_EQ(at(4, 2), "");
    EXPECT_EQ(at(1, 2), "");
}

TEST_F(ImportFixture, DifWithoutDataOrOnlyEndChangesNothing) {
    for (const char* dif : {"DATA\n0,0\n\"\"\n-1,0\nEOD\n", "TABLE\n0,1\n", ""}) {
        ASSERT_TRUE(import(TextKind::Dif, dif)) << dif;
        EXPECT_TRUE(store.levelEmpty(1)) << dif;
    }
}

TEST_F(ImportFixture, DifErrorsNameTheirPoint) {
    const std::string head = "DATA\n0,0\n\"\"\n-1,0\nBOT\n";
    const std::pair<std::string, int> cases[] = {
        {"-1,0\nTOP\n", 1}, {"1,0\nname\n", 2}, {"0,1\nX\n", 3}, {"0,abc\nV\n", 3}, {"2,0\n\"\"\n", 4},
    };
    for (const auto& [body, point] : cases) {
        EXPECT_FALSE(import(TextKind::Dif, head + "0,1\nV\n" + body)) << body;
        EXPECT_EQ(lastError.point, point) << body;
        EXPECT_TRUE(lastError.is(Msg::IllegalFileType)) << body;
        EXPECT_EQ(at(2, 1), "F:1") << "cells stored before the failure remain";
    }
}

TEST_F(ImportFixture, ColumnsStopAt255AndRowsAt65534) {
    std::string wide;
    for (int k = 0; k < 10; ++k) wide += std::to_string(k) + ",";
    ASSERT_TRUE(import(TextKind::Csv, wide + "\n", kMaxRow - 1, kMaxCol - 2));
    EXPECT_EQ(at(kMaxRow - 1, kMaxCol), "F:2");
    ASSERT_TRUE(import(TextKind::Text, "a\nb\nc\n", kMaxRow - 1, 1));
    EXPECT_EQ(at(kMaxRow, 1), "L:b");
}

TEST_F(ImportFixture, RefusedCellsStopTheImport) {
    FakeProtection port;
    port.words[1] &= ~(1u << 5);
    ASSERT_TRUE(import(TextKind::Csv, "1,2\n3\n", 1, 1, &port));
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(port.refused, 1);
    EXPECT_TRUE(store.levelEmpty(1));
}

TEST_F(ImportFixture, ImportFileAsksBeforeOverwritingAndReportsProblems) {
    testing::TempDirectory dir;
    dir.write("a.CSV", "5\n");
    FileContext ctx = context();
    enter(9, 9, "'kept");
    platform.queueAnswer(PolicyAnswer::No);
    ErrStat err;
    EXPECT_TRUE(importTextFile(ctx, ImportStart{1, 1, 1}, dir.file("a.CSV"), err));
    EXPECT_EQ(at(1, 1), "");
    EXPECT_TRUE(importTextFile(ctx, ImportStart{1, 1, 1}, dir.file("a.CSV"), err));
    EXPECT_EQ(at(1, 1), "F:5");
    EXPECT_FALSE(importTextFile(ctx, ImportStart{1, 1, 1}, dir.file("missing.txt"), err));
    EXPECT_TRUE(err.is(Msg::CannotOpenFile));
    EXPECT_EQ(platform.boxes().back().text, "A problem was detected while importing data from:\n\n" + dir.path());
    EXPECT_FALSE(importTextFile(ctx, ImportStart{1, 1, 1}, dir.file("a.xls"), err));
    EXPECT_EQ(platform.boxes().back().text, "Unable to importing data from files with an (.xls) extension.");
}

// Random bytes and damaged files of each kind: the readers must end cleanly, failing only with their
// own codes, and leave a level whose cells are all within the grid.
TEST_F(ImportFixture, DamagedFilesNeverBreakTheReader) {
    const std::string seeds[] = {
        "12 abc \"x y\" 3.5e+2\n~[2,2,3],1,3\n1\n2\n3\n",
        "1,\"a,b\",\"q\"\"q\",,\r\n\"\",2\n",
        "DATA\n0,0\n\"\"\n-1,0\nBOT\n0,1\nV\n1,0\n\"t\"\n-1,0\nEOD\n",
    };
    const TextKind kinds[] = {TextKind::Text, TextKind::Csv, TextKind::Dif};
    std::mt19937 random(20261207);
    platform.setPolicy(PolicyAnswer::Yes);
    for (int round = 0; round < 600; ++round) {
        std::string bytes = seeds[round % 3];
        if (round % 5 == 0) {
            bytes.assign(static_cast<std::size_t>(random() % 400), '\0');
            for (char& b : bytes) b = static_cast<char>(random());
        } else {
            for (int k = 0, n = 1 + static_cast<int>(random() % 8); k < n; ++k) {
                const std::size_t at = random() % (bytes.size() + 1);
                const char pool[] = "~[],\"\n\r0e+-.=(x";
                bytes.insert(at, 1, random() % 3 ? pool[random() % (sizeof pool - 1)] : static_cast<char>(random()));
            }
        }
        const TextKind kind = kinds[random() % 3];
        if (!import(kind, bytes, 1 + static_cast<int>(random() % 3), 1 + static_cast<int>(random() % 3))) {
            EXPECT_TRUE(kind == TextKind::Dif && lastError.is(Msg::IllegalFileType)) << round;
        }
        platform.clearBoxes();
    }
    EXPECT_EQ(store.checkRows(1), "");
    EXPECT_EQ(store.checkDependents(1), "");
}

}  // namespace
}  // namespace qx::test
