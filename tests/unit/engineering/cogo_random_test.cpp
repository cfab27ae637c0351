#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "engineering/cogo/cogo_functions.h"
#include "engineering/road/road_functions.h"
#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class CogoRandom : public CogoFixture {};

// Random argument lists of every kind and size, against cells of every object kind: each call either
// succeeds with a sound Array Area or fails with a message, and never crashes or hangs.
TEST_F(CogoRandom, ArbitraryArgumentListsFailCleanly) {
    fill({{1, 1, "@XYZ(1,2,3)"},
          {1, 2, "@XY(40,-7)"},
          {1, 3, "@Segment([1,1],[1,2])"},
          {1, 4, "@Polygon([1,1],[1,2],[1,1],[1,2])"},
          {1, 5, "@CurveRadius([1,1],[1,2],1,50,0)"},
          {1, 6, "@Profile([1,2],0,100,5,0,1,0,30)"},
          {1, 7, "@Slope([1,6],100,2,80)"},
          {1, 8, "'label"},
          {1, 9, "7"},
          {1, 10, "@Text([1,1],[1,2],1,1)"}});
    const char* arguments[] = {"[1,1]",    "[1,2]",  "[1,3]", "[1,4]", "[1,5]", "[1,6]", "[1,7]",   "[1,8]",
                               "[1,9]",    "[1,10]", "[9,9]", "0",     "1",     "2",     "3",       "4",
                               "5",        "8",      "-1",    "90",    "360",   "1e308", "-1e308",  "0.5",
                               "245.3020", "1e-300", "200",   "(1/0)", "\"s\"", "",      "[1,1]+1", "99999"};
    std::vector<std::string> names;
    for (const FunctionEntry& e : geometryFamily()) names.emplace_back(e.name);
    for (const FunctionEntry& e : roadFamily()) names.emplace_back(e.name);
    std::mt19937 random(20261207);
    for (int i = 0; i < 3000; ++i) {
        std::string text = names[random() % names.size()] + "(";
        const int count = static_cast<int>(random() % 10);
        for (int k = 0; k < count; ++k) {
            if (k > 0) text += ",";
            text += arguments[random() % std::size(arguments)];
        }
        text += random() % 20 == 0 ? "" : ")";
        const Failure f = failureOf(3, 1, text);
        const CellRec* c = cell(3, 1);
        if (c == nullptr || c->formula == nullptr) continue;
        const double count0 = c->formula->array == nullptr ? 0.0 : c->formula->array[0];
        ASSERT_TRUE(count0 >= 0 && count0 <= kMaxArrayElements) << text;
        if (f == Failure{}) {
            for (double v : values(3, 1)) ASSERT_FALSE(std::isnan(v)) << text;
        } else {
            ASSERT_GT(f.code, 0) << text;
        }
    }
}

}  // namespace
}  // namespace qx::test
