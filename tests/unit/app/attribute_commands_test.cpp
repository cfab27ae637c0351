#include "app/attribute_commands.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "protect/protection.h"

namespace qx {
namespace {

struct Sheet {
    Sheet() : session(platform, SessionOptions{}) {
        EXPECT_TRUE(session.start(err));
        for (int row = 1; row <= 3; ++row) {
            for (int col = 1; col <= 3; ++col) session.commitEntry(1, row, col, "+1", err);
        }
        session.cells().levelPtr(1)->changed = false;
        session.scratch().repaintPending = false;
        EXPECT_TRUE(session.select(1, CellArea{2, 2, 3, 3}, err));
    }
    bool flagged(int row, int col, uint16_t flag) { return session.cells().findCell(row, col, 1, err)->has(flag); }
    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

// The marks go on the selected cells only, and the commands by name reach them as menus do.
TEST(AttributeCommands, CellMarksFollowTheSelection) {
    const struct {
        const char* on;
        const char* off;
        uint16_t flag;
    } cases[] = {{"Hide", "Unhide", cellflag::kHideDisplay}, {"Protect", "UnProt", cellflag::kProtectCell}};
    for (const auto& c : cases) {
        Sheet s;
        EXPECT_EQ(s.session.dispatch(c.on, s.err), CommandOutcome::Done) << c.on;
        EXPECT_TRUE(s.flagged(2, 2, c.flag) && s.flagged(3, 3, c.flag)) << c.on;
        EXPECT_FALSE(s.flagged(1, 1, c.flag) || s.flagged(1, 2, c.flag) || s.flagged(2, 1, c.flag)) << c.on;
        EXPECT_TRUE(s.session.cells().levelPtr(1)->changed) << c.on;
        EXPECT_TRUE(s.session.scratch().repaintPending) << c.on;
        EXPECT_EQ(s.session.dispatch(c.off, s.err), CommandOutcome::Done) << c.off;
        EXPECT_FALSE(s.flagged(2, 2, c.flag) || s.flagged(3, 3, c.flag)) << c.off;
    }
}

TEST(AttributeCommands, ALevelThatForbidsAttributeChangesKeepsEverything) {
    const AttributeChange changes[] = {AttributeChange::Hide, AttributeChange::Protect, AttributeChange::AddBorder,
                                       AttributeChange::AddBackground};
    for (AttributeChange change : changes) {
        Sheet s;
        setPermissionWord(s.session.protection(), 1, kPermissionReset & ~(1u << kActionAttributes));
        EXPECT_FALSE(s.session.changeAttributes(change, 0xFF));
        ASSERT_EQ(s.platform.boxes().size(), 1u);
        EXPECT_EQ(s.platform.boxes()[0].caption, "Protected Operation");
        const LevelRec& level = *s.session.cells().levelPtr(1);
        EXPECT_FALSE(level.changed);
        EXPECT_TRUE(level.colourRanges.empty() && level.borderRanges.empty());
        EXPECT_FALSE(s.flagged(2, 2, cellflag::kHideDisplay) || s.flagged(2, 2, cellflag::kProtectCell));
    }
}

// An entry typed over a protected cell is refused with the warning, by any front end; the cells
// beside it still take entries.
TEST(AttributeCommands, AProtectedCellRefusesEntries) {
    Sheet s;
    ASSERT_TRUE(s.session.changeAttributes(AttributeChange::Protect));
    EXPECT_FALSE(s.session.commitEntry(1, 2, 2, "+5", s.err).stored);
    EXPECT_FALSE(s.session.commitEntry(1, 2, 2, "=*<5", s.err).stored);
    ASSERT_EQ(s.platform.boxes().size(), 2u);
    EXPECT_EQ(s.platform.boxes()[0].caption, "WARNING");
    EXPECT_EQ(s.platform.boxes()[0].text, "This cell is protected. It cannot be edited.");
    EXPECT_EQ(s.session.evaluate("[2,2]", s.err), 1.0);
    EXPECT_TRUE(s.session.commitEntry(1, 1, 1, "+5", s.err).stored);
    EXPECT_EQ(s.session.evaluate("[1,1]", s.err), 5.0);
}

TEST(AttributeCommands, RangesCoverTheWholeSelectionAndComeOffAgain) {
    Sheet s;
    ASSERT_TRUE(s.session.select(1, CellArea{5, 5, 7, 8}, s.err));  // no cells there
    ASSERT_TRUE(s.session.changeAttributes(AttributeChange::AddBackground, 0xFF00FFFF));
    ASSERT_TRUE(s.session.changeAttributes(AttributeChange::AddBorder));
    const LevelRec& level = *s.session.cells().levelPtr(1);
    ASSERT_EQ(level.colourRanges.size(), 1u);
    EXPECT_EQ(level.colourRanges[0].colour, 0x00FFFFu) << "the top byte is no part of the colour";
    ASSERT_EQ(level.borderRanges.size(), 1u);
    EXPECT_TRUE(level.changed);
    EXPECT_EQ(s.session.dispatch("-BkColor", s.err), CommandOutcome::Done);
    EXPECT_EQ(s.session.dispatch("-Border", s.err), CommandOutcome::Done);
    EXPECT_TRUE(level.colourRanges.empty() && level.borderRanges.empty());
}

}  // namespace
}  // namespace qx
