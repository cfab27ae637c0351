#include "app/line_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

namespace qx {
namespace {

class LineInterpreterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.setObserver([this](const RecordedBox& box) { out << formatBox(box); });
        ErrStat err;
        ASSERT_TRUE(session.start(err));
    }
    std::string run(const std::string& script) {
        out.str("");
        std::istringstream in(script);
        cli.runStream(in);
        return out.str();
    }

    HeadlessPlatform platform;
    Session session{platform, {}};
    std::ostringstream out;
    LineInterpreter cli{session, platform, out};
};

TEST_F(LineInterpreterTest, StateCarriesFromLineToLine) {
    EXPECT_EQ(run("level 7\ngoto [4,5]\nselect [9,9]^[2,3,,8]\n"), "");
    EXPECT_EQ(session.activeLevel(), 8);
    EXPECT_EQ(session.pointer().row, 2);
    EXPECT_EQ(session.pointer().col, 3);
}

TEST_F(LineInterpreterTest, QuitStopsEveryLaterStream) {
    EXPECT_FALSE(cli.runLine("quit"));
    std::istringstream next("level 99\n");
    EXPECT_FALSE(cli.runStream(next));
    EXPECT_EQ(out.str(), "");
}


// Whatever a script holds, each line is answered with at most a few lines and reading goes on.
TEST(LineInterpreterRandom, GarbageLinesNeverStopOrFlood) {
    std::mt19937 rng(7);
    const std::vector<std::string> starts = {"level ", "goto ",  "select ", "answer ", "time ", "Copy",
                                             "Delete", "enter ", "#",       "",        "x",     "time time "};
    const std::string alphabet = std::string("[],^$+-0123456789 \t\r\x01\x7f\xff") + "abc;";
    HeadlessPlatform platform;
    std::ostringstream out;
    platform.setObserver([&out](const RecordedBox& box) { out << formatBox(box); });
    Session session(platform, {});
    ErrStat err;
    ASSERT_TRUE(session.start(err));
    LineInterpreter cli(session, platform, out);
    for (int i = 0; i < 5000; ++i) {
        std::string line = starts[rng() % starts.size()];
        int len = std::uniform_int_distribution<int>(0, 30)(rng);
        for (int k = 0; k < len; ++k) line += alphabet[rng() % alphabet.size()];
        out.str("");
        ASSERT_TRUE(cli.runLine(line)) << line;
        std::string printed = out.str();
        EXPECT_LE(std::count(printed.begin(), printed.end(), '\n'), 4) << line;
        EXPECT_GE(session.activeLevel(), 1);
        EXPECT_LE(session.activeLevel(), session.highestLevel());
        CellArea area = session.selection();
        EXPECT_TRUE(area.firstRow >= 1 && area.lastRow <= kMaxRow && area.firstCol >= 1 && area.lastCol <= kMaxCol);
    }
}


// Two workbooks driven turn by turn in one process: entries, recalculation, answers and the
// active level of one never reach the other.
TEST(LineInterpreterSessions, TwoSessionsComputeIndependently) {
    struct Side {
        HeadlessPlatform platform;
        std::ostringstream out;
        Session session{platform, {}};
        LineInterpreter cli{session, platform, out};
        std::string run(std::string_view line) {
            out.str("");
            cli.runLine(line);
            return out.str();
        }
    };
    Side a;
    Side b;
    ErrStat err;
    ASSERT_TRUE(a.session.start(err));
    ASSERT_TRUE(b.session.start(err));
    const char* const kDeleteAll =
        "MSG [Deleting cells] You are about to delete the entire worksheet.\\n\\nIs this what you want to do?\n"
        "ANSWER yes\n";
    const struct { const char *lineA, *lineB, *outA, *outB; } steps[] = {
        {"enter [1,1] 5", "enter [1,1] 7", "", ""},
        {"enter [1,2] +[1,1]*2", "level 3", "", ""},
        {"value [1,2]", "value [1,2]", "10\n", "0\n"},
        {"enter [1,1] 6", "enter [1,2,,3] +[1,1,,1]+1", "", ""},
        {"value [1,2]", "value [1,2,,3]", "12\n", "8\n"},
        {"answer no", "select [1,1]^[65534,255]", "", ""},
        {"level 2", "Delete", "", kDeleteAll},
    };
    a.platform.setObserver([&a](const RecordedBox& box) { a.out << formatBox(box); });
    b.platform.setObserver([&b](const RecordedBox& box) { b.out << formatBox(box); });
    for (const auto& step : steps) {
        EXPECT_EQ(a.run(step.lineA), step.outA) << step.lineA;
        EXPECT_EQ(b.run(step.lineB), step.outB) << step.lineB;
    }
    EXPECT_EQ(a.session.activeLevel(), 2);
    EXPECT_EQ(b.session.activeLevel(), 3);
    EXPECT_EQ(a.run("value [1,2,,1]"), "12\n");
}

}  // namespace
}  // namespace qx
