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

// A started session over its own platform.
struct Started {
    explicit Started(SessionOptions options = {}) : session(platform, std::move(options)) {
        EXPECT_TRUE(session.start(err));
    }
    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

TEST(Session, LevelCountIsClampedAtStart) {
    const std::pair<int, int> cases[] = {{-7, 1}, {0, 1}, {2, 1}, {3, 2}, {33, 32}, {INT32_MAX, 32}};
    for (const auto& c : cases) {
        Started s(optionsWithLevels(c.first));
        Session& session = s.session;
        ErrStat& err = s.err;
        EXPECT_EQ(session.highestLevel(), c.second) << c.first;
        EXPECT_TRUE(session.setActiveLevel(c.second, err)) << c.first;
        EXPECT_FALSE(session.setActiveLevel(c.second + 1, err)) << c.first;
        EXPECT_EQ(err.code, 8);
        EXPECT_EQ(session.activeLevel(), c.second) << "a refused level leaves the active one";
    }
}

TEST(Session, RefusedMovesChangeNothing) {
    const struct { int level, row, col; int32_t code; } cases[] = {
        {0, 0, 1, 6}, {0, 65535, 1, 6}, {0, 1, 0, 7}, {0, 1, 256, 7}, {33, 1, 1, 8}, {-1, 1, 1, 8}, {99, 0, 0, 6},
    };
    Started s;
    Session& session = s.session;
    ErrStat& err = s.err;
    ASSERT_TRUE(session.moveTo(3, 10, 20, err));
    for (const auto& c : cases) {
        EXPECT_FALSE(session.moveTo(c.level, c.row, c.col, err));
        EXPECT_EQ(err.code, c.code);
        EXPECT_FALSE(session.select(c.level, CellArea{c.row, c.col, 1, 1}, err));
        EXPECT_EQ(err.code, c.code);
        EXPECT_EQ((std::array{session.activeLevel(), session.pointer().row, session.pointer().col}),
                  (std::array{3, 10, 20}));
        EXPECT_TRUE(session.selection().contains(10, 20));
        EXPECT_FALSE(session.selection().contains(1, 1));
    }
}

TEST(Session, SelectionIsOrderedAndPointerGoesToItsTopLeft) {
    Started s;
    auto corners = [&] {
        const CellArea a = s.session.selection();
        return std::array{a.firstRow, a.firstCol, a.lastRow, a.lastCol};
    };
    ASSERT_TRUE(s.session.select(0, CellArea{9, 7, 2, 3}, s.err));
    EXPECT_EQ(corners(), (std::array{2, 3, 9, 7}));
    EXPECT_EQ((std::pair{s.session.pointer().row, s.session.pointer().col}), (std::pair{2, 3}));
    EXPECT_EQ(s.session.activeLevel(), 1);
    // Moving the pointer leaves a one-cell selection under it.
    ASSERT_TRUE(s.session.moveTo(0, 5, 5, s.err));
    EXPECT_EQ(corners(), (std::array{5, 5, 5, 5}));
}

TEST(Session, TwoSessionsDoNotInterfere) {
    Started sa(optionsWithLevels(5));
    Started sb;
    Session& a = sa.session;
    Session& b = sb.session;
    HeadlessPlatform& platformA = sa.platform;
    HeadlessPlatform& platformB = sb.platform;
    ErrStat& err = sa.err;
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

// The other answers and a block one column short run through the CLI transcripts.
TEST(Session, DeleteAsksOnlyForTheWholeWorksheet) {
    const struct { CellArea area; PolicyAnswer answer; std::size_t boxes; } cases[] = {
        {{1, 1, 65534, 255}, PolicyAnswer::Yes, 1},
        {{2, 1, 65534, 255}, PolicyAnswer::No, 0},
    };
    for (const auto& c : cases) {
        Started s;
        HeadlessPlatform& platform = s.platform;
        Session& session = s.session;
        ErrStat& err = s.err;
        platform.setPolicy(c.answer);
        ASSERT_NE(session.cells().makeCell(1, 1, 1, CellType::Label, err), nullptr);
        ASSERT_TRUE(session.select(0, c.area, err));
        EXPECT_EQ(session.dispatch("Delete", err), CommandOutcome::Done);
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

// A protected cell refuses the whole block and the command reports why.
TEST(Session, DeleteRefusesABlockHoldingAProtectedCell) {
    Started s;
    CellStore& cells = s.session.cells();
    ASSERT_NE(cells.makeCell(2, 2, 1, CellType::Label, s.err), nullptr);
    CellRec* guarded = cells.makeCell(5, 5, 1, CellType::Label, s.err);
    ASSERT_NE(guarded, nullptr);
    guarded->set(cellflag::kProtectCell);
    ASSERT_TRUE(s.session.select(1, CellArea{1, 1, 9, 9}, s.err));
    EXPECT_EQ(s.session.dispatch(s.session.commands().findByName("Delete")->id, s.err), CommandOutcome::Failed);
    EXPECT_EQ(s.err.code, 40);
    EXPECT_NE(cells.findCell(2, 2, 1, s.err), nullptr);
}

}  // namespace
}  // namespace qx
