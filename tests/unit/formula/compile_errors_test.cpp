#include <gtest/gtest.h>

#include <string>

#include "core/err_report.h"
#include "formula/formula_codes.h"
#include "formula_fixture.h"

namespace qx {
namespace {

using test::FormulaFixture;

struct MalformedEntry {
    const char* text;
    int position;
    const char* message;
};

// Every malformed entry names its fault and where the caret goes; the cell keeps what was typed.
TEST(CompileErrors, MalformedEntriesReportMessageAndPosition) {
    const MalformedEntry cases[] = {
        {R"x(+()x", 2, "missing bracket"},
        {R"x(+))x", 1, "missing bracket"},
        {R"x(+(1)))x", 4, "missing bracket"},
        {R"x(+((1))x", 5, "missing bracket"},
        {R"x(+[1,1)x", 1, "missing bracket"},
        {R"x(+[1,1]])x", 6, "missing bracket"},
        {R"x(+])x", 1, "missing bracket"},
        {R"x(+[1)x", 1, "missing bracket"},
        {R"x(+[0,1])x", 2, "ROW is out-of-range"},
        {R"x(+[65535,1])x", 2, "ROW is out-of-range"},
        {R"x(+[1,0])x", 4, "COLUMN is out-of-range"},
        {R"x(+[1,256])x", 4, "COLUMN is out-of-range"},
        {R"x(+[1,1,8192])x", 6, "Array element is out-of-range"},
        {R"x(+[1,1,-1])x", 6, "Array element is out-of-range"},
        {R"x(+[1,1,,33])x", 7, "worksheet LEVEL is out-of-range"},
        {R"x(+[1,1,,-1])x", 7, "worksheet LEVEL is out-of-range"},
        {R"x(+[1])x", 3, "missing COLUMN number in cell address"},
        {R"x(+[1;2])x", 3, "missing COLUMN number in cell address"},
        {R"x(+[1,2;3])x", 5, "illegal character found in expression"},
        {R"x(+[1,2,3,4,5])x", 9, "missing bracket"},
        {R"x(+[1,1+x])x", 6, "script or function has an illegal parameter list: ()"},
        {R"x(+sin)x", 1, "script or function has an illegal parameter list: ()"},
        {R"x(+sin(30)x", 4, "missing bracket"},
        {R"x(+1+@Sum(1))x", 3, "'@' functions can not be included within an expression"},
        {R"x(+@Sum(1)+1)x", 1, "'@' functions can not be included within an expression"},
        {R"x(+"abc)x", 1, "illegal string constant"},
        {R"x(+f("a))x", 3, "illegal string constant"},
        {R"x(+5/0)x", 2, "dividing by zero"},
        {R"x(+1e+308*10)x", 10, "The computed value exceeds +/- infinity"},
        {R"x(+--5)x", 1, "Illegal operator"},
        {R"x(+08)x", 1, "syntax error"},
        {R"x(+1e5)x", 2, "script or function has an illegal parameter list: ()"},
        {R"x(+*5)x", 1, "unable to compute expression"},
        {R"x(+#1)x", 1, "illegal character found in expression"},
        {R"x(+1+)x", 3, "syntax error"},
        {R"x(+5=3)x", 2, "assignment error"},
        {R"x(+[-]=1)x", 4, "assignment error"},
        {R"x(+(1)=2)x", 4, "assignment error"},
        {R"x(+1?2)x", 2, "missing '?' ':' or ';' in conditional expression"},
        {R"x(+1?2:)x", 5, "syntax error"},
        {R"x(+[1,1^3,1)x", 1, "missing bracket"},
        {R"x(+[1,1^3,1{[$]+[@]])x", 9, "missing curly brace {} in Range Operation"},
        {R"x(+[1,1^3,1{[$]+[@]})x", 1, "missing bracket"},
        {R"x(+[1,1,1^2,1,2])x", 13, "out of range"},
        {R"x(+[1,1^2,2,1])x", 11, "out of range"},
        {R"x(+[0,1^3,1])x", 2, "ROW is out-of-range"},
        {R"x(+[1,1]+[1,1)x", 7, "missing bracket"},
        {R"x(+1+(2*(3))x", 9, "missing bracket"},
        {R"x(+sin(1)))x", 7, "missing bracket"},
        {R"x(+')x", 1, "unable to compute expression"},
        {R"x(+'ab')x", 2, "script or function has an illegal parameter list: ()"},
        {R"x(+1..2)x", 3, "syntax error"},
        {R"x(+.)x", 1, "unable to compute expression"},
        {R"x(+0x)x", 2, "Illegal operator"},
        {R"x(+[[1,1],1])x", 2, "ROW is out-of-range"},
        {R"x(+[1,1,,0]+)x", 10, "syntax error"},
        {R"x(+)x", 1, "syntax error"},
        {R"x(()x", 1, "missing bracket"},
        {R"x([)x", 0, "missing bracket"},
        {R"x(@)x", 0, "script or function has an illegal parameter list: ()"},
        {R"x(+1<>2)x", 3, "unable to compute expression"},
        {R"x(+1=<2)x", 2, "assignment error"},
        {R"x(+!)x", 2, "syntax error"},
        {R"x(+[a,1])x", 2, "script or function has an illegal parameter list: ()"},
        {R"x(+x(1)+y)x", 6, "script or function has an illegal parameter list: ()"},
        {R"x(+[1,1]=5)x", 6, "assignment error"},
        {R"x("[0,1])x", 1, "ROW is out-of-range"},
        {R"x(+1;2)x", 3, "syntax error"},
        {R"x(+[1,1^2,2;{[$]})x", 1, "missing bracket"},
        {R"x(+1e+400)x", 7, "The computed value exceeds +/- infinity"},
    };
    static_assert(std::size(cases) >= 60);
    FormulaFixture fx;
    fx.enter(3, 3, "'label");
    for (const auto& c : cases) {
        ErrStat err;
        fx.engine.entry().storeEntry(c.text, 10, 10, 1, EntryOptions{}, err);
        ASSERT_TRUE(err.failed()) << c.text;
        EXPECT_EQ(generalMessage(err.savedCode), c.message) << c.text;
        EXPECT_EQ(err.savedPosition, c.position) << c.text;
        const CellRec* cell = fx.cell(10, 10);
        ASSERT_NE(cell, nullptr) << c.text;
        if (cell->isFormula()) {
            EXPECT_EQ(fx.text(10, 10), c.text);
            EXPECT_TRUE(cell->formula->errorMark()) << c.text;
            EXPECT_EQ(cell->formula->refCount, 0u) << c.text;
        }
        // Nothing else in the worksheet changed: no placeholder is left behind.
        EXPECT_EQ(fx.cell(1, 1), nullptr) << c.text;
        EXPECT_EQ(fx.cell(2, 3), nullptr) << c.text;
    }
}

}  // namespace
}  // namespace qx
