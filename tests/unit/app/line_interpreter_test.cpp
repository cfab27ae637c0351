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

TEST_F(LineInterpreterTest, PrintsOneLinePerCommandThatHasSomethingToSay) {
    struct Case {
        std::string script;
        std::string output;
    } cases[] = {
        {"", ""},
        {"\n   \n\t\n# level 99\n  # level 99\n", ""},
        {"level 2\r\nlevel 40\r\n", "ERROR  A9501-1  worksheet LEVEL is out-of-range\n"},
        {"nonsense here\n", "unknown command: nonsense\n"},
        {"Copy\n( [ ] )\n", "not available yet\nnot available yet\n"},
        {"  Copy  \n", "not available yet\n"},
        {"enter [1,1] x\neval 1\n", "1\n"},
        {"goto [0,1]\n", "ERROR  A9506-8  ROW is out-of-range\n"},
        {"answer sometimes\n", "ERROR  A9509-1  Illegal parameter\n"},
        {"select [1,1]^[65534,255]\nanswer no\nDelete\n",
         "MSG [Deleting cells] You are about to delete the entire worksheet.\\n\\nIs this what you want to do?\n"
         "ANSWER no\n"},
        {"quit\nlevel 99\n", ""},
        {"time quit\nlevel 99\n", "time: 0.000 ms\n"},
    };
    for (const Case& c : cases) {
        HeadlessPlatform freshPlatform;
        freshPlatform.setElapsedMs(5.0);
        std::ostringstream freshOut;
        freshPlatform.setObserver([&freshOut](const RecordedBox& box) { freshOut << formatBox(box); });
        Session fresh(freshPlatform, {});
        ErrStat err;
        ASSERT_TRUE(fresh.start(err));
        LineInterpreter freshCli(fresh, freshPlatform, freshOut);
        std::istringstream in(c.script);
        freshCli.runStream(in);
        EXPECT_EQ(freshOut.str(), c.output) << c.script;
    }
}

TEST_F(LineInterpreterTest, StateCarriesFromLineToLine) {
    EXPECT_EQ(run("level 7\ngoto [4,5]\nselect [9,9]^[2,3,,8]\n"), "");
    EXPECT_EQ(session.activeLevel(), 8);
    EXPECT_EQ(session.pointer().row, 2);
    EXPECT_EQ(session.pointer().col, 3);
    EXPECT_EQ(run("answer cancel\n"), "");
    EXPECT_EQ(platform.policy(), PolicyAnswer::Cancel);
}

TEST_F(LineInterpreterTest, QuitStopsEveryLaterStream) {
    EXPECT_FALSE(cli.runLine("quit"));
    std::istringstream next("level 99\n");
    EXPECT_FALSE(cli.runStream(next));
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

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

}  // namespace
}  // namespace qx
