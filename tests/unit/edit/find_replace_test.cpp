#include "edit/find_replace.h"

#include <gtest/gtest.h>

#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

TEST(FindReplace, ReplacedEntryKeepsTheTypeAndItsLimits) {
    const std::string longFormula = "+1+" + std::string(247, '2') + "1";
    const struct {
        const char* name;
        std::string typed, find, with;
        std::optional<std::string> entry;
        int code;
    } cases[] = {
        {"every occurrence, the address too", "+[1,1]+1", "1", "2", "+[2,2]+2", 0},
        {"a formula starting with a digit gets no prefix", "1+2", "2", "3", "1+3", 0},
        {"a label's own apostrophe stays", "''x", "x", "y", "''y", 0},
        {"inserted text is not scanned again", "'aa", "a", "aa", "'aaaa", 0},
        {"nothing found", "'abc", "x", "y", std::nullopt, 0},
        {"the same text changes nothing", "'abc", "b", "b", std::nullopt, 0},
        {"too long a formula", longFormula, "1", std::string(20, 'x'), std::nullopt, 10},
        {"too long a label", "'" + std::string(250, 'a'), "a", "bb", std::nullopt, 10},
    };
    for (const auto& c : cases) {
        test::LayoutFixture f;
        f.enter(1, 1, c.typed);
        ErrStat err;
        EXPECT_EQ(replacedEntry(f.store, *f.cell(1, 1), c.find, c.with, err), c.entry) << c.name;
        EXPECT_EQ(err.failed() ? err.savedCode : 0, c.code) << c.name;
    }
}

TEST(FindReplace, TagsAreSearchedInsteadOfFormulas) {
    test::LayoutFixture f;
    f.fill({{1, 1, "'start"}, {2, 1, "+1"}, {3, 1, "+2"}});
    ErrStat err;
    f.store.setTag(f.cell(3, 1), "note 1", err);
    FindOptions tags{FindCells::Tags};
    const FoundCell hit = findCell(f.store, 1, 1, 1, tags, "1");
    EXPECT_EQ((std::array{hit.row, hit.col}), (std::array{3, 1}));
    EXPECT_FALSE(findCell(f.store, 1, 3, 1, tags, "1").found) << "the start is not tested";
    // Texts of 260 characters and more are never found; only stored texts grow that long.
    const EntryOptions stored{NotifyMode::None, true, false, true};
    f.enter(5, 1, "'" + std::string(259, 'x'), 1, stored);
    f.enter(6, 1, "'" + std::string(260, 'y'), 1, stored);
    EXPECT_TRUE(findCell(f.store, 1, 1, 1, FindOptions{}, "x").found);
    EXPECT_FALSE(findCell(f.store, 1, 1, 1, FindOptions{}, "y").found);
}

}  // namespace
}  // namespace qx
