// Graphs and views keep their kind and view settings through saving, opening and recalculating, and a
// workbook of them saves again to the same bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "unit/core/array_area_reader.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

struct ViewSession {
    ViewSession() : session(platform, SessionOptions{}) { EXPECT_TRUE(session.start(err)); }
    void enter(int row, int col, const std::string& text) {
        session.formulas().entry().storeEntry(text, row, col, 1, EntryOptions{}, err);
        ASSERT_FALSE(err.failed()) << text;
    }
    CellRec* cell(int row, int col) {
        ErrStat ignored;
        return session.cells().findCell(row, col, 1, ignored);
    }

    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ViewFile, SettingsSurviveSavingOpeningAndRecalculation) {
    testing::TempDirectory dir;
    ViewSession first;
    first.enter(1, 1, "@XYZ(0,0,0)");
    first.enter(2, 1, "@XYZ(10,5,1)");
    first.enter(3, 1, "@Segment([1,1],[2,1])");
    first.enter(1, 2, "7");
    first.session.cells().setArraySize(first.cell(1, 2), 3, first.err);
    first.enter(5, 1, "@ViewOverhead([3,1],[1,1])");
    first.enter(5, 2, "@Viewport([5,1],[2,1])");
    first.enter(5, 3, "@BarGraph([1,2])");
    // What the view window does.
    first.cell(5, 2)->formula->array[1] = -12.5;
    first.cell(5, 2)->formula->array[2] = 3e-7;
    first.cell(5, 1)->formula->array[23] = 1e300;
    ASSERT_TRUE(first.session.files().saveFile(0, dir.path(), "views.qx3", false, first.err));

    ViewSession second;
    ASSERT_TRUE(second.session.files().loadFile(0, dir.path(), "views.qx3", second.err));
    ASSERT_TRUE(second.session.files().saveFile(0, dir.path(), "again.qx3", false, second.err));
    ASSERT_EQ(second.session.dispatch("calcAll", second.err), CommandOutcome::Done);
    for (int col = 1; col <= 3; ++col) {
        const CellRec* a = first.cell(5, col);
        const CellRec* b = second.cell(5, col);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(test::kindOf(b), test::kindOf(a)) << col;
        EXPECT_EQ(test::arrayOf(b), test::arrayOf(a)) << col;
        EXPECT_EQ(b->formula->value, a->formula->value) << col;
        EXPECT_FALSE(b->formula->errorMark()) << col;
    }
    EXPECT_EQ(second.cell(5, 2)->formula->value, 3);
    EXPECT_EQ(test::arrayOf(second.cell(5, 2))[1], -12.5);
    // Saved again once it carries the folder it was opened from, it stays the same to the byte.
    ViewSession third;
    ASSERT_TRUE(third.session.files().loadFile(0, dir.path(), "again.qx3", third.err));
    ASSERT_TRUE(third.session.files().saveFile(0, dir.path(), "third.qx3", false, third.err));
    EXPECT_EQ(bytesOf(dir.file("third.qx3")), bytesOf(dir.file("again.qx3")));
}

}  // namespace
}  // namespace qx
