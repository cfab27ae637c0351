#include "core/app_globals.h"

#include <gtest/gtest.h>

#include "temp_directory.h"

namespace qx {
namespace {

TEST(AppGlobals, DefaultWorkbookNameTakesTheFirstFreeNumber) {
    const struct {
        int firstExisting, lastExisting;
        std::string expected;
    } cases[] = {{0, -1, "wkbk1"}, {1, 2, "wkbk3"}, {2, 2, "wkbk1"}, {1, 100, "wkbk101"}};
    for (const auto& c : cases) {
        testing::TempDirectory dir;
        for (int n = c.firstExisting; n <= c.lastExisting; ++n) dir.write("wkbk" + std::to_string(n) + ".qx3", "");
        dir.write("wkbk" + std::to_string(c.lastExisting + 1) + ".qx2", "");  // another extension does not count
        EXPECT_EQ(findDefaultWorkbookName(dir.path()), c.expected);
    }
}

TEST(AppGlobals, SettingsInitTakesItsDirectoriesFromTheCaller) {
    testing::TempDirectory start, docs, install;
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
