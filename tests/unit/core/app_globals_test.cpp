#include "core/app_globals.h"

#include <gtest/gtest.h>

#include <set>

#include "core/scratch_record.h"
#include "temp_directory.h"

namespace qx {
namespace {

TEST(AppGlobals, LevelCountIsClampedToTwoThroughThirtyThree) {
    const struct {
        int requested;
        int expected;
    } cases[] = {{1, 2}, {0, 2}, {-7, 2}, {2, 2}, {17, 17}, {33, 33}, {34, 33}, {40, 33}};
    for (const auto& c : cases) EXPECT_EQ(clampLevelCount(c.requested), c.expected) << c.requested;
    EXPECT_EQ(clampLevelCount(kStartupLevelCount), 33);
}

TEST(AppGlobals, SwapAreaSizeIsClamped) {
    const struct {
        int64_t requested;
        int32_t expected;
    } cases[] = {{4000, 8192},     {8192, 8192},     {8193, 8193}, {32768, 32768},
                 {131072, 131072}, {200000, 131072}, {-1, 8192},   {int64_t{1} << 40, 131072}};
    for (const auto& c : cases) EXPECT_EQ(clampSwapAreaSize(c.requested), c.expected) << c.requested;
}

TEST(AppGlobals, StartsWithTheWorkbookDefaultsAndBlankFunctionKeys) {
    const AppGlobals app;
    EXPECT_EQ(app.defaults.fontSize, 10);
    EXPECT_EQ(app.defaults.level.precision, 2);
    EXPECT_EQ(app.defaults.level.gridColour, 8);
    EXPECT_EQ(app.defaults.level.background, 0xFFFFFFu);
    const ViewSwitches& v = app.view;
    EXPECT_TRUE(v.editBar == 1 && v.buttonBar == 1 && v.columnBar == 1 && v.rowBar == 1 && v.statusBar == 1 &&
                v.comments == 1);
    EXPECT_EQ(app.modeName, "Standard mode");
    const ScratchRecord scratch;
    for (const auto& label : scratch.functionKeyLabels) EXPECT_EQ(label, "       ");
    EXPECT_EQ(scratch.swapAreaSize, 32768);
}

TEST(AppGlobals, FixedTablesKeepTheirIndexes) {
    EXPECT_EQ(kTextColours[7].name, "Gray");
    EXPECT_EQ(kTextColours[9].value, 0x0000FFu);  // Red in 0x00BBGGRR
    EXPECT_EQ(kTextColours[12].value, 0xFF0000u);
    EXPECT_EQ(kBackgroundColours[13], 0x60FFB2u);
    EXPECT_EQ(kAppFontNames[0], "Arial");
    EXPECT_EQ(kAppFontNames[25], "Misrosoft Scans Serif");
    EXPECT_EQ(kAppFontNames[33], "Vendana");
    std::set<std::string_view> unique(kAppFontNames.begin(), kAppFontNames.end());
    EXPECT_EQ(unique.size(), kAppFontNames.size());
    for (auto name : kAppFontNames) EXPECT_LE(name.size(), static_cast<size_t>(kMaxFontNameLength)) << name;
}

TEST(AppGlobals, DefaultWorkbookNameTakesTheFirstFreeNumber) {
    const struct {
        std::vector<int> existing;
        std::string expected;
    } cases[] = {{{}, "wkbk1"}, {{1, 2}, "wkbk3"}, {{1, 3}, "wkbk2"}, {{2}, "wkbk1"}};
    for (const auto& c : cases) {
        testing::TempDirectory dir;
        for (int n : c.existing) dir.write("wkbk" + std::to_string(n) + ".qx3", "x");
        EXPECT_EQ(findDefaultWorkbookName(dir.path()), c.expected);
    }
}

TEST(AppGlobals, DefaultWorkbookNameGoesPastNinetyNine) {
    testing::TempDirectory dir;
    for (int n = 1; n <= 100; ++n) dir.write("wkbk" + std::to_string(n) + ".qx3", "");
    dir.write("wkbk101.qx2", "");  // another extension does not count
    EXPECT_EQ(findDefaultWorkbookName(dir.path()), "wkbk101");
}

TEST(AppGlobals, SettingsInitTakesItsDirectoriesFromTheCaller) {
    testing::TempDirectory start;
    testing::TempDirectory docs;
    testing::TempDirectory install;
    docs.write("wkbk1.qx3", "");
    AppGlobals app;
    settingsInit(app, {start.path(), docs.path(), install.path()});
    EXPECT_EQ(app.defaultDocumentDirectory, docs.path());
    EXPECT_EQ(app.defaultWorkbookName, "wkbk2");
    EXPECT_EQ(app.helpFilePath, start.file("Quorix.hlp"));

    install.write("Quorix.hlp", "help");
    settingsInit(app, {start.path(), "", install.path()});
    EXPECT_EQ(app.defaultDocumentDirectory, start.path());
    EXPECT_EQ(app.helpFilePath, install.file("Quorix.hlp"));
}

TEST(AppGlobals, RecentFileMovesToTheFront) {
    AppGlobals app;
    for (const char* p : {"/a.qx3", "/b.qx3", "/a.qx3"}) app.addRecentFile(p);
    EXPECT_EQ(app.recentFiles, (std::vector<std::string>{"/a.qx3", "/b.qx3"}));
}

}  // namespace
}  // namespace qx
