#include "edit/sort_rows.h"

#include <gtest/gtest.h>

#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using Kind = RowKey::Kind;

RowKey key(Kind kind, double value = 0, const char* text = "") {
    return RowKey{kind, text, value};
}

// The order must be strict and weak whatever pair is asked: a sort on a broken order may read
// outside its range or never end.
TEST(SortRows, CompareRowIsAStrictWeakOrder) {
    const std::vector<RowKey> ascending = {key(Kind::Missing),      key(Kind::Placeholder),   key(Kind::Formula, -1),
                                           key(Kind::Formula, 2),   key(Kind::Label, 0, "A"), key(Kind::Label, 0, "Z"),
                                           key(Kind::Label, 0, "a")};
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t j = 0; j < ascending.size(); ++j) {
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(CompareRow(ascending[i], ascending[j], true), expected) << i << " " << j;
            EXPECT_EQ(CompareRow(ascending[i], ascending[j], false), -expected) << i << " " << j;
        }
    }
}

TEST(SortRows, RowsMoveAsRecordsAndTheStoreStaysSound) {
    test::LayoutFixture f;
    f.fillAll({{1, 1, "3"}, {2, 1, "1"}, {3, 1, "2"}, {1, 2, "+[3,1]*10"}, {2, 2, "+[1,2]+1"}, {1, 3, "'out"}});
    ErrStat err;
    const RowSortKey keys[] = {{1, true}};
    SortRows(f.store, 1, {1, 1, 3, 2}, keys, err);
    ASSERT_FALSE(err.failed());
    EXPECT_EQ(f.places(), (std::vector<std::string>{"[1,1]=1", "[1,2]=[3,2]+1", "[1,3]=out", "[2,1]=2", "[3,1]=3",
                                                    "[3,2]=[2,1]*10"}));
    EXPECT_EQ(f.value(1, 2), 21);
    f.expectSound();
}

TEST(SortRows, LargeBlocksOfAnyOrderSortWithoutDeepRecursion) {
    for (const char* order : {"sorted", "reversed", "equal"}) {
        test::LayoutFixture f;
        for (int row = 1; row <= kMaxRow; ++row) {
            const int v = order[0] == 's' ? row : (order[0] == 'r' ? kMaxRow - row : 7);
            f.enter(row, 1, std::to_string(v), 1, EntryOptions{NotifyMode::None, true, false, false});
        }
        ErrStat err;
        const RowSortKey keys[] = {{1, false}};
        SortRows(f.store, 1, {1, 1, kMaxRow, 1}, keys, err);
        ASSERT_FALSE(err.failed()) << order;
        EXPECT_EQ(f.value(kMaxRow, 1), order[0] == 'e' ? 7 : (order[0] == 's' ? 1 : 0)) << order;
        EXPECT_EQ(f.store.checkRows(1), "") << order;
    }
}

}  // namespace
}  // namespace qx
