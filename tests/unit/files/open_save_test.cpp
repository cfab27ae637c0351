#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/open_save.h"
#include "unit/core/temp_directory.h"
#include "unit/files/file_fixture.h"

namespace qx {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct FlowFixture {
    FlowFixture() : ctx(fx.context()), flow(ctx, app, workbook) {
        workbook.name = "wkbk1";
        workbook.directory = dir.path();
        for (int n = 1; n < fx.store.levelCount(); ++n) fx.store.levelPtr(n)->directory = dir.path();
        fx.platform.setNow(DateTime{2026, 12, 6});
    }
    const std::vector<RecordedBox>& boxes() { return fx.platform.boxes(); }
    bool asked(const std::string& caption) {
        for (const auto& b : boxes()) {
            if (b.caption == caption) return true;
        }
        return false;
    }

    testing::TempDirectory dir;
    test::FileFixture fx;
    FileContext ctx;
    AppGlobals app;
    WorkbookFileState workbook;
    FileFlow flow;
};

TEST(ExtensionTable, CodesIgnoreCaseAndStoredNamesTakeTheTableForm) {
    const struct {
        const char* name;
        int code;
        const char* stored;
    } cases[] = {
        {"a.qx2", 10, "a.qx2"}, {"DATA.QX2", 10, "DATA.qx2"}, {"b.Qx3", 11, "b.qx3"},    {"c.BCK", 8, "c.bck"},
        {"d.mtp", 15, "d.mtp"}, {"e.xyz", 0, "e.xyz"},        {"dir.x/f", 0, "dir.x/f"}, {"noext", 0, "noext"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(extensionCode(c.name), c.code) << c.name;
        EXPECT_EQ(storedName(c.name), c.stored) << c.name;
    }
}

// A save that fails part way must leave the file the user had exactly as it was.
TEST(SaveFile, FailedSaveLeavesThePreviousFileUntouched) {
    FlowFixture f;
    f.app.autoBackup = 1;
    f.fx.enter(1, 1, "first");
    ErrStat err;
    ASSERT_TRUE(f.flow.saveFile(1, f.dir.path(), "book.qx2", true, err));
    const std::string before = readAll(f.dir.file("book.qx2"));
    const std::string backup = readAll(f.dir.file("book.bck"));
    for (int row = 1; row <= 200; ++row) f.fx.enter(row, 2, "+" + std::to_string(row));
    f.flow.failWritesAfter = 1;
    EXPECT_FALSE(f.flow.saveFile(1, f.dir.path(), "book.qx2", true, err));
    EXPECT_EQ(err.code, filecode::kCannotSave);
    EXPECT_TRUE(f.asked("WARNING"));
    EXPECT_EQ(readAll(f.dir.file("book.qx2")), before);
    EXPECT_EQ(readAll(f.dir.file("book.bck")), backup);
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("book.qx2.part")));
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("book.bck.part")));
    EXPECT_TRUE(f.fx.store.levelPtr(1)->changed) << "a failed save leaves the level marked changed";
}

TEST(SaveFile, UnwritableDirectoryFailsWithoutTouchingTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    ErrStat err;
    ASSERT_TRUE(f.flow.saveFile(1, f.dir.path(), "one.qx2", false, err));
    const std::string before = readAll(f.dir.file("one.qx2"));
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    f.fx.enter(1, 1, "changed");
    EXPECT_FALSE(f.flow.saveFile(1, f.dir.path(), "one.qx2", false, err));
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(readAll(f.dir.file("one.qx2")), before);
}

TEST(SaveFile, BackupIsACopyAndRecentFilesKeepFive) {
    FlowFixture f;
    f.app.autoBackup = 1;
    f.fx.enter(1, 1, "+1");
    ErrStat err;
    for (int n = 1; n <= 7; ++n)
        ASSERT_TRUE(f.flow.saveFile(1, f.dir.path(), "s" + std::to_string(n) + ".qx2", true, err));
    EXPECT_EQ(readAll(f.dir.file("s7.bck")), readAll(f.dir.file("s7.qx2")));
    ASSERT_EQ(f.app.recentFiles.size(), kMaxRecentFiles);
    EXPECT_EQ(f.app.recentFiles.front(), f.dir.file("s7.qx2"));
    EXPECT_FALSE(f.fx.store.levelPtr(1)->changed);
    EXPECT_FALSE(f.flow.saveFile(1, f.dir.path(), "s.txt", false, err));
    EXPECT_EQ(err.code, filecode::kUnsupported);
}

