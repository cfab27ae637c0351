#include "cli/line_interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "unit/core/temp_directory.h"

namespace qx {
namespace {

// A started session read by the line interpreter; boxes are printed into the same output.
struct Cli {
    Cli() {
        platform.setObserver([this](const RecordedBox& box) { out << formatBox(box); });
        ErrStat err;
        EXPECT_TRUE(session.start(err));
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
    std::ostringstream problems;
    LineInterpreter cli{session, platform, out, problems};
};

TEST(LineInterpreter, StateCarriesFromLineToLine) {
    Cli c;
    EXPECT_EQ(c.run("level 7\ngoto [4,5]\nselect [9,9]^[2,3,,8]\n"), "");
    // The selection is ordered and the pointer goes to its top left.
    const CellArea area = c.session.selection();
    EXPECT_EQ((std::array{area.firstRow, area.firstCol, area.lastRow, area.lastCol}), (std::array{2, 3, 9, 9}));
    EXPECT_EQ((std::array{c.session.activeLevel(), c.session.pointer().row, c.session.pointer().col}),
              (std::array{8, 2, 3}));
}

// A level's default precision (from its file's settings record, or its defaults) is what numbers
// without a precision of their own show.
TEST(LineInterpreter, NumbersShowTheLevelDefaultPrecision) {
    Cli c;
    c.session.cells().levelPtr(1)->defaults.precision = 3;
    EXPECT_EQ(c.run("enter [1,1] 2.5\nshow [1,1]\nshow [1,1]^[1,2]\nshow [1,1,,2]\nenter [1,1,,2] 1\nshow [1,1,,2]\n"),
              "2.500\n2.500\t\n\n1.00\n");
}

// Whatever a script holds, each line is answered with at most a few lines, and at most one reason
// why it could not be carried out, and reading goes on.
TEST(LineInterpreter, GarbageLinesNeverStopOrFlood) {
    std::mt19937 rng(7);
    const std::vector<std::string> starts = {"level ", "goto ",  "select ", "answer ", "time ", "Copy",
                                             "Delete", "enter ", "#",       "",        "x",     "time time "};
    const std::string alphabet = std::string("[],^$+-0123456789 \t\r\x01\x7f\xff") + "abc;";
    Cli c;
    for (int i = 0; i < 5000; ++i) {
        std::string line = starts[rng() % starts.size()];
        int len = std::uniform_int_distribution<int>(0, 30)(rng);
        for (int k = 0; k < len; ++k) line += alphabet[rng() % alphabet.size()];
        c.out.str("");
        c.problems.str("");
        ASSERT_TRUE(c.cli.runLine(line)) << line;
        std::string printed = c.out.str();
        const std::string reported = c.problems.str();
        EXPECT_LE(std::count(printed.begin(), printed.end(), '\n'), 4) << line;
        EXPECT_LE(std::count(reported.begin(), reported.end(), '\n'), 1) << line;
        EXPECT_GE(c.session.activeLevel(), 1);
        EXPECT_LE(c.session.activeLevel(), c.session.highestLevel());
        CellArea area = c.session.selection();
        EXPECT_TRUE(area.firstRow >= 1 && area.lastRow <= kMaxRow && area.firstCol >= 1 && area.lastCol <= kMaxCol);
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A line read with getline keeps a NUL, where the file calls would stop: every verb that takes a
// path refuses one holding a control byte, and the file it would have reached stays as it was.
TEST(LineInterpreter, EveryFileVerbRefusesAPathWithAControlByte) {
    testing::TempDirectory dir;
    Cli c;
    const std::string level = dir.file("a.qx2");
    const std::string book = dir.file("a.qx3");
    ASSERT_EQ(c.run("enter [1,1] 1\nsave " + level + "\nsave " + book + "\nenter [1,1] 2\n"), "");
    const std::string levelBytes = fileBytes(level);
    const std::string bookBytes = fileBytes(book);
    const auto fileCount = [&] { return std::distance(std::filesystem::directory_iterator(dir.path()), {}); };
    const auto files = fileCount();
    const std::string nul(1, '\0');
    const std::string lines[] = {
        "save " + level + nul + "x.qx2", "save " + book + nul + "x.qx3",   "open " + level + nul + "x.qx2",
        "open " + book + nul + "x.qx3",  "import " + level + nul + ".csv", "export " + level + nul + ".csv",
        "save " + dir.file("b\x01.qx2"), "open " + dir.file("b\tc.qx2"),   "export " + dir.file("b\x7f.csv"),
    };
    for (const std::string& line : lines) {
        c.problems.str("");
        EXPECT_EQ(c.run(line + "\n"), "") << line;
        EXPECT_EQ(c.problems.str(), "ERROR  A9001-1  undefined or illegal string\n") << line;
        EXPECT_EQ(fileBytes(level), levelBytes) << line;
        EXPECT_EQ(fileBytes(book), bookBytes) << line;
        EXPECT_EQ(fileCount(), files) << line;
    }
    c.problems.str("");
    EXPECT_EQ(c.run("value [1,1]\nimport " + dir.file("in.csv") + "\n"),
              "2\nMSG [WARNING] Data may be overwritten!\\n\\nDo you want to continue?\nANSWER yes\n"
              "MSG [WARNING] A problem was detected while importing data from:\\n\\n" +
                  dir.path() + "\n");
    EXPECT_EQ(c.problems.str(), "ERROR  A4405-3  unable to open file\n");
}

// Two workbooks driven turn by turn in one process: entries, recalculation, answers and the
// active level of one never reach the other.
TEST(LineInterpreter, TwoSessionsComputeIndependently) {
    Cli a;
    Cli b;
    const char* const kDeleteAll =
        "MSG [Deleting cells] You are about to delete the entire worksheet.\\n\\nIs this what you want to do?\n"
        "ANSWER yes\n";
    const struct {
        const char *lineA, *lineB, *outA, *outB;
    } steps[] = {
        {"enter [1,1] 5", "enter [1,1] 7", "", ""},
        {"enter [1,2] +[1,1]*2", "level 3", "", ""},
        {"value [1,2]", "value [1,2]", "10\n", "0\n"},
        {"enter [1,1] 6", "enter [1,2,,3] +[1,1,,1]+1", "", ""},
        {"value [1,2]", "value [1,2,,3]", "12\n", "8\n"},
        {"answer no", "select [1,1]^[65534,255]", "", ""},
        {"level 2", "Delete", "", kDeleteAll},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(a.run(step.lineA), step.outA) << step.lineA;
        EXPECT_EQ(b.run(step.lineB), step.outB) << step.lineB;
    }
    EXPECT_EQ(a.session.activeLevel(), 2);
    EXPECT_EQ(b.session.activeLevel(), 3);
    EXPECT_EQ(a.run("value [1,2,,1]"), "12\n");
}

// On a level that forbids editing, a ShortCut that fills an Array Area is refused like any other edit;
// those that change nothing still run.
TEST(LineInterpreter, ShortCutFillsAskTheEditPermission) {
    const char* const kRefused =
        "MSG [Protected Operation] The Password Protection settings do not allow you to EDIT cells at this level.\n";
    const struct {
        const char* line;
        const char* out;
    } steps[] = {
        {"enter [1,1] =*<7", kRefused}, {"enter [1,1] =1<7", kRefused}, {"enter [1,1] .", ""},
        {"enter [1,1] \\zz", ""},       {"value [1,1,3]", "5\n"},
    };
    Cli c;
    c.run("enter [1,1] @Matrix(1,2,5,6)\nenter [1,1] @Matrix()\nprotect level 1 4090\n");
    for (const auto& step : steps) EXPECT_EQ(c.run(step.line), step.out) << step.line;
}

}  // namespace
}  // namespace qx
