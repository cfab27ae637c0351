#include "app/session.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "core/property_access.h"
#include "formula/formula_codes.h"
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
    std::array<int, 3> place() const { return {session.activeLevel(), session.pointer().row, session.pointer().col}; }
    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

TEST(Session, LevelCountIsClampedAtStart) {
    const std::pair<int, int> cases[] = {{-7, 1}, {0, 1}, {2, 1}, {3, 2}, {33, 32}, {INT32_MAX, 32}};
    for (const auto& [asked, highest] : cases) {
        Started s(optionsWithLevels(asked));
        EXPECT_EQ(s.session.highestLevel(), highest) << asked;
        EXPECT_TRUE(s.session.setActiveLevel(highest, s.err)) << asked;
        EXPECT_FALSE(s.session.setActiveLevel(highest + 1, s.err)) << asked;
        EXPECT_EQ(s.err.code, 8);
        EXPECT_EQ(s.session.activeLevel(), highest) << "a refused level leaves the active one";
    }
}

// Every part is there before start(), and starting again replaces the workbook with nothing left pointing
// at the old one.
TEST(Session, PartsExistBeforeStartAndAfterARestart) {
    HeadlessPlatform platform;
    Session session(platform, SessionOptions{});
    ErrStat err;
    session.commitEntry(1, 1, 1, "+abs(-2)", err);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(session.evaluate("[1,1]+1", err), 3.0);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(session.start(err));
        ErrStat find;
        EXPECT_EQ(session.cells().findCell(1, 1, 1, find), nullptr) << round;
        session.commitEntry(1, 1, 1, "+abs(-4)", err);
        EXPECT_EQ(session.evaluate("[1,1]", err), 4.0) << round;
        EXPECT_EQ(session.dispatch("calcAll", err), CommandOutcome::Done) << round;
    }
}

TEST(Session, RefusedMovesChangeNothing) {
    const struct {
        int level, row, col;
        int32_t code;
    } cases[] = {
        {0, 0, 1, 6}, {0, 65535, 1, 6}, {0, 1, 0, 7}, {0, 1, 256, 7}, {33, 1, 1, 8}, {-1, 1, 1, 8}, {99, 0, 0, 6},
    };
    Started s;
    ASSERT_TRUE(s.session.moveTo(3, 10, 20, s.err));
    for (const auto& c : cases) {
        EXPECT_FALSE(s.session.moveTo(c.level, c.row, c.col, s.err));
        EXPECT_EQ(s.err.code, c.code);
        EXPECT_FALSE(s.session.select(c.level, CellArea{c.row, c.col, 1, 1}, s.err));
        EXPECT_EQ(s.err.code, c.code);
        EXPECT_EQ(s.place(), (std::array{3, 10, 20}));
        const CellArea a = s.session.selection();  // moving leaves a one-cell selection under the pointer
        EXPECT_EQ((std::array{a.firstRow, a.firstCol, a.lastRow, a.lastCol}), (std::array{10, 20, 10, 20}));
    }
}

TEST(Session, TwoSessionsDoNotInterfere) {
    Started a(optionsWithLevels(5));
    Started b;
    ASSERT_TRUE(a.session.select(4, CellArea{1, 1, 65534, 255}, a.err));
    ASSERT_TRUE(b.session.moveTo(20, 7, 8, b.err));
    a.session.scratch().repaintPending = true;
    ASSERT_GT(a.session.bars().addBar("Mine"), 0);
    a.session.globals().addRecentFile("/tmp/a.qx3");
    a.platform.setPolicy(PolicyAnswer::No);
    EXPECT_EQ(a.session.dispatch("Delete", a.err), CommandOutcome::Done);  // answered No: nothing deleted
    EXPECT_EQ(a.platform.boxes().size(), 1u);
    EXPECT_TRUE(b.platform.boxes().empty());

    EXPECT_EQ(a.session.highestLevel(), 4);
    EXPECT_EQ(b.session.highestLevel(), 32);
    EXPECT_EQ(a.session.activeLevel(), 4);
    EXPECT_EQ(b.place(), (std::array{20, 7, 8}));
    EXPECT_FALSE(b.session.selection().contains(1, 1));
    EXPECT_FALSE(b.session.scratch().repaintPending);
    EXPECT_EQ(b.session.bars().findBar("Mine"), 0);
    EXPECT_TRUE(b.session.globals().recentFiles.empty());
}