TEST(LoadFile, UpperCaseExtensionOpensUnderItsRealName) {
    FlowFixture f;
    f.fx.enter(1, 1, "data");
    ErrStat err;
    ASSERT_TRUE(f.flow.saveFile(1, f.dir.path(), "DATA.qx2", false, err));
    std::filesystem::rename(f.dir.file("DATA.qx2"), f.dir.file("DATA.QX2"));
    ASSERT_TRUE(f.flow.openFile(2, true, f.dir.path(), "DATA.QX2", err)) << err.code;
    EXPECT_EQ(f.fx.cell(1, 1, 2)->textView(), "data");
    EXPECT_EQ(f.fx.store.levelPtr(2)->defaultFileName, "DATA.qx2");
}

TEST(LoadFile, DesignedFailures) {
    FlowFixture f;
    f.dir.write("empty.qx2", "");
    f.dir.write("junk.qx2", "not a native file at all");
    f.dir.write("old.qx1", "~~SV3.00");
    f.dir.write("note.abc", "x");
    const struct {
        const char* name;
        int code;
    } cases[] = {
        {"missing.qx2", filecode::kMissingOrEmpty}, {"empty.qx2", filecode::kMissingOrEmpty},
        {"junk.qx2", filecode::kCannotLoad},        {"old.qx1", filecode::kNotNative},
        {"note.abc", filecode::kCannotLoad},
    };
    for (const auto& c : cases) {
        ErrStat err;
        EXPECT_FALSE(f.flow.loadFile(1, f.dir.path(), c.name, err)) << c.name;
        EXPECT_EQ(err.code, c.code) << c.name;
    }
    f.fx.enter(1, 1, "x");
    f.dir.write("b.qx3", "x");
    ErrStat err;
    EXPECT_FALSE(f.flow.loadFile(1, f.dir.path(), "b.qx3", err));
    EXPECT_EQ(err.code, filecode::kWorkbookNotCleared);
}

TEST(LoadFile, BackupOnOpenReplacesTheOldOneOnlyAfterASuccessfulLoad) {
    FlowFixture f;
    f.app.autoBackup = 1;
    f.fx.enter(1, 1, "+1");
    f.fx.enter(1, 1, "second", 3);
    ErrStat err;
    ASSERT_TRUE(f.flow.saveFile(0, f.dir.path(), "w.qx3", false, err));
    const std::string good = readAll(f.dir.file("w.qx3"));
    ASSERT_FALSE(f.flow.clear(0, false, err));
    ASSERT_TRUE(f.flow.openFile(1, true, f.dir.path(), "w.qx3", err));
    EXPECT_EQ(readAll(f.dir.file("w.bck")), good);
    // A damaged file does not load, and the good backup stays.
    f.flow.clear(0, false, err);
    f.dir.write("w.qx3", good.substr(0, 300));
    EXPECT_FALSE(f.flow.openFile(1, true, f.dir.path(), "w.qx3", err));
    EXPECT_EQ(readAll(f.dir.file("w.bck")), good);
    // The backup of a workbook loads whole.
    f.flow.clear(0, false, err);
    ASSERT_TRUE(f.flow.openFile(1, true, f.dir.path(), "w.bck", err)) << err.code;
    EXPECT_EQ(f.fx.cell(1, 1, 3)->textView(), "second");
    EXPECT_EQ(f.workbook.name, "w");
}

