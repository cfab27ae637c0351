#include "app/object_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "unit/core/array_area_reader.h"

namespace qx {
namespace {

class ObjectCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ErrStat err;
        ASSERT_TRUE(session.start(err));
    }
    void enter(int row, int col, const std::string& text) {
        ErrStat err;
        session.commitEntry(1, row, col, text, err);
    }
    std::vector<double> array(int row, int col) {
        ErrStat err;
        return test::arrayOf(session.cells().findCell(row, col, 1, err));
    }

    HeadlessPlatform platform;
    Session session{platform, {}};
};

TEST_F(ObjectCommandsTest, PromptedOperationsReadTheirNumbers) {
    enter(1, 1, "@Table(2,2,3,4,1,2)");
    enter(1, 1, "@Table()");
    ErrStat moved;
    ASSERT_TRUE(session.moveTo(1, 1, 1, moved));
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

TEST_F(ObjectCommandsTest, SetValueAsksAndDependentsFollow) {
    enter(1, 1, "@Table(2,2,3,4,1,2)");
    enter(1, 1, "@Table()");
    enter(3, 1, "+TableValue([1,1],2,1)*10");
    ErrStat moved;
    ASSERT_TRUE(session.moveTo(1, 1, 1, moved));
    const struct {
        const char* answer;  // none: the prompt is cancelled
        CommandOutcome outcome;
        std::vector<double> array;
        double dependent;
    } cases[] = {
        {"2 1 9", CommandOutcome::Done, {6, 2, 2, 3, 4, 9, 2}, 90},
        {nullptr, CommandOutcome::Done, {6, 2, 2, 3, 4, 9, 2}, 90},
        {"1, 2, -2.5e1", CommandOutcome::Done, {6, 2, 2, 3, -25, 9, 2}, 90},
        {"2 1", CommandOutcome::Failed, {6, 2, 2, 3, -25, 9, 2}, 90},
        {"2 1 x", CommandOutcome::Failed, {6, 2, 2, 3, -25, 9, 2}, 90},
        {"2 1 1e999", CommandOutcome::Failed, {6, 2, 2, 3, -25, 9, 2}, 90},
        {"3 1 1", CommandOutcome::Failed, {6, 2, 2, 3, -25, 9, 2}, 90},
        {"2 1 0.5", CommandOutcome::Done, {6, 2, 2, 3, -25, 0.5, 2}, 5},
    };
    for (const auto& c : cases) {
        if (c.answer != nullptr) platform.queuePrompt(c.answer);
        ErrStat err;
        EXPECT_EQ(session.dispatch("SetValue", err), c.outcome) << (c.answer ? c.answer : "cancel");
        EXPECT_EQ(array(1, 1), c.array) << (c.answer ? c.answer : "cancel");
        ErrStat found;
        EXPECT_EQ(session.cells().findCell(3, 1, 1, found)->formula->value, c.dependent) << (c.answer ? c.answer : "");
    }
}

// Random table operations and object commands over a small sheet never break the row lists or the dependents.
TEST_F(ObjectCommandsTest, RandomObjectCommandsKeepTheStoreSound) {
    static const SortKey kDescending[] = {{1, true}};
    static const SortKey kSecond[] = {{2, false}};
    static const SortKey kOutside[] = {{9, false}, {9, false}};
    const TableRequest requests[] = {
        {TableAction::Invert, 0, 0, {}},        {TableAction::SwapColumns, 1, 2, {}},
        {TableAction::RemoveRow, 1, 0, {}},     {TableAction::RemoveColumn, 2, 0, {}},
        {TableAction::Sort, 0, 0, kDescending}, {TableAction::Sort, 0, 0, kSecond},
        {TableAction::Sort, 0, 0, kOutside},    {TableAction::SetValue, 2, 1, {}, 7.5},
    };
    const char* commands[] = {"Capture",  "CapTable", "CapMatrx", "CapXYZ", "CapSegmt",
                              "CapPolyg", "Place",    "PlaceWks", "Invert"};
    const char* entries[] = {"1", "'a", "@Table()", "@Table(2,2,1,2,3,4)", "@Matrix(1,2,3,4)", "+[1,1]+1", "'"};
    unsigned x = 12345;
    auto next = [&x](unsigned n) {
        x = x * 1103515245u + 12345u;
        return (x >> 16) % n;
    };
    for (int step = 0; step < 1500; ++step) {
        const int r1 = 1 + static_cast<int>(next(6));
        const int c1 = 1 + static_cast<int>(next(6));
        ErrStat err;
        switch (next(5)) {
            case 0:
                session.commitEntry(0, r1, c1, entries[next(7)], err);
                break;
            case 1:
                session.select(0, CellArea{r1, c1, r1 + static_cast<int>(next(4)), c1 + static_cast<int>(next(4))},
                               err);
                break;
            case 2:
                session.moveTo(0, r1, c1, err);
                break;
            case 3:
                requestTableOperation(session, requests[next(static_cast<unsigned>(std::size(requests)))], err);
                break;
            default:
                session.dispatch(commands[next(static_cast<unsigned>(std::size(commands)))], err);
        }
        if (step % 100 == 0) session.dispatch("Delete", err);
    }
    EXPECT_EQ(session.cells().checkRows(1), "");
    EXPECT_EQ(session.cells().checkDependents(1), "");
}

}  // namespace
}  // namespace qx
