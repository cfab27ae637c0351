#include "core/messages.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// The last entry proves that no entry before it was lost or doubled.
TEST(Messages, TablesEndWithTheirLastCodeAndMapOtherCodesToEntryZero) {
    const struct {
        MessageTable table;
        int32_t size;
        std::string_view last;
    } cases[] = {
        {MessageTable::General, 103, "An unlisted error was reported wihile running a script."},
        {MessageTable::W, 11, "Unable to complete this operation."},
        {MessageTable::Math, 9, "underflow"},
        {MessageTable::Geometry, 12, "VC grades g1 and g2 cannot be equal"},
        {MessageTable::Matrix, 13, "must be a (1 x 3) matrix"},
        {MessageTable::Statistics, 17, "Underflow error"},
    };
    for (const auto& c : cases) {
        auto entries = messageTable(c.table);
        ASSERT_EQ(entries.size(), static_cast<std::size_t>(c.size));
        EXPECT_EQ(tableMessage(c.table, c.size - 1), c.last);
        EXPECT_EQ(tableMessage(c.table, c.size), entries[0]);
        EXPECT_EQ(tableMessage(c.table, -1), entries[0]);
    }
}

TEST(Messages, EntriesKeepTheirExactWordingSlipsIncluded) {
    const struct {
        MessageTable table;
        int32_t code;
        std::string_view text;
    } cases[] = {
        {MessageTable::General, 10, "expression is to long"},
        {MessageTable::General, 24, "missing '?' ':' or ';' in conditional expression"},
        {MessageTable::General, 66, "attemping to load the Z element in a 2D coordinate"},
        {MessageTable::General, 91, "Function must referennce a NULL Table."},
        {MessageTable::Geometry, 5, "distance is to short to complete calculation"},
        {MessageTable::Matrix, 11, "must be either a row pr column matrix"},
    };
    for (const auto& c : cases) EXPECT_EQ(tableMessage(c.table, c.code), c.text) << c.code;
}

}  // namespace
}  // namespace qx
