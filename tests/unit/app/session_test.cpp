#include "app/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/headless_platform.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

SessionOptions optionsWithLevels(int levels) {
    SessionOptions options;
    options.levelCount = levels;
    return options;
}

TEST(Session, LevelCountIsClampedAtStart) {
    struct Case {
        int asked;
        int highest;
    } cases[] = {{-7, 1}, {0, 1}, {1, 1}, {2, 1}, {3, 2}, {33, 32}, {40, 32}, {INT32_MAX, 32}};
    for (const Case& c : cases) {
        HeadlessPlatform platform;
        Session session(platform, optionsWithLevels(c.asked));
        ErrStat err;
        ASSERT_TRUE(session.start(err)) << c.asked;
        EXPECT_EQ(session.highestLevel(), c.highest) << c.asked;
        EXPECT_TRUE(session.setActiveLevel(c.highest, err)) << c.asked;
        EXPECT_FALSE(session.setActiveLevel(c.highest + 1, err)) << c.asked;
        EXPECT_EQ(err.code, 8);
        EXPECT_EQ(session.activeLevel(), c.highest) << "a refused level leaves the active one";
    }
}

TEST(Session, RefusedMovesChangeNothing) {
    struct Case {
        int level, row, col;
        int32_t code;
    } cases[] = {
        {0, 0, 1, 6}, {0, 65535, 1, 6}, {0, 1, 0, 7}, {0, 1, 256, 7}, {33, 1, 1, 8}, {-1, 1, 1, 8}, {99, 0, 0, 6},
    };
    HeadlessPlatform platform;
    Session session(platform, {});
    ErrStat err;
    ASSERT_TRUE(session.start(err));
    ASSERT_TRUE(session.moveTo(3, 10, 20, err));
    for (const Case& c : cases) {
        EXPECT_FALSE(session.moveTo(c.level, c.row, c.col, err));
        EXPECT_EQ(err.code, c.code);
        EXPECT_FALSE(session.select(c.level, CellArea{c.row, c.col, 1, 1}, err));
        EXPECT_EQ(err.code, c.code);
        EXPECT_EQ(session.activeLevel(), 3);
        EXPECT_EQ(session.pointer().row, 10);
        EXPECT_EQ(session.pointer().col, 20);
        EXPECT_TRUE(session.selection().contains(10, 20));
        EXPECT_FALSE(session.selection().contains(1, 1));
    }
}

TEST(Session, SelectionIsOrderedAndPointerGoesToItsTopLeft) {
    HeadlessPlatform platform;
    Session session(platform, {});
    ErrStat err;
    ASSERT_TRUE(session.start(err));
    ASSERT_TRUE(session.select(0, CellArea{9, 7, 2, 3}, err));
    CellArea area = session.selection();
    EXPECT_EQ((std::array{area.firstRow, area.firstCol, area.lastRow, area.lastCol}), (std::array{2, 3, 9, 7}));
    EXPECT_EQ(session.pointer().row, 2);
    EXPECT_EQ(session.pointer().col, 3);
    EXPECT_EQ(session.activeLevel(), 1);
    // Moving the pointer leaves a one-cell selection under it.
    ASSERT_TRUE(session.moveTo(0, 5, 5, err));
    area = session.selection();
    EXPECT_EQ((std::array{area.firstRow, area.firstCol, area.lastRow, area.lastCol}), (std::array{5, 5, 5, 5}));
}

TEST(Session, TwoSessionsDoNotInterfere) {
    HeadlessPlatform platformA;
    HeadlessPlatform platformB;
    Session a(platformA, optionsWithLevels(5));
    Session b(platformB, {});
    ErrStat err;
    ASSERT_TRUE(a.start(err));
    ASSERT_TRUE(b.start(err));
    ASSERT_TRUE(a.select(4, CellArea{1, 1, 65534, 255}, err));
    ASSERT_TRUE(b.moveTo(20, 7, 8, err));
    a.scratch().repaintPending = true;
    ASSERT_GT(a.bars().addBar("Mine"), 0);
    a.globals().addRecentFile("/tmp/a.qx3");
    platformA.setPolicy(PolicyAnswer::No);

    EXPECT_EQ(a.dispatch("Delete", err), CommandOutcome::Done);  // answered No: nothing deleted
    EXPECT_EQ(platformA.boxes().size(), 1u);
    EXPECT_TRUE(platformB.boxes().empty());

    EXPECT_EQ(a.highestLevel(), 4);
    EXPECT_EQ(b.highestLevel(), 32);
    EXPECT_EQ(a.activeLevel(), 4);
    EXPECT_EQ(b.activeLevel(), 20);
    EXPECT_EQ(b.pointer().row, 7);
    EXPECT_FALSE(b.selection().contains(1, 1));
    EXPECT_FALSE(b.scratch().repaintPending);
    EXPECT_EQ(b.bars().findBar("Mine"), 0);
    EXPECT_TRUE(b.globals().recentFiles.empty());
}

