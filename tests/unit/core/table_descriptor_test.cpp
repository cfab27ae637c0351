#include "core/table_descriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_store_fixture.h"

namespace qx::testing {
namespace {

class TableDescriptorTest : public StoreTest {
  protected:
    LevelRec& level(int n = 1) { return *store.levelPtr(n); }

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
    struct Case {
        long columns, rows, precision;
        bool ok;
    };
    const Case cases[] = {
        {3, 4, 2, true},   {0, 5, 2, true},      {5, 0, 2, true},      {0, 0, 2, false},   {-1, 3, 2, false},
        {3, -1, 2, false}, {65536, 1, 2, false}, {1, 65536, 2, false}, {1, 1, 256, false}, {1, 1, -1, false},
    };
    for (const Case& c : cases) {
        ErrStat e;
        TableDescriptor* t = createTableDescriptor(level(), c.columns, c.rows, c.precision, e);
        EXPECT_EQ(t != nullptr, c.ok) << c.columns << "x" << c.rows << " p" << c.precision;
        EXPECT_EQ(e.failed(), !c.ok);
        if (!c.ok) {
            EXPECT_EQ(e.code, 37);
        }
        freeTableDescriptor(level(), t, e);
    }
}

TEST_F(TableDescriptorTest, PrecisionGetterAndSetterBounds) {
    TableDescriptor* t = createTableDescriptor(level(), 3, 2, 4, err);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(columnPrecision(t, 0, 9), 3);  // column 0 reports the count
    EXPECT_EQ(columnPrecision(t, 2, 9), 4);
    EXPECT_EQ(columnPrecision(t, 4, 9), 9);
    EXPECT_EQ(columnPrecision(nullptr, 1, 9), 9);
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
    EXPECT_EQ(columnName(*t, 0), "");
    EXPECT_EQ(rowName(*t, 3), "");
}

TEST_F(TableDescriptorTest, RemovingAColumnOrRowKeepsTheOthersInOrder) {
    TableDescriptor* t = named(3, 3);
    ASSERT_TRUE(removeTableColumn(level(), *t, 2, err));
    EXPECT_EQ(columns(*t), (std::vector<std::string>{"c1/1", "c3/3"}));
    EXPECT_EQ(columnWord(*t, 0), 2);
    ASSERT_TRUE(removeTableRow(level(), *t, 1, err));
    EXPECT_EQ(rows(*t), (std::vector<std::string>{"corner", "r2", "r3"}));

    ErrStat e;
    EXPECT_FALSE(removeTableColumn(level(), *t, 3, e));
    EXPECT_FALSE(removeTableRow(level(), *t, 0, e));
    EXPECT_EQ(t->columnCount, 2);
    EXPECT_EQ(t->rowCount, 2);
    freeTableDescriptor(level(), t, err);
    EXPECT_FALSE(err.failed());
}

TEST_F(TableDescriptorTest, SwapAndTransposeMoveNamesWithTheirWords) {
    TableDescriptor* t = named(2, 3);
    EXPECT_TRUE(swapTableColumns(*t, 1, 2));
    EXPECT_EQ(columns(*t), (std::vector<std::string>{"c2/2", "c1/1"}));
    EXPECT_FALSE(swapTableColumns(*t, 0, 1));

    ASSERT_TRUE(transposeTable(level(), *t, err));
    EXPECT_EQ(t->columnCount, 3);
    EXPECT_EQ(t->rowCount, 2);
    EXPECT_EQ(rows(*t), (std::vector<std::string>{"corner", "c2", "c1"}));
    // Columns disagreed on their precision, so the former rows take the level default.
    EXPECT_EQ(columns(*t), (std::vector<std::string>{"r1/2", "r2/2", "r3/2"}));
    EXPECT_EQ(columnWord(*t, 0), 3);
    ASSERT_TRUE(transposeTable(level(), *t, err));
    EXPECT_EQ(columns(*t), (std::vector<std::string>{"c2/2", "c1/2"}));
    EXPECT_EQ(rows(*t), (std::vector<std::string>{"corner", "r1", "r2", "r3"}));
}

TEST_F(TableDescriptorTest, CopyBelongsToTheTargetLevelAndSharesNothing) {
    TableDescriptor* t = named(2, 1);
    setTableTitle(level(), *t, "Levels", err);
    t->spare = 7;
    TableDescriptor* copy = copyTableDescriptor(*t, level(5), err);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ownerLevel, 5);
    EXPECT_EQ(copy->spare, 7);
    EXPECT_NE(copy->columnNames[1], t->columnNames[1]);
    setColumnName(level(), *t, 1, "changed", err);
    freeTableDescriptor(level(), t, err);
    EXPECT_EQ(columns(*copy), (std::vector<std::string>{"c1/1", "c2/2"}));
    EXPECT_EQ(tableTitle(*copy), "Levels");
    EXPECT_EQ(rows(*copy), (std::vector<std::string>{"corner", "r1"}));
}

// Copying, moving and replacing a table cell give each cell its own descriptor in its own level.
TEST_F(TableDescriptorTest, TableCellsCarryTheirDescriptorThroughTheStore) {
    CellRec* source = formula(1, 1);
    ASSERT_TRUE(store.attachTable(source, named(2, 2), err));
    CellRec* copy = store.copyCell(source, 3, 4, 4, 3, 3, 2, err);
    ASSERT_NE(copy, nullptr) << err.code;
    TableDescriptor* copied = CellStore::tableOf(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, CellStore::tableOf(source));
    EXPECT_EQ(copied->ownerLevel, 3);
    EXPECT_EQ(columns(*copied), (std::vector<std::string>{"c1/1", "c2/2"}));

    ASSERT_EQ(store.moveCell(1, 1, 1, 2, 2, 7, err), 1);
    TableDescriptor* moved = CellStore::tableOf(at(2, 2, 7));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->ownerLevel, 7);

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
