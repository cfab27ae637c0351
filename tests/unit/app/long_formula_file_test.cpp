// After an inserted row a formula's readable text can grow past what typing allows; saving and loading
// the workbook must still bring back every cell with its formula and value.
#include <gtest/gtest.h>

#include <string>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

constexpr int kTerms = 25;

struct LongFormulaSession {
    LongFormulaSession() : session(platform, SessionOptions{}) { EXPECT_TRUE(session.start(err)); }
    void enter(int row, int col, const std::string& text) {
        session.formulas().entry().storeEntry(text, row, col, 1, EntryOptions{}, err);
        ASSERT_FALSE(err.failed()) << text;
    }
    std::string readable(const CellRec& c) { return session.formulas().readableText(c, TextOffsets{}, err); }

    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

TEST(LongFormulaFile, InsertedRowThenSaveAndLoadKeepsEveryCell) {
    testing::TempDirectory dir;
    LongFormulaSession first;
    std::string typed;
    for (int col = 1; col <= kTerms; ++col) {
        first.enter(9999, col, std::to_string(col));
        typed += "+[9999," + std::to_string(col) + "]";
    }
    ASSERT_LE(typed.size(), 255u);
    first.enter(5000, 1, typed);
    first.enter(10001, 2, "+[9999,3]*[5000,1]");
    first.enter(9998, 4, "'label above");

    ASSERT_TRUE(first.session.moveTo(1, 9000, 1, first.err));
    ASSERT_EQ(first.session.dispatch("RowIns", first.err), CommandOutcome::Done);
    ErrStat err;
    const CellRec* sum = first.session.cells().findCell(5000, 1, 1, err);
    ASSERT_NE(sum, nullptr);
    EXPECT_GT(first.readable(*sum).size(), 254u);
    EXPECT_EQ(sum->formula->value, kTerms * (kTerms + 1) / 2);

    ASSERT_TRUE(first.session.files().saveFile(0, dir.path(), "long.qx3", false, first.err));
    LongFormulaSession second;
    ASSERT_TRUE(second.session.files().loadFile(0, dir.path(), "long.qx3", second.err));

    int compared = 0;
    for (LevelCursor at(*first.session.cells().levelPtr(1)); !at.done(); at.advance(), ++compared) {
        const CellRec& a = *at.get();
        const CellRec* b = second.session.cells().findCell(a.row, a.col, 1, err);
        ASSERT_NE(b, nullptr) << a.row << "," << a.col;
        EXPECT_EQ(b->type(), a.type());
        if (a.isFormula()) {
            EXPECT_EQ(second.readable(*b), first.readable(a));
            EXPECT_EQ(b->formula->value, a.formula->value) << a.row << "," << a.col;
            EXPECT_FALSE(b->formula->errorMark());
        } else {
            EXPECT_EQ(b->textView(), a.textView());
        }
    }
    EXPECT_EQ(compared, kTerms + 3);
    EXPECT_EQ(second.readable(*second.session.cells().findCell(10002, 2, 1, err)), "[10000,3]*[5000,1]");
}

}  // namespace
}  // namespace qx
