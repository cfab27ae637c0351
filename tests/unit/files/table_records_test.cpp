#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "files/table_records.h"
#include "unit/files/file_fixture.h"

namespace qx {
namespace {

using test::FileFixture;
using Names = std::vector<std::pair<int, std::string>>;

void name(FileFixture& fx, TableDescriptor& t, const std::string& title, const Names& columns, const Names& rows) {
    LevelRec& level = *fx.store.levelPtr(1);
    ErrStat err;
    setTableTitle(level, t, title, err);
    for (const auto& [k, text] : columns) setColumnName(level, t, k, text, err);
    for (const auto& [k, text] : rows) setRowName(level, t, k, text, err);
    ASSERT_FALSE(err.failed());
}

std::string written(const TableDescriptor& t) {
    std::string rec;
    appendTableRecords(t, rec);
    return rec;
}

TEST(TableRecords, WrittenFormsOfTheSubRecords) {
    const struct {
        int columns, rows, spare;
        std::string title;
        Names columnNames, rowNames;
        std::vector<std::pair<int, uint16_t>> words;
        std::string expected;
    } cases[] = {
        {2,
         3,
         7,
         "T",
         {{1, "a"}, {2, "b"}},
         {{0, "corner"}, {2, "r2"}},
         {{2, 0x12}},
         "Gn{2,3,7,\"T\"}Gc{1,\"a\"|2,\"b\"}Gs{0,\"corner\"|2,\"r2\"|}Ga{2|2|18}"},
        {1, 0, 0, "", {}, {}, {}, "Gn{1,0,0}Gc{}Ga{1|2}"},
        {0, 2, -5, "", {}, {{2, "x"}}, {}, "Gn{0,2,-5}Gs{2,\"x\"}Ga{0}"},
        // Quotes, '~' and bytes outside printable ASCII would end the field or the record early.
        {1,
         1,
         0,
         "say \"hi\" ~~now\x01",
         {{1, "a~b\"c\x7f\xe9"}},
         {{0, "~"}},
         {{1, 0xFFFF}},
         "Gn{1,1,0,\"say 'hi' ^^now^\"}Gc{1,\"a^b'c^^\"}Gs{0,\"^\"|}Ga{1|65535}"},
    };
    for (const auto& c : cases) {
        FileFixture fx;
        ErrStat err;
        TableDescriptor* t = createTableDescriptor(*fx.store.levelPtr(1), c.columns, c.rows, 2, err);
        ASSERT_NE(t, nullptr) << c.expected;
        t->spare = c.spare;
        name(fx, *t, c.title, c.columnNames, c.rowNames);
        for (const auto& [k, w] : c.words) setColumnWord(*t, k, w);
        EXPECT_EQ(written(*t), c.expected);
        freeTableDescriptor(*fx.store.levelPtr(1), t, err);
    }
}

// Names are neutralised in the written copy only; the file gives back what was written.
TEST(TableRecords, SavedTableLoadsBackFieldByFieldAndSavesToTheSameBytes) {
    FileFixture fx;
    TableDescriptor* t = fx.tableCell(2, 3, 2, 3);
    ASSERT_NE(t, nullptr);
    t->spare = 12345;
    name(fx, *t, "Levels \"A\" ~~ B", {{1, "x\"1"}, {3, "z~~"}}, {{0, "st\x05"}, {1, "{a|b};"}, {2, "~"}});
    setColumnWord(*t, 2, 0x35);
    const std::string bytes = fx.saveLevel(1);
    ASSERT_FALSE(fx.lastError.failed());
    EXPECT_EQ(tableTitle(*t), "Levels \"A\" ~~ B") << "saving leaves the names in memory alone";

    FileFixture back;
    ASSERT_TRUE(back.load(bytes)) << back.lastError.point;
    const TableDescriptor* r = back.table(2, 3);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->ownerLevel, 1);
    EXPECT_EQ(r->columnCount, 3);
    EXPECT_EQ(r->rowCount, 2);
    EXPECT_EQ(r->spare, 12345);
    EXPECT_EQ(tableTitle(*r), "Levels 'A' ^^ B");
    const std::string columns[] = {"", "x'1", "", "z^^"};
    for (int k = 0; k <= 3; ++k) EXPECT_EQ(columnName(*r, k), columns[k]) << k;
    const std::string rows[] = {"st^", "{a|b};", "^"};
    for (int k = 0; k <= 2; ++k) EXPECT_EQ(rowName(*r, k), rows[k]) << k;
    const uint16_t words[] = {3, 2, 0x35, 2};
    for (int k = 0; k <= 3; ++k) EXPECT_EQ(columnWord(*r, k), words[k]) << k;
    const CellRec* c = back.cell(2, 3);
    EXPECT_EQ(formulaflag::objectKind(c->formula->flags), 19);
    EXPECT_EQ(c->formula->arrayCount(), 8u);
    EXPECT_EQ(c->formula->array[8], 5.5);
    EXPECT_EQ(back.saveLevel(1), bytes);
}

TEST(TableRecords, OverlongNamesAreCutAndStillReadBack) {
    FileFixture fx;
    TableDescriptor* t = fx.tableCell(1, 1, 1, 1);
    ASSERT_NE(t, nullptr);
    LevelRec& level = *fx.store.levelPtr(1);
    ErrStat err;
    // Held longer than any setter allows, as a descriptor built elsewhere might be.
    t->title = heapText(level, std::string(100, 't'), err);
    t->columnNames[1] = heapText(level, std::string(600, 'h'), err);
    const std::string body = test::decodedBody(fx.saveLevel(1));
    EXPECT_NE(body.find("Gn{1,1,0,\"" + std::string(64, 't') + "\"}Gc{1,\"" + std::string(254, 'h') + "\"}"),
              std::string::npos);
    FileFixture back;
    ASSERT_TRUE(back.load(fx.saveLevel(1))) << back.lastError.point;
    ASSERT_NE(back.table(1, 1), nullptr);
    EXPECT_EQ(tableTitle(*back.table(1, 1)), std::string(64, 't'));
    EXPECT_EQ(columnName(*back.table(1, 1), 1), std::string(254, 'h'));
}

std::string fixture(const char* file) {
    std::ifstream in(std::string(QX_TEST_FILES) + "/" + file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A level written by hand: two tables, one with every list, one with the counts alone.
TEST(TableRecords, HandWrittenLevelFileLoadsFieldByField) {
    FileFixture fx;
    const std::string text = fixture("table_level.qx2");
    ASSERT_FALSE(text.empty());
    ASSERT_TRUE(fx.load(text)) << fx.lastError.point;
    const TableDescriptor* t = fx.table(2, 2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->columnCount, 3);
    EXPECT_EQ(t->rowCount, 2);
    EXPECT_EQ(t->spare, 4);
    EXPECT_EQ(tableTitle(*t), "Station offsets");
    EXPECT_EQ(rowName(*t, 0), "Station");
    EXPECT_EQ(rowName(*t, 1), "0+000");
    EXPECT_EQ(rowName(*t, 2), "");
    const std::string columns[] = {"", "Left", "", "Right"};
    for (int k = 0; k <= 3; ++k) EXPECT_EQ(columnName(*t, k), columns[k]) << k;
    const int precisions[] = {3, 3, 1, 4};
    for (int k = 0; k <= 3; ++k) EXPECT_EQ(columnPrecision(t, k, 9), precisions[k]) << k;
    EXPECT_EQ(tableword::second(columnWord(*t, 3)), 1);
    // The level's default precision (3 here) is the format of columns the words leave out.
    const TableDescriptor* plain = fx.table(4, 1);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->columnCount, 2);
    EXPECT_EQ(tableTitle(*plain), "");
    EXPECT_EQ(columnPrecision(plain, 1, 9), 3);
    EXPECT_EQ(columnPrecision(plain, 2, 9), 3);
    EXPECT_EQ(fx.cell(2, 2)->formula->arrayCount(), 8u);
}

// Clear-text bodies: how the reader treats table records that do not fit the cell or the table.
TEST(TableRecords, RecordsThatDoNotFitAreIgnoredWithoutFailing) {
    const std::string table = "J77824E4{0|1|2|1|2}";  // kind 19, one row of two columns
    const struct {
        const char* name;
        std::string cell;
        bool hasTable;
        std::string column1 = "";
        std::string corner = "";
        uint16_t word1 = 2, word2 = 2;
    } cases[] = {
        {"plain table", "P0Y0" + table + "Gn{2,1,0}Gc{1,\"a\"|2,\"b\"}Ga{2|5|6};+1", true, "a", "", 5, 6},
        {"number cell", "P0Y0J0E0{0}Gn{2,1,0}Gc{1,\"a\"};+1", false},
        {"label", "P1Y0Gn{2,1,0}Gc{1,\"a\"};text", false},
        {"variable label", "P2Y0J77824Gn{2,1,0};\"x", false},
        {"indexes out of range", "P0Y0" + table + "Gn{2,1,0}Gc{0,\"z\"|3,\"c\"|-1,\"d\"}Gs{0,\"k\"|2,\"r\"};+1", true,
         "", "k"},
        {"more words than columns", "P0Y0" + table + "Gn{2,1,0}Ga{9|1|2|3|4|5|6|7|8|9};+1", true, "", "", 1, 2},
        {"fewer words than columns", "P0Y0" + table + "Gn{2,1,0}Ga{1|7};+1", true, "", "", 7, 2},
        {"lists before the counts", "P0Y0Ga{2|3|4}Gc{1,\"a\"}" + table + "Gn{2,1,0};+1", true, "a", "", 3, 4},
        {"later counts win", "P0Y0" + table + "Gn{5,5,0}Gn{2,1,0}Gc{1,\"a\"};+1", true, "a"},
        {"no columns and no rows", "P0Y0" + table + "Gn{0,0,0};+1", false},
        {"negative count", "P0Y0" + table + "Gn{-1,2,0};+1", false},
        {"more columns than an Array Area holds", "P0Y0" + table + "Gn{8192,1,0};+1", false},
        {"malformed counts", "P0Y0" + table + "Gn{2,x,0};+1", false},
        {"malformed entries", "P0Y0" + table + "Gn{2,1,0}Gc{a,\"q\"|1,b|2,\"b\"}Ga{2|x|6};+1", true, "", "", 2, 6},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        ASSERT_TRUE(fx.load("~~SV3.00~~Sd2~~R1C1" + c.cell + "~~R1C5P1Y0;after~~Xe")) << c.name;
        ASSERT_NE(fx.cell(1, 5), nullptr) << c.name;
        const TableDescriptor* t = fx.table(1, 1);
        ASSERT_EQ(t != nullptr, c.hasTable) << c.name;
        if (!t) continue;
        EXPECT_EQ(t->columnCount, 2) << c.name;
        EXPECT_EQ(t->rowCount, 1) << c.name;
        EXPECT_EQ(columnName(*t, 1), c.column1) << c.name;
        EXPECT_EQ(rowName(*t, 0), c.corner) << c.name;
        EXPECT_EQ(columnWord(*t, 1), c.word1) << c.name;
        EXPECT_EQ(columnWord(*t, 2), c.word2) << c.name;
        EXPECT_EQ(columnWord(*t, 0), 2) << c.name;
    }
}

TEST(TableRecords, ListsCutShortFailAtTheirPoints) {
    const struct {
        const char* body;
        int point;
    } cases[] = {
        {"Gn{1,2,0,\"t\"|~~Xe", kReadPointTableOpen},
        {"Gn{1,2,0,\"t}~~Xe", kReadPointTableOpen},
        {"Gs{0,\"a\"|1,\"b\"{~~Xe", kReadPointHeadingList},
        {"Gc{1,\"a\"|~~Xe", kReadPointHeadingList},
        {"Ga{2|1|~~Xe", kReadPointColumnList},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        EXPECT_FALSE(fx.load(std::string("~~SV3.00~~R1C1P0Y0J77824E0{0}") + c.body)) << c.body;
        EXPECT_EQ(fx.lastError.savedPoint, c.point) << c.body;
        EXPECT_EQ(fx.lastError.savedCode, 39) << c.body;
    }
}

}  // namespace
}  // namespace qx
