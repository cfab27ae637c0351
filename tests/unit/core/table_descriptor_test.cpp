#include "core/table_descriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cell_store_fixture.h"

namespace qx::testing {
namespace {

class TableDescriptorTest : public StoreTest {
  protected:
    // A descriptor with columns named "c1".., rows "r1".., corner "corner", precisions 1..columns.
    TableDescriptor* named(int columns, int rows, int owner = 1) {
        TableDescriptor* t = createTableDescriptor(level(owner), columns, rows, 2, err);
        for (int c = 1; c <= columns; ++c) {
            setColumnName(level(owner), *t, c, "c" + std::to_string(c), err);
            setColumnPrecision(*t, c, c);
        }
        for (int r = 1; r <= rows; ++r) setRowName(level(owner), *t, r, "r" + std::to_string(r), err);
        setRowName(level(owner), *t, 0, "corner", err);
        return t;
    }

    static std::vector<std::string> columns(const TableDescriptor& t) {
        std::vector<std::string> out;
        for (int c = 1; c <= t.columnCount; ++c) {
            out.push_back(std::string(columnName(t, c)) + "/" + std::to_string(columnPrecision(&t, c, -1)));
        }
        return out;
    }

    static std::vector<std::string> rows(const TableDescriptor& t) {
        std::vector<std::string> out;
        for (int r = 0; r <= t.rowCount; ++r) out.emplace_back(rowName(t, r));
        return out;
    }
};

TEST_F(TableDescriptorTest, CreationRefusesWhatDoesNotFit) {
    const std::tuple<long, long, long, bool> cases[] = {
        {3, 4, 2, true},   {0, 5, 2, true},      {5, 0, 2, true},      {0, 0, 2, false},   {-1, 3, 2, false},
        {3, -1, 2, false}, {65536, 1, 2, false}, {1, 65536, 2, false}, {1, 1, 256, false}, {1, 1, -1, false}};
    for (const auto& [columns, rows, precision, ok] : cases) {
        ErrStat e;
        TableDescriptor* t = createTableDescriptor(level(), columns, rows, precision, e);
        EXPECT_EQ(t != nullptr, ok) << columns << "x" << rows << " p" << precision;
        EXPECT_EQ(e.failed() ? e.code : 0, ok ? 0 : 37);
        freeTableDescriptor(level(), t, e);
    }
}

TEST_F(TableDescriptorTest, PrecisionGetterAndSetterBounds) {
    TableDescriptor* t = createTableDescriptor(level(), 3, 2, 4, err);
    ASSERT_NE(t, nullptr);
    // Column 0 reports the count; a missing column or table gives the fallback.
    for (auto [table, column, expected] : {std::tuple{t, 0, 3}, {t, 2, 4}, {t, 4, 9}, {nullptr, 1, 9}}) {
        EXPECT_EQ(columnPrecision(table, column, 9), expected) << column;
    }
    setColumnWord(*t, 1, 0x35);
    EXPECT_TRUE(setColumnPrecision(*t, 1, 16));  // too large clears the field, keeps the second value
    EXPECT_EQ(columnWord(*t, 1), 0x30);
    EXPECT_FALSE(setColumnPrecision(*t, 4, 1));
    EXPECT_EQ(columnWord(*t, 0), 3);
}

TEST_F(TableDescriptorTest, NamesAreCopiedCutAndCleared) {
    TableDescriptor* t = createTableDescriptor(level(), 2, 2, 2, err);
    std::string text = "Heading";
    setColumnName(level(), *t, 1, text, err);
    text[0] = 'X';
    EXPECT_EQ(columnName(*t, 1), "Heading");
    setColumnName(level(), *t, 1, "", err);
    EXPECT_EQ(t->columnNames[1], nullptr);
    setTableTitle(level(), *t, std::string(100, 'T'), err);
    EXPECT_EQ(tableTitle(*t).size(), 64u);

    ErrStat e;
    EXPECT_FALSE(setColumnName(level(), *t, 3, "x", e));
    EXPECT_EQ(e.code, 37);
    EXPECT_FALSE(setRowName(level(), *t, -1, "x", e));
    EXPECT_EQ(std::string(columnName(*t, 0)) + std::string(rowName(*t, 3)), "");
}

// Names and words moving with each operation are checked through the table operations on cells.
TEST_F(TableDescriptorTest, EditsRefuseBadIndexesAndKeepTheCountWord) {
    TableDescriptor* t = named(3, 3);
    ErrStat e;
    EXPECT_FALSE(swapTableColumns(*t, 0, 1));
    EXPECT_FALSE(removeTableRow(level(), *t, 0, e));
    EXPECT_FALSE(removeTableColumn(level(), *t, 4, e));
    ASSERT_TRUE(removeTableColumn(level(), *t, 2, err));
    ASSERT_TRUE(removeTableRow(level(), *t, 1, err));
    EXPECT_EQ(columnWord(*t, 0), 2);
    ASSERT_TRUE(transposeTable(level(), *t, err));
    EXPECT_EQ(columnWord(*t, 0), 2);
    EXPECT_EQ(rows(*t), (std::vector<std::string>{"corner", "c1", "c3"}));
    EXPECT_EQ(columns(*t), (std::vector<std::string>{"r2/2", "r3/2"}));
    freeTableDescriptor(level(), t, err);
    EXPECT_FALSE(err.failed());
}

// Copying, moving and replacing a table cell give each cell its own descriptor in its own level.
TEST_F(TableDescriptorTest, TableCellsCarryTheirDescriptorThroughTheStore) {
    CellRec* source = formula(1, 1);
    TableDescriptor* original = named(2, 2);
    setTableTitle(level(), *original, "Levels", err);
    original->spare = 7;
    ASSERT_TRUE(store.attachTable(source, original, err));
    CellRec* copy = store.copyCell(source, 3, 4, 4, 3, 3, 2, err);
    ASSERT_NE(copy, nullptr) << err.code;
    TableDescriptor* copied = CellStore::tableOf(copy);
    ASSERT_TRUE(copied != nullptr && copied != original);
    EXPECT_NE(copied->columnNames[1], original->columnNames[1]);
    EXPECT_EQ(std::tuple(copied->ownerLevel, copied->spare), std::tuple(3, 7));
    EXPECT_EQ(tableTitle(*copied), "Levels");
    EXPECT_EQ(rows(*copied), (std::vector<std::string>{"corner", "r1", "r2"}));

    ASSERT_EQ(store.moveCell(1, 1, 1, 2, 2, 7, err), 1);
    TableDescriptor* moved = CellStore::tableOf(at(2, 2, 7));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->ownerLevel, 7);
    setColumnName(level(7), *moved, 1, "changed", err);
    EXPECT_EQ(columns(*copied), (std::vector<std::string>{"c1/1", "c2/2"}));

    // Attaching again replaces (and frees) the old descriptor; deleting frees the rest.
    EXPECT_TRUE(store.attachTable(copy, createTableDescriptor(level(3), 1, 1, 0, err), err));
    EXPECT_EQ(CellStore::tableOf(copy)->columnCount, 1);
    store.deleteCellNow(copy, err);
    EXPECT_FALSE(err.failed());

    ErrStat e;
    EXPECT_FALSE(store.attachTable(label(9, 9), nullptr, e));
    EXPECT_EQ(CellStore::tableOf(at(9, 9)), nullptr);
}

}  // namespace
}  // namespace qx::testing
