#include <gtest/gtest.h>

#include "files/table_records.h"
#include "unit/files/file_fixture.h"

namespace qx {
namespace {

using test::FileFixture;
using Names = std::vector<std::pair<int, std::string>>;

// Reading the hand-written tests/files/table_level.qx2 field by field is the golden table transcript's job.
TEST(TableRecords, WrittenFormsOfTheSubRecords) {
    const struct {
        int columns, rows, spare;
        std::string title;
        Names columnNames, rowNames;
        std::string expected;
    } cases[] = {
        {2, 3, 7, "T", {{1, "a"}, {2, "b"}}, {{0, "corner"}, {2, "r2"}},
         "Gn{2,3,7,\"T\"}Gc{1,\"a\"|2,\"b\"}Gs{0,\"corner\"|2,\"r2\"|}Ga{2|2|18}"},
        {1, 0, 0, "", {}, {}, "Gn{1,0,0}Gc{}Ga{1|2}"},
        {0, 2, -5, "", {}, {{2, "x"}}, "Gn{0,2,-5}Gs{2,\"x\"}Ga{0}"},
        // Quotes, '~' and bytes outside printable ASCII would end the field or the record early.
        {2, 1, 0, "say \"hi\" ~~now\x01", {{1, "a~b\"c\x7f\xe9"}}, {{0, "~"}},
         "Gn{2,1,0,\"say 'hi' ^^now^\"}Gc{1,\"a^b'c^^\"|}Gs{0,\"^\"|}Ga{2|2|18}"},
        {1, 1, 0, "", {{1, std::string(300, 'h')}}, {}, "Gn{1,1,0}Gc{1,\"" + std::string(254, 'h') + "\"}Gs{}Ga{1|2}"},
    };
    for (const auto& c : cases) {
        FileFixture fx;
        LevelRec& level = *fx.store.levelPtr(1);
        ErrStat err;
        TableDescriptor* t = createTableDescriptor(level, c.columns, c.rows, 2, err);
        ASSERT_NE(t, nullptr) << c.expected;
        t->spare = c.spare;
        setTableTitle(level, *t, c.title, err);
        for (const auto& [k, text] : c.columnNames) setColumnName(level, *t, k, text, err);
        for (const auto& [k, text] : c.rowNames) setRowName(level, *t, k, text, err);
        if (c.columns > 1) setColumnWord(*t, 2, 0x12);
        std::string rec;
        appendTableRecords(*t, rec);
        EXPECT_EQ(rec, c.expected);
    }
}

// How the reader treats table records that do not fit the cell or the table: never a failure.
TEST(TableRecords, RecordsThatDoNotFitAreIgnored) {
    const std::string table = "J77824E4{0|1|2|1|2}";  // kind 19, one row of two columns
    const struct {
        std::string cell;
        std::string expected;  // column 1 name, corner, words 1 and 2; empty: no table
    } cases[] = {
        {"P0Y0" + table + "Gn{2,1,0}Gc{1,\"a\"|2,\"b\"}Ga{2|5|6};+1", "a  5 6"},
        {"P0Y0J0E0{0}Gn{2,1,0}Gc{1,\"a\"};+1", ""},  // not a table
        {"P1Y0Gn{2,1,0}Gc{1,\"a\"};text", ""},
        {"P2Y0J77824Gn{2,1,0};\"x", ""},
        {"P0Y0" + table + "Gn{2,1,0}Gc{0,\"z\"|3,\"c\"|-1,\"d\"}Gs{0,\"k\"|2,\"r\"};+1", " k 2 2"},
        {"P0Y0" + table + "Gn{2,1,0}Ga{9|1|2|3|4|5|6|7|8|9};+1", "  1 2"},
        {"P0Y0Ga{2|7}Gc{1,\"a\"}" + table + "Gn{5,5,0}Gn{2,1,0};+1", "a  7 2"},
        {"P0Y0" + table + "Gn{2,1,0}Gc{a,\"q\"|1,b|2,\"b\"}Ga{2|x|6};+1", "  2 6"},
        {"P0Y0" + table + "Gn{0,0,0};+1", ""},
        {"P0Y0" + table + "Gn{-1,2,0};+1", ""},
        {"P0Y0" + table + "Gn{8192,1,0};+1", ""},
        {"P0Y0" + table + "Gn{2,x,0};+1", ""},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        ASSERT_TRUE(fx.load("~~SV3.00~~R1C1" + c.cell + "~~R1C5P1Y0;after~~Xe")) << c.cell;
        ASSERT_NE(fx.cell(1, 5), nullptr) << c.cell;
        const TableDescriptor* t = fx.table(1, 1);
        const std::string got = t ? std::string(columnName(*t, 1)) + " " + std::string(rowName(*t, 0)) + " " +
                                        std::to_string(columnWord(*t, 1)) + " " + std::to_string(columnWord(*t, 2))
                                  : "";
        EXPECT_EQ(got, c.expected) << c.cell;
    }
}

}  // namespace
}  // namespace qx