TEST(Session, DeleteAsksOnlyForTheWholeWorksheet) {
    struct Case {
        CellArea area;
        PolicyAnswer answer;
        std::size_t boxes;
        CommandOutcome outcome;
    } cases[] = {
        {{1, 1, 65534, 255}, PolicyAnswer::No, 1, CommandOutcome::Done},
        {{1, 1, 65534, 255}, PolicyAnswer::Cancel, 1, CommandOutcome::Done},
        {{1, 1, 65534, 255}, PolicyAnswer::Yes, 1, CommandOutcome::Done},
        {{1, 1, 65534, 254}, PolicyAnswer::No, 0, CommandOutcome::Done},
        {{2, 1, 65534, 255}, PolicyAnswer::No, 0, CommandOutcome::Done},
    };
    for (const Case& c : cases) {
        HeadlessPlatform platform;
        platform.setPolicy(c.answer);
        Session session(platform, {});
        ErrStat err;
        ASSERT_TRUE(session.start(err));
        ASSERT_NE(session.cells().makeCell(1, 1, 1, CellType::Label, err), nullptr);
        ASSERT_TRUE(session.select(0, c.area, err));
        EXPECT_EQ(session.dispatch("Delete", err), c.outcome);
        bool deleted = c.area.contains(1, 1) && (c.boxes == 0 || c.answer == PolicyAnswer::Yes);
        EXPECT_EQ(session.cells().findCell(1, 1, 1, err) == nullptr, deleted);
        ASSERT_EQ(platform.boxes().size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(platform.boxes()[0].caption, "Deleting cells");
            EXPECT_EQ(platform.boxes()[0].buttons, BoxButtons::YesNo);
        }
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(Session, SettingsAreReadAtStartAndWrittenAtTheEndOnlyWhenGiven) {
    testing::TempDirectory dir;
    SessionOptions options;
    options.settingsPath = dir.file("Quorix.ini");
    options.directories.startDirectory = dir.path();
    {
        HeadlessPlatform platform;
        Session first(platform, options);
        ErrStat err;
        ASSERT_TRUE(first.start(err));
        EXPECT_GT(first.bars().findBar("Table options"), 0) << "a missing file gives the default bar";
        ASSERT_GT(first.bars().addBar("Survey"), 0);
        ASSERT_TRUE(first.bars().addButton("Copy", 541));
        first.globals().addRecentFile("/data/site.qx3");
        EXPECT_FALSE(std::filesystem::exists(*options.settingsPath)) << "nothing is written before the end";
        ASSERT_TRUE(first.finish(err));
    }
    const std::string written = fileBytes(*options.settingsPath);
    ASSERT_GE(written.size(), 255u);
    EXPECT_EQ(written.size() % 255, 0u);
    EXPECT_EQ(written.rfind("~~C{3.00}", 0), 0u);

    HeadlessPlatform platform;
    Session second(platform, options);
    ErrStat err;
    ASSERT_TRUE(second.start(err));
    int place = second.bars().findBar("Survey");
    ASSERT_GT(place, 0);
    EXPECT_EQ(second.bars().buttonCommand(place, 0), std::optional<uint16_t>(541));
    ASSERT_EQ(second.globals().recentFiles.size(), 1u);
    EXPECT_EQ(second.globals().recentFiles[0], "/data/site.qx3");

    // A session without a settings path touches no file at all.
    std::filesystem::remove(*options.settingsPath);
    HeadlessPlatform quietPlatform;
    SessionOptions quiet;
    quiet.directories.startDirectory = dir.path();
    Session third(quietPlatform, quiet);
    ASSERT_TRUE(third.start(err));
    ASSERT_TRUE(third.finish(err));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Session, DeleteActsOnTheSelectionOfTheActiveLevel) {
    HeadlessPlatform platform;
    Session session(platform, {});
    ErrStat err;
    ASSERT_TRUE(session.start(err));
    CellStore& cells = session.cells();
    for (int level : {1, 2}) {
        for (auto [row, col] : {std::pair{2, 2}, {3, 4}, {5, 5}}) {
            ASSERT_NE(cells.makeCell(row, col, level, CellType::Label, err), nullptr);
        }
    }
    ASSERT_TRUE(session.select(2, CellArea{2, 2, 4, 4}, err));
    EXPECT_EQ(session.dispatch("Delete", err), CommandOutcome::Done);
    EXPECT_EQ(cells.findCell(2, 2, 2, err), nullptr);
    EXPECT_EQ(cells.findCell(3, 4, 2, err), nullptr);
    EXPECT_NE(cells.findCell(5, 5, 2, err), nullptr);
    EXPECT_NE(cells.findCell(2, 2, 1, err), nullptr);
    EXPECT_TRUE(session.scratch().repaintPending);

    // A protected cell refuses the whole block and the command reports why.
    CellRec* guarded = cells.makeCell(5, 5, 1, CellType::Label, err);
    ASSERT_NE(guarded, nullptr);
    guarded->set(cellflag::kProtectCell);
    ASSERT_TRUE(session.select(1, CellArea{1, 1, 9, 9}, err));
    EXPECT_EQ(session.dispatch(session.commands().findByName("Delete")->id, err), CommandOutcome::Failed);
    EXPECT_EQ(err.code, 40);
    EXPECT_NE(cells.findCell(2, 2, 1, err), nullptr);
}

}  // namespace
}  // namespace qx
