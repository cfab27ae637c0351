#include "app/object_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/line_interpreter.h"

namespace qx {
namespace {

class ObjectCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ErrStat err;
        ASSERT_TRUE(session.start(err));
    }
    void run(const std::string& script) {
        std::istringstream in(script);
        cli.runStream(in);
    }
    std::vector<double> array(int row, int col) {
        ErrStat err;
        const CellRec* c = session.cells().findCell(row, col, 1, err);
        if (c == nullptr || c->formula == nullptr) return {};
        return std::vector<double>(c->formula->array, c->formula->array + static_cast<int>(c->formula->array[0]) + 1);
    }

    HeadlessPlatform platform;
    Session session{platform, {}};
    std::ostringstream out;
    LineInterpreter cli{session, platform, out, out};
};

TEST_F(ObjectCommandsTest, PromptedOperationsReadTheirNumbers) {
    run("enter [1,1] @Table(2,2,3,4,1,2)\nenter [1,1] @Table()\ngoto [1,1]\n");
    const struct {
        const char* command;
        const char* answer;  // none: the prompt is cancelled
        std::vector<double> array;
    } cases[] = {
        {"SwapCol", "2 1", {6, 2, 2, 4, 3, 2, 1}},
        {"SwapCol", "1", {6, 2, 2, 4, 3, 2, 1}},
        {"Sort", nullptr, {6, 2, 2, 4, 3, 2, 1}},
        {"Sort", "1", {6, 2, 2, 2, 1, 4, 3}},
        {"RmvRow", "x", {6, 2, 2, 2, 1, 4, 3}},
        {"RmvRow", "1", {4, 1, 2, 4, 3}},
        {"RmvCol", "2,", {3, 1, 1, 4}},
    };
    for (const auto& c : cases) {
        if (c.answer != nullptr) platform.queuePrompt(c.answer);
        ErrStat err;
        EXPECT_EQ(session.dispatch(c.command, err), CommandOutcome::Done) << c.command << " " << err.code;
        EXPECT_EQ(array(1, 1), c.array) << c.command;
    }
}

// Random table verbs and object commands over a small sheet never break the row lists or the dependents.
TEST_F(ObjectCommandsTest, RandomObjectCommandsKeepTheStoreSound) {
    const char* words[] = {"table invert", "table swap 1 2", "table rmrow 1",   "table rmcol 2", "table sort 1 desc",
                           "table sort 2", "table buffer",   "Capture",         "CapTable",      "CapMatrx",
                           "CapXYZ",       "CapSegmt",       "CapPolyg",        "Place",         "PlaceWks",
                           "Invert",       "table",          "table swap -1 x", "table sort 9 9"};
    const char* entries[] = {"1", "'a", "@Table()", "@Table(2,2,1,2,3,4)", "@Matrix(1,2,3,4)", "+[1,1]+1", "'"};
    unsigned x = 12345;
    auto next = [&x](unsigned n) {
        x = x * 1103515245u + 12345u;
        return (x >> 16) % n;
    };
    auto at = [](int row, int col) { return "[" + std::to_string(row) + "," + std::to_string(col) + "]"; };
    for (int step = 0; step < 1500; ++step) {
        const int r1 = 1 + static_cast<int>(next(6));
        const int c1 = 1 + static_cast<int>(next(6));
        std::string line;
        switch (next(4)) {
            case 0:
                line = "enter " + at(r1, c1) + " " + entries[next(7)];
                break;
            case 1:
                line =
                    "select " + at(r1, c1) + "^" + at(r1 + static_cast<int>(next(4)), c1 + static_cast<int>(next(4)));
                break;
            case 2:
                line = "goto " + at(r1, c1);
                break;
            default:
                line = words[next(sizeof words / sizeof words[0])];
        }
        cli.runLine(line);
        if (step % 100 == 0) run("Delete\n");
    }
    EXPECT_EQ(session.cells().checkRows(1), "");
    EXPECT_EQ(session.cells().checkDependents(1), "");
}

}  // namespace
}  // namespace qx
