#include "app/line_interpreter.h"

#include <gtest/gtest.h>

#include <sstream>

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
        {"enter [1,1] x\neval 1\n", "not available yet\nnot available yet\n"},
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