TEST(OpenFlow, QuestionsBeforeReplacingData) {
    FlowFixture f;
    f.fx.enter(1, 1, "mine");
    ErrStat err;
    ASSERT_TRUE(f.flow.saveFile(0, f.dir.path(), "book.qx3", false, err));
    f.workbook.name = "book";
    // The very file the workbook came from: warned, nothing changes.
    EXPECT_FALSE(f.flow.openFile(1, true, f.dir.path(), "book.qx3", err));
    EXPECT_TRUE(f.asked("WARNING!"));
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "mine");
    // Another level file over data: Cancel stops, No replaces.
    ASSERT_TRUE(f.flow.saveFile(1, f.dir.path(), "other.qx2", false, err));
    f.fx.enter(1, 1, "newer");
    f.fx.platform.queueAnswer(PolicyAnswer::Cancel);
    EXPECT_FALSE(f.flow.openFile(1, true, f.dir.path(), "other.qx2", err));
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "newer");
    // A name that is not there never clears the data.
    EXPECT_FALSE(f.flow.openFile(1, true, f.dir.path(), "typo.qx2", err));
    EXPECT_EQ(err.code, filecode::kMissingOrEmpty);
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "newer");
    f.fx.platform.queueAnswer(PolicyAnswer::No);
    EXPECT_TRUE(f.flow.openFile(1, true, f.dir.path(), "other.qx2", err));
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "mine");
    EXPECT_EQ(f.fx.store.levelPtr(2)->directory, f.dir.path()) << "empty levels take the directory";
}

TEST(SaveCommand, AsksBeforeReplacingAFileThisWorkbookNeverUsed) {
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    f.dir.write("wkbk1.qx3", "someone else's");
    f.fx.platform.setPolicy(PolicyAnswer::No);
    ErrStat err;
    EXPECT_FALSE(f.flow.saveWorkbookCommand(err));
    EXPECT_TRUE(f.asked("This File Already Exists!"));
    EXPECT_EQ(readAll(f.dir.file("wkbk1.qx3")), "someone else's");
    f.fx.platform.setPolicy(PolicyAnswer::Yes);
    EXPECT_TRUE(f.flow.saveWorkbookCommand(err));
    f.fx.platform.clearBoxes();
    EXPECT_TRUE(f.flow.saveWorkbookCommand(err));
    EXPECT_FALSE(f.asked("This File Already Exists!")) << "saved to it already";
    f.flow.clear(0, false, err);
    EXPECT_FALSE(f.flow.saveWorkbookCommand(err));
    EXPECT_TRUE(f.asked("WARNING"));
}

TEST(Clear, SavePromptAndNewWorkbookName) {
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    f.fx.protection.setFlags(1, 2);
    f.fx.platform.queueAnswer(PolicyAnswer::Cancel);
    ErrStat err;
    EXPECT_TRUE(f.flow.clear(1, true, err));
    EXPECT_FALSE(f.fx.store.levelEmpty(1));
    f.fx.platform.queueAnswer(PolicyAnswer::No);
    EXPECT_FALSE(f.flow.clear(1, true, err));
    EXPECT_TRUE(f.fx.store.levelEmpty(1));
    EXPECT_EQ(f.fx.protection.flags(1), kDefaultProtectionFlags);
    f.dir.write("wkbk1.qx3", "x");
    f.dir.write("wkbk2.qx3", "x");
    EXPECT_FALSE(f.flow.clear(0, true, err));
    EXPECT_EQ(f.workbook.name, "wkbk3");
}

TEST(Rename, NamesAreCheckedAndCut) {
    FlowFixture f;
    EXPECT_TRUE(f.flow.rename(0, "  " + std::string(40, 'n') + "  "));
    EXPECT_EQ(f.workbook.name, std::string(32, 'n'));
    EXPECT_TRUE(f.flow.rename(2, "survey"));
    EXPECT_EQ(f.fx.store.levelPtr(2)->defaultFileName, "survey.qx2");
    EXPECT_FALSE(f.flow.rename(2, "a/b"));
    EXPECT_TRUE(f.asked("Illegal Character"));
    EXPECT_FALSE(f.flow.rename(2, "   "));
    EXPECT_TRUE(f.asked("Warning"));
    EXPECT_EQ(f.fx.store.levelPtr(2)->defaultFileName, "survey.qx2");
}

}  // namespace
}  // namespace qx
