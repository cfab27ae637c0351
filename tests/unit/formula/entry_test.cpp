#include "formula/entry.h"

#include <gtest/gtest.h>

#include <string>

#include "formula/formula_codes.h"
#include "formula_fixture.h"

namespace qx {
namespace {

using test::FormulaFixture;

TEST(Entry, ClassificationByFirstCharacter) {
    struct {
        const char* text;
        EntryKind kind;
    } cases[] = {
        {"", EntryKind::Nothing},         {"   ", EntryKind::Nothing},    {"=3<7.5", EntryKind::ShortCut},
        {"~x", EntryKind::ShortCut},      {"\\abc", EntryKind::ShortCut}, {".", EntryKind::ShortCut},
        {"/ ", EntryKind::ShortCut},      {"'12", EntryKind::Label},      {"\"[1,1] m", EntryKind::VariableLabel},
        {"12 ", EntryKind::Formula},      {" 12", EntryKind::Label},      {"sin(30)", EntryKind::Label},
        {"+sin(30)", EntryKind::Formula}, {"(1)", EntryKind::Formula},    {"@Matrix()", EntryKind::Formula},
        {".5", EntryKind::Formula},       {"[1,1]", EntryKind::Formula},  {"-3", EntryKind::Formula},
        {"#5", EntryKind::Label},
    };
    for (const auto& c : cases) EXPECT_EQ(classifyEntry(c.text), c.kind) << '"' << c.text << '"';
    for (const char* number : {"12", " -3.5 ", "1e+3", "'7", "0x1F"}) {
        const std::string_view s = number[0] == '\'' ? std::string_view(number + 1) : std::string_view(number);
        EXPECT_TRUE(readsAsNumber(s)) << number;
    }
    for (const char* text : {"12a", "abc", "", "1 2", "--1"}) EXPECT_FALSE(readsAsNumber(text)) << text;
}

TEST(Entry, LabelsVariableLabelsAndDeletionByPrefix) {
    FormulaFixture fx;
    fx.enter(1, 1, "'  kept blanks  ");
    EXPECT_EQ(fx.text(1, 1), "  kept blanks");  // trailing blanks are cut
    fx.fill({{1, 2, "+2.5"}, {1, 3, "\"Width [1,2] m, [1,1]"}});
    EXPECT_TRUE(fx.cell(1, 3)->isVariableLabel());
    EXPECT_EQ(fx.text(1, 3), "Width 2.50 m,   kept blanks");
    fx.enter(1, 4, "\"[9,9] gone");
    EXPECT_EQ(fx.text(1, 4), "^");  // a missing target ends the text
    fx.fill({{2, 2, "\"inner"}, {2, 1, "\"outer [2,2] and [2,2,,1]"}});
    EXPECT_EQ(fx.text(2, 1), "outer inner and inner");  // another label's stored text, not recomputed
    fx.enter(1, 1, "'");
    ASSERT_NE(fx.cell(1, 1), nullptr);
    EXPECT_TRUE(fx.cell(1, 1)->isPlaceholder());  // still referenced by the Variable Label
    fx.enter(1, 4, "\"  ");
    EXPECT_EQ(fx.cell(1, 4), nullptr);
}

TEST(Entry, CompiledFormsAndReferences) {
    FormulaFixture fx;
    fx.fill({{1, 1, "+3"}, {2, 2, "+[1,1]+[1,1]"}});
    EXPECT_EQ(fx.text(2, 2), "~1~0+~1~0");
    EXPECT_EQ(fx.cell(1, 1)->dependents, 1u);  // each target is listed once
    EXPECT_DOUBLE_EQ(fx.value(2, 2), 6);
    fx.enter(2, 3, "+ [$1, $1] * 2");
    EXPECT_EQ(fx.text(2, 3), "~1~12*2");
    EXPECT_EQ(fx.readable(2, 3), "[$1,$1]*2");
    fx.enter(2, 4, "+[1,1,,1]+[1,1,,2]+[1,1,,$1]");
    EXPECT_EQ(fx.readable(2, 4), "[1,1]+[1,1,,2]+[1,1,,$1]");
    fx.enter(2, 5, "+[1,1+sin(1)]");
    EXPECT_TRUE(fx.failed(2, 5));  // no function family knows sin yet
    fx.enter(2, 5, "+[1,1+[*]]");
    EXPECT_EQ(fx.text(2, 5), "[1,1+[*]]");  // a register keeps the address textual
    fx.enter(2, 6, "+$[1,1]~");
    EXPECT_EQ(fx.readable(2, 6), "[1,1]");
    fx.enter(2, 7, "+[7,7]");  // an empty place gets a placeholder
    ASSERT_NE(fx.cell(7, 7), nullptr);
    EXPECT_TRUE(fx.cell(7, 7)->isPlaceholder());
    fx.enter(2, 7, "+1");  // released again: the placeholder goes
    EXPECT_EQ(fx.cell(7, 7), nullptr);
    fx.enter(2, 8, "+[9,9,3]");  // an element of an empty place is rewritten plainly and not tracked
    EXPECT_EQ(fx.text(2, 8), "[9,9,3]");
    EXPECT_EQ(fx.cell(9, 9), nullptr);
}

TEST(Entry, SelfReferencesAndCycles) {
    FormulaFixture fx;
    EXPECT_EQ(fx.enter(2, 3, "+[2,3,1]").code, Msg::ElementOutOfRange);
    fx.fill({{1, 1, "+[1,2]+1"}, {1, 2, "+[1,3]+1"}});
    const auto o = fx.enter(1, 3, "+[1,1]+1");
    EXPECT_EQ(o.code, Msg::CircularReference);
    EXPECT_TRUE(fx.failed(1, 3));
    EXPECT_EQ(fx.text(1, 3), "+[1,1]+1");      // the typed text stays for editing
    EXPECT_EQ(fx.cell(1, 1)->dependents, 0u);  // the reference taken was released
    EXPECT_FALSE(fx.cell(1, 1)->has(cellflag::kOnPath));
}

TEST(Entry, AFailedEntryLeavesTheWorksheetAlone) {
    FormulaFixture fx;
    fx.enter(1, 1, "+2");
    const auto o = fx.enter(3, 3, "+[1,1]+[4,4]+(1");
    EXPECT_EQ(o.code, Msg::MissingBracket);
    EXPECT_EQ(fx.cell(4, 4), nullptr);  // no placeholder survives
    EXPECT_EQ(fx.cell(1, 1)->dependents, 0u);
    EXPECT_EQ(fx.text(3, 3), "+[1,1]+[4,4]+(1");
    const auto overflow = fx.enter(3, 4, "+[1,1]+1e+308*10");
    EXPECT_EQ(overflow.code, Msg::ExceedsInfinity);
    EXPECT_EQ(fx.cell(1, 1)->dependents, 0u);
}

TEST(Entry, SixtyThreeDistinctReferencesAtMost) {
    FormulaFixture fx;
    std::string text = "+0";
    for (int r = 1; r <= 63; ++r) text += "+[" + std::to_string(r) + ",1]";
    EXPECT_EQ(fx.enter(1, 2, text).code, Msg::ExpressionTooLong);  // typed text is held to its limit
    const EntryOptions stored{NotifyMode::None, false, true, true};
    EXPECT_EQ(fx.enter(1, 2, text, 1, stored).code, 0);
    EXPECT_EQ(fx.cell(1, 2)->formula->refCount, 63u);
    EXPECT_EQ(fx.enter(1, 3, text + "+[64,1]", 1, stored).code, Msg::ExpressionTooLong);
    EXPECT_EQ(fx.cell(64, 1), nullptr);
    EXPECT_EQ(fx.cell(1, 1)->dependents, 1u);
}

TEST(Entry, LoadersPathTurnsNumbersIntoFormulas) {
    FormulaFixture fx;
    ErrStat err;
    EntryOptions silent{NotifyMode::None, true, true};
    fx.engine.entry().storeLoaded("12.5", 1, 1, 1, silent, err);
    fx.engine.entry().storeLoaded("'7", 1, 2, 1, silent, err);
    fx.engine.entry().storeLoaded("=not a formula", 1, 3, 1, silent, err);
    fx.engine.entry().storeEntry("+(", 1, 4, 1, silent, err);
    EXPECT_FALSE(err.failed());  // silent: the failure is cleared
    EXPECT_TRUE(fx.failed(1, 4));
    EXPECT_DOUBLE_EQ(fx.value(1, 1), 12.5);
    EXPECT_DOUBLE_EQ(fx.value(1, 2), 7);
    EXPECT_EQ(fx.text(1, 3), "=not a formula");
}

TEST(Entry, CopiesAreCompiledInTheirNewPlace) {
    FormulaFixture fx;
    fx.fill({{1, 1, "+1"}, {1, 2, "+5"}, {2, 1, "+[1,1]*2+[$1,1]"}});
    ErrStat err;
    CellRec* copy = fx.store.copyCell(fx.cell(2, 1), 1, 2, 2, 0, 1, 0, err);
    ASSERT_FALSE(err.failed());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(fx.readable(2, 2), "[1,2]*2+[$1,2]");
    EXPECT_EQ(copy->formula->refCount, 1u);  // both addresses name [1,2] once
    EXPECT_EQ(fx.cell(1, 2)->dependents, 1u);
}

// Rows moved past 9,999 make the readable text longer than may be typed; it must still come out whole
// and compile again from a file.
TEST(Entry, ReadableTextThatGrewBeyondTheTypedLimitReadsBack) {
    FormulaFixture fx;
    std::string text = "+0";
    for (int r = 9971; r <= 9998; ++r) {
        fx.enter(r, 1, "+" + std::to_string(r - 9970));
        text += "+[" + std::to_string(r) + ",1]";
    }
    ASSERT_EQ(fx.enter(1, 1, text).code, 0);
    const double before = fx.value(1, 1);
    ErrStat err;
    for (int r = 9998; r >= 9971; --r) ASSERT_EQ(fx.store.moveCell(r, 1, 1, r + 40, 1, 1, err), 1);
    const std::string readable = fx.readable(1, 1);
    EXPECT_GT(readable.size(), 254u);
    EXPECT_EQ(readable.find('~'), std::string::npos);
    const EntryOptions fromFile{NotifyMode::None, true, true, true};
    ASSERT_EQ(fx.enter(2, 1, "+" + readable, 1, fromFile).code, 0);
    EXPECT_DOUBLE_EQ(fx.value(2, 1), before);
    EXPECT_EQ(fx.enter(3, 1, "+" + readable).code, Msg::ExpressionTooLong);  // typed, it is too long
}

}  // namespace
}  // namespace qx
