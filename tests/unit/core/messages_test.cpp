#include "core/messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx {
namespace {

// The last entry proves that no entry before it was lost or doubled.
TEST(Messages, TablesEndWithTheirLastCodeAndMapOtherCodesToEntryZero) {
    const struct {
        MessageTable table;
        int32_t size;
        std::string_view last;
    } cases[] = {
        {MessageTable::General, 105, "script was interrupted by the user"},
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

// Pinned by hand, not from the code lists: an enumerator renumbered or a text reworded shows here.
TEST(Messages, EnumeratorsNameTheirEntryWithItsExactWordingSlipsIncluded) {
    const struct {
        MessageTable table;
        int32_t code;
        std::string_view text;
    } cases[] = {
        {MessageTable::General, codeOf(Msg::RowOutOfRange), "ROW is out-of-range"},
        {MessageTable::General, codeOf(Msg::ExpressionTooLong), "expression is to long"},
        {MessageTable::General, codeOf(Msg::MissingConditional), "missing '?' ':' or ';' in conditional expression"},
        {MessageTable::General, codeOf(Msg::IoError), "I/O error"},
        {MessageTable::General, codeOf(Msg::ZElementIn2D), "attemping to load the Z element in a 2D coordinate"},
        {MessageTable::General, codeOf(Msg::IllegalParameter), "Illegal parameter"},
        {MessageTable::General, codeOf(Msg::NotNullTable), "Function must referennce a NULL Table."},
        {MessageTable::W, codeOf(WMsg::TableNotSetUp), "The table object is not setup correctly."},
        {MessageTable::Math, codeOf(L05::InputOutOfRange), "input parameter is out-of-range"},
        {MessageTable::Geometry, codeOf(L06::DistanceTooShort), "distance is to short to complete calculation"},
        {MessageTable::Matrix, codeOf(L07::NotVector), "must be either a row pr column matrix"},
        {MessageTable::Statistics, codeOf(SMsg::ZScoreOutOfRange), "The (z_score) argument is out-of-range"},
    };
    for (const auto& c : cases) EXPECT_EQ(tableMessage(c.table, c.code), c.text) << c.code;
}

// Every enumerator of every list reaches its own text through the lookup the reports use.
TEST(Messages, EveryEnumeratorFindsItsTextInItsTable) {
    struct Entry {
        MessageTable table;
        int32_t code;
        std::string_view text;
    };
#define QX_GENERAL(name, code, text) Entry{MessageTable::General, codeOf(Msg::name), text},
#define QX_W(name, code, text) Entry{MessageTable::W, codeOf(WMsg::name), text},
#define QX_MATH(name, code, text) Entry{MessageTable::Math, codeOf(L05::name), text},
#define QX_GEOMETRY(name, code, text) Entry{MessageTable::Geometry, codeOf(L06::name), text},
#define QX_MATRIX(name, code, text) Entry{MessageTable::Matrix, codeOf(L07::name), text},
#define QX_STATISTICS(name, code, text) Entry{MessageTable::Statistics, codeOf(SMsg::name), text},
    const std::vector<Entry> entries = {QX_GENERAL_MESSAGES(QX_GENERAL) QX_W_MESSAGES(QX_W) QX_L05_MESSAGES(
        QX_MATH) QX_L06_MESSAGES(QX_GEOMETRY) QX_L07_MESSAGES(QX_MATRIX) QX_S_MESSAGES(QX_STATISTICS)};
#undef QX_STATISTICS
#undef QX_MATRIX
#undef QX_GEOMETRY
#undef QX_MATH
#undef QX_W
#undef QX_GENERAL
    ASSERT_EQ(entries.size(), 105u + 11 + 9 + 12 + 13 + 17);
    for (const auto& e : entries) EXPECT_EQ(tableMessage(e.table, e.code), e.text) << e.code;
}

}  // namespace
}  // namespace qx