// Only the whole worksheet asks (a block one row short deletes at once); the answers and a block one
// column short run through the CLI transcripts.
TEST(Session, DeleteAsksOnlyForTheWholeWorksheet) {
    Started s;
    s.platform.setPolicy(PolicyAnswer::Yes);
    for (int firstRow : {2, 1}) {
        ASSERT_NE(s.session.cells().makeCell(firstRow, 1, 1, CellType::Label, s.err), nullptr);
        ASSERT_TRUE(s.session.select(0, CellArea{firstRow, 1, 65534, 255}, s.err));
        EXPECT_EQ(s.session.dispatch("Delete", s.err), CommandOutcome::Done);
        EXPECT_EQ(s.session.cells().findCell(firstRow, 1, 1, s.err), nullptr);
        ASSERT_EQ(s.platform.boxes().size(), firstRow == 1 ? 1u : 0u);
    }
    EXPECT_EQ(s.platform.boxes()[0].caption, "Deleting cells");
    EXPECT_EQ(s.platform.boxes()[0].buttons, BoxButtons::YesNo);
}

TEST(Session, SettingsAreReadAtStartAndWrittenAtTheEndOnlyWhenGiven) {
    testing::TempDirectory dir;
    SessionOptions options;
    options.settingsPath = dir.file("Quorix.ini");
    options.directories.startDirectory = dir.path();
    {
        Started first(options);
        EXPECT_GT(first.session.bars().findBar("Table options"), 0) << "a missing file gives the default bar";
        ASSERT_GT(first.session.bars().addBar("Survey"), 0);
        ASSERT_TRUE(first.session.bars().addButton("Copy", 541));
        first.session.globals().addRecentFile("/data/site.qx3");
        EXPECT_FALSE(std::filesystem::exists(*options.settingsPath)) << "nothing is written before the end";
        ASSERT_TRUE(first.session.finish(first.err));
    }
    std::ostringstream written;
    written << std::ifstream(*options.settingsPath, std::ios::binary).rdbuf();
    ASSERT_GE(written.str().size(), 255u);
    EXPECT_EQ(written.str().size() % 255, 0u);
    EXPECT_EQ(written.str().rfind("~~C{3.00}", 0), 0u);

    Started second(options);
    int place = second.session.bars().findBar("Survey");
    ASSERT_GT(place, 0);
    EXPECT_EQ(second.session.bars().buttonCommand(place, 0), std::optional<uint16_t>(541));
    EXPECT_EQ(second.session.globals().recentFiles, std::vector<std::string>{"/data/site.qx3"});

    // A session without a settings path touches no file at all.
    std::filesystem::remove(*options.settingsPath);
    options.settingsPath.reset();
    Started third(options);
    ASSERT_TRUE(third.session.finish(third.err));
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

// What a committed entry tells the front end: stored or refused, the entry's own failure, and where a
// search moved the pointer. Level 0 is the active level.
TEST(Session, CommittedEntriesSayWhatTheFrontEndShows) {
    const struct {
        const char* name;
        uint32_t permissions;  // of level 2, the active one
        int row, col;
        const char* text;
        bool stored, moved;
        int32_t code;                // the entry's failure; 0 for none
        std::array<int, 3> pointer;  // level, row, column afterwards
    } cases[] = {
        {"a formula", kPermissionReset, 1, 1, "+2*3", true, false, 0, {2, 9, 9}},
        {"a failing formula", kPermissionReset, 1, 2, "+1/0", true, false, codeOf(Msg::DividingByZero), {2, 9, 9}},
        {"a search moves the pointer", kPermissionReset, 1, 1, "\\find", true, true, 0, {2, 4, 5}},
        {"adding refused", kPermissionReset & ~(1u << kActionAddCells), 7, 7, "+1", false, false, 0, {2, 9, 9}},
        {"editing refused", kPermissionReset & ~(1u << kActionEdit), 4, 5, "+1", false, false, 0, {2, 9, 9}},
        {"filling refused", kPermissionReset & ~(1u << kActionEdit), 4, 5, "=1<2", false, false, 0, {2, 9, 9}},
    };
    for (const auto& c : cases) {
        Started s;
        ASSERT_TRUE(s.session.moveTo(2, 9, 9, s.err));
        s.session.commitEntry(0, 4, 5, "'find me", s.err);
        setPermissionWord(s.session.protection(), 2, c.permissions);
        const EntryCommit r = s.session.commitEntry(0, c.row, c.col, c.text, s.err);
        EXPECT_EQ(r.stored, c.stored) << c.name;
        EXPECT_EQ(r.moved, c.moved) << c.name;
        EXPECT_EQ(s.err.failed() ? s.err.code : 0, c.code) << c.name;
        EXPECT_EQ(s.place(), c.pointer) << c.name;
        EXPECT_EQ(s.platform.boxes().size(), c.stored ? 0u : 1u) << c.name << ": a refusal says why";
        ErrStat err;
        EXPECT_EQ(s.session.cells().findCell(7, 7, 2, err), nullptr) << c.name;
    }
}

// A committed edit gives failed cells another try; reading and writing a property goes through the same
// permission rules.
TEST(Session, CommitRetriesFailedCellsAndPropertiesAskPermission) {
    Started s;
    s.session.commitEntry(1, 1, 1, "+1/[1,2+[*]]", s.err);  // a textual address: no dependency on [1,2]
    ASSERT_TRUE(s.err.is(Msg::DividingByZero));
    s.session.commitEntry(1, 1, 2, "+4", s.err);
    EXPECT_FALSE(s.err.failed());
    EXPECT_EQ(s.session.evaluate("[1,1]", s.err), 0.25);

    setPermissionWord(s.session.protection(), 1, kPermissionReset & ~(1u << kActionAttributes));
    EXPECT_EQ(s.session.cellProperty(1, 1, 1, 5, kPropertyRead, s.err), std::optional<int64_t>(0));
    EXPECT_EQ(s.session.cellProperty(1, 1, 1, 5, 1, s.err), std::nullopt);
    EXPECT_EQ(s.platform.boxes().size(), 1u);
    EXPECT_EQ(s.session.cellProperty(0, 0, 1, 5, kPropertyRead, s.err), std::nullopt);
    EXPECT_EQ(s.err.code, 6);
}

// Runs out of memory inside every function call.
class ExhaustedFunctions final : public FunctionDispatcher {
  public:
    double call(CallRecord&, ErrStat&) override { throw std::bad_alloc(); }
};

// Memory running out while a commit computes is reported as such; no formula text keeps a cut.
TEST(Session, MemoryRunningOutDuringACommitIsReportedAndTextsStayWhole) {
    Started s;
    s.session.commitEntry(1, 1, 1, "+2", s.err);
    s.session.commitEntry(1, 1, 2, "+[1,1]*sin(0)+1", s.err);
    const std::string dependent(s.session.cells().findCell(1, 2, 1, s.err)->textView());
    ExhaustedFunctions exhausted;
    s.session.formulas().evaluator().setDispatcher(&exhausted);
    for (const char* text : {"+3", "+sin(1)+5"}) {  // the dependent's call fails; then the entry's own
        const EntryCommit r = s.session.commitEntry(1, 1, 1, text, s.err);
        EXPECT_TRUE(r.stored) << text;
        EXPECT_EQ(s.err.failed() ? s.err.code : 0, 1) << text;
        EXPECT_EQ(s.session.cells().findCell(1, 2, 1, s.err)->textView(), dependent) << text;
    }
    s.session.formulas().evaluator().setDispatcher(&s.session.functions());
    s.session.commitEntry(1, 1, 1, "+sin(0)+2", s.err);
    EXPECT_FALSE(s.err.failed());
    EXPECT_EQ(s.session.evaluate("[1,2]", s.err), 1.0);
}

}  // namespace
}  // namespace qx
