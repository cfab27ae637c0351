#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "core/err_report.h"
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
    bool save(int level, const std::string& name, bool backup = false) {
        return flow.saveFile(level, dir.path(), name, backup, err);
    }
    bool open(int level, const std::string& name) { return flow.openFile(level, true, dir.path(), name, err); }
    std::string read(const std::string& name) { return readAll(dir.file(name)); }
    bool asked(const std::string& caption) {
        for (const auto& b : fx.platform.boxes())
            if (b.caption == caption) return true;
        return false;
    }

    testing::TempDirectory dir;
    test::FileFixture fx;
    FileContext ctx;
    AppGlobals app;
    WorkbookFileState workbook;
    FileFlow flow;
    ErrStat err;
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
    ASSERT_TRUE(f.save(1, "book.qx2", true));
    const std::string before = f.read("book.qx2");
    const std::string backup = f.read("book.bck");
    for (int row = 1; row <= 200; ++row) f.fx.enter(row, 2, "+" + std::to_string(row));
    f.flow.failWritesAfter = 1;
    EXPECT_FALSE(f.save(1, "book.qx2", true));
    EXPECT_EQ(f.err.code, Msg::CannotSaveWorksheet);
    EXPECT_TRUE(f.asked("WARNING"));
    EXPECT_EQ(f.read("book.qx2"), before);
    EXPECT_EQ(f.read("book.bck"), backup);
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("book.qx2.part")));
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("book.bck.part")));
    EXPECT_TRUE(f.fx.store.levelPtr(1)->changed) << "a failed save leaves the level marked changed";
}

TEST(SaveFile, UnwritableDirectoryFailsWithoutTouchingTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    ASSERT_TRUE(f.save(1, "one.qx2"));
    const std::string before = f.read("one.qx2");
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    f.fx.enter(1, 1, "changed");
    EXPECT_FALSE(f.save(1, "one.qx2"));
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(f.read("one.qx2"), before);
}

TEST(SaveFile, BackupIsACopyAndRecentFilesKeepFive) {
    FlowFixture f;
    f.app.autoBackup = 1;
    f.fx.enter(1, 1, "+1");
    for (int n = 1; n <= 7; ++n) ASSERT_TRUE(f.save(1, "s" + std::to_string(n) + ".qx2", true));
    EXPECT_EQ(f.read("s7.bck"), f.read("s7.qx2"));
    ASSERT_EQ(f.app.recentFiles.size(), kMaxRecentFiles);
    EXPECT_EQ(f.app.recentFiles.front(), f.dir.file("s7.qx2"));
    EXPECT_FALSE(f.fx.store.levelPtr(1)->changed);
}

TEST(LoadFile, UpperCaseExtensionOpensUnderItsRealName) {
    FlowFixture f;
    f.fx.enter(1, 1, "data");
    ASSERT_TRUE(f.save(1, "DATA.qx2"));
    std::filesystem::rename(f.dir.file("DATA.qx2"), f.dir.file("DATA.QX2"));
    ASSERT_TRUE(f.open(2, "DATA.QX2")) << f.err.code;
    EXPECT_EQ(f.fx.cell(1, 1, 2)->textView(), "data");
    EXPECT_EQ(f.fx.store.levelPtr(2)->defaultFileName, "DATA.qx2");
}

TEST(LoadFile, DesignedFailures) {
    FlowFixture f;
    f.dir.write("empty.qx2", "");
    f.dir.write("junk.qx2", "not a native file at all");
    f.dir.write("old.qx1", "~~SV3.00");
    f.dir.write("note.abc", "x");
    const std::pair<const char*, Msg> cases[] = {
        {"missing.qx2", Msg::FileMissingOrEmpty}, {"empty.qx2", Msg::FileMissingOrEmpty},
        {"junk.qx2", Msg::CannotLoadFile},        {"old.qx1", Msg::NotNative},
        {"note.abc", Msg::CannotLoadFile},
    };
    for (const auto& [name, code] : cases) {
        f.err = ErrStat{};
        EXPECT_FALSE(f.flow.loadFile(1, f.dir.path(), name, f.err)) << name;
        EXPECT_EQ(f.err.code, code) << name;
    }
    f.fx.enter(1, 1, "x");
    f.dir.write("b.qx3", "x");
    EXPECT_FALSE(f.flow.loadFile(1, f.dir.path(), "b.qx3", f.err));
    EXPECT_EQ(f.err.code, Msg::WorkbookNotCleared);
}

TEST(LoadFile, BackupOnOpenReplacesTheOldOneOnlyAfterASuccessfulLoad) {
    FlowFixture f;
    f.app.autoBackup = 1;
    f.fx.enter(1, 1, "+1");
    f.fx.enter(1, 1, "second", 3);
    ASSERT_TRUE(f.save(0, "w.qx3"));
    const std::string good = f.read("w.qx3");
    ASSERT_FALSE(f.flow.clear(0, false, f.err));
    ASSERT_TRUE(f.open(1, "w.qx3"));
    EXPECT_EQ(f.read("w.bck"), good);
    // A damaged file does not load, and the good backup stays.
    f.flow.clear(0, false, f.err);
    f.dir.write("w.qx3", good.substr(0, 300));
    EXPECT_FALSE(f.open(1, "w.qx3"));
    EXPECT_EQ(f.read("w.bck"), good);
    // The backup of a workbook loads whole.
    f.flow.clear(0, false, f.err);
    ASSERT_TRUE(f.open(1, "w.bck")) << f.err.code;
    EXPECT_EQ(f.fx.cell(1, 1, 3)->textView(), "second");
    EXPECT_EQ(f.workbook.name, "w");
}

TEST(OpenFlow, QuestionsBeforeReplacingData) {
    FlowFixture f;
    f.fx.enter(1, 1, "mine");
    // Another level file over data: Cancel stops, No replaces.
    ASSERT_TRUE(f.save(1, "other.qx2"));
    f.fx.enter(1, 1, "newer");
    f.fx.platform.queueAnswer(PolicyAnswer::Cancel);
    EXPECT_FALSE(f.open(1, "other.qx2"));
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "newer");
    // A name that is not there never clears the data.
    EXPECT_FALSE(f.open(1, "typo.qx2"));
    EXPECT_EQ(f.err.code, Msg::FileMissingOrEmpty);
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "newer");
    f.fx.platform.queueAnswer(PolicyAnswer::No);
    EXPECT_TRUE(f.open(1, "other.qx2"));
    EXPECT_EQ(f.fx.cell(1, 1)->textView(), "mine");
    EXPECT_EQ(f.fx.store.levelPtr(2)->directory, f.dir.path()) << "empty levels take the directory";
}

TEST(SaveCommand, AsksBeforeReplacingAFileThisWorkbookNeverUsed) {
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    f.dir.write("wkbk1.qx3", "someone else's");
    f.fx.platform.setPolicy(PolicyAnswer::No);
    EXPECT_FALSE(f.flow.saveWorkbookCommand(f.err));
    EXPECT_TRUE(f.asked("This File Already Exists!"));
    EXPECT_EQ(f.read("wkbk1.qx3"), "someone else's");
    f.fx.platform.setPolicy(PolicyAnswer::Yes);
    EXPECT_TRUE(f.flow.saveWorkbookCommand(f.err));
    f.fx.platform.clearBoxes();
    EXPECT_TRUE(f.flow.saveWorkbookCommand(f.err));
    EXPECT_FALSE(f.asked("This File Already Exists!")) << "saved to it already";
    f.flow.clear(0, false, f.err);
    EXPECT_FALSE(f.flow.saveWorkbookCommand(f.err));
    EXPECT_TRUE(f.asked("WARNING"));
}

TEST(Clear, SavePromptAndNewWorkbookName) {
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    f.fx.protection.setFlags(1, 2);
    f.fx.platform.queueAnswer(PolicyAnswer::Cancel);
    EXPECT_TRUE(f.flow.clear(1, true, f.err));
    EXPECT_FALSE(f.fx.store.levelEmpty(1));
    f.fx.platform.queueAnswer(PolicyAnswer::No);
    EXPECT_FALSE(f.flow.clear(1, true, f.err));
    EXPECT_TRUE(f.fx.store.levelEmpty(1));
    EXPECT_EQ(f.fx.protection.flags(1), kDefaultProtectionFlags);
    f.dir.write("wkbk1.qx3", "x");
    f.dir.write("wkbk2.qx3", "x");
    EXPECT_FALSE(f.flow.clear(0, true, f.err));
    EXPECT_EQ(f.workbook.name, "wkbk3");
}

std::set<std::string> filesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

// The system calls stop at a NUL: "a.qx2<NUL>x.qx2" would be saved into a.qx2 itself, with a.qx2 as
// its own temporary file. Every such path is refused before any question, file or cell is touched.
TEST(HostilePath, RefusedBeforeAnythingIsTouched) {
    using namespace std::string_literals;
    FlowFixture f;
    f.fx.enter(1, 1, "kept");
    ASSERT_TRUE(f.save(1, "a.qx2"));
    ASSERT_TRUE(f.save(0, "a.qx3"));
    const std::string level = f.read("a.qx2");
    const std::string book = f.read("a.qx3");
    const auto files = filesIn(f.dir.path());
    f.fx.enter(1, 1, "newer");
    const std::string d = f.dir.path();
    const struct {
        const char* what;
        std::function<bool()> run;
    } cases[] = {
        {"save level", [&] { return f.save(1, "a.qx2\0x.qx2"s); }},
        {"save workbook", [&] { return f.save(0, "a.qx3\0x.qx3"s); }},
        {"save control byte", [&] { return f.save(1, "a\x01.qx2"); }},
        {"save prompt", [&] { return f.flow.savePrompt(1, true, d, "a.qx2\0.qx2"s, f.err) || !f.err.failed(); }},
        {"open level", [&] { return f.open(1, "a.qx2\0x.qx2"s); }},
        {"open workbook", [&] { return f.open(1, "a.qx3\0x.qx3"s); }},
        {"open from directory", [&] { return f.flow.openFile(1, true, d + "\x7f", "a.qx2", f.err); }},
        {"load", [&] { return f.flow.loadFile(2, d, "a.qx2\0x.qx2"s, f.err); }},
    };
    for (const auto& c : cases) {
        f.err = ErrStat{};
        f.fx.platform.clearBoxes();
        EXPECT_FALSE(c.run()) << c.what;
        EXPECT_EQ(f.err.code, 64) << c.what;
        EXPECT_TRUE(f.fx.platform.boxes().empty()) << c.what;
        EXPECT_EQ(f.read("a.qx2"), level) << c.what;
        EXPECT_EQ(f.read("a.qx3"), book) << c.what;
        EXPECT_EQ(filesIn(d), files) << c.what;
        EXPECT_EQ(f.fx.cell(1, 1)->textView(), "newer") << c.what;
        EXPECT_TRUE(f.fx.store.levelEmpty(2)) << c.what;
    }
}

TEST(LoadFile, AFileThatIsNotOursSaysSoRatherThanIoError) {
    FlowFixture f;
    std::mt19937 rng(17);
    std::string noise;
    for (int n = 0; n < 600; ++n) noise.push_back(static_cast<char>(rng()));
    f.dir.write("noise.qx3", noise);
    f.dir.write("words.qx2", "just some words, not a worksheet");
    for (const char* name : {"noise.qx3", "words.qx2"}) {
        EXPECT_FALSE(f.open(1, name));
        ScratchRecord scratch;
        const std::string shown = oneLine(true, f.err, scratch);
        EXPECT_NE(shown.find("Illegal or unsupported file type"), std::string::npos) << shown;
    }
}

// Another program in the middle of a save: it holds `path` as its temporary file until killed.
class SecondWriter {
  public:
    explicit SecondWriter(const std::string& path) {
        int ready[2];
        if (pipe(ready) != 0 || pipe(m_hold) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            close(m_hold[1]);
            FileBlockSink sink;
            ErrStat err;
            char answer = sink.create(path, err) && sink.writeAt(0, "half a file") && sink.flush() ? 'y' : 'n';
            if (write(ready[1], &answer, 1) != 1) _exit(1);
            while (read(m_hold[0], &answer, 1) > 0) {
            }
            _exit(0);
        }
        close(ready[1]);
        close(m_hold[0]);
        char answer = 0;
        m_started = m_pid > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
        close(ready[0]);
    }
    ~SecondWriter() {
        kill();
        close(m_hold[1]);
    }
    SecondWriter(const SecondWriter&) = delete;
    SecondWriter& operator=(const SecondWriter&) = delete;

    bool started() const { return m_started; }
    void kill() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

  private:
    pid_t m_pid = -1;
    int m_hold[2] = {-1, -1};
    bool m_started = false;
};

// A killed save leaves NAME.part behind: opening or saving NAME removes it, unless a running writer holds it.
TEST(Leftovers, PartFileOfAGoneWriterIsRemovedAndOneBeingWrittenKept) {
    FlowFixture f;
    f.fx.enter(1, 1, "x");
    ASSERT_TRUE(f.save(1, "b.qx2"));
    const std::string saved = f.read("b.qx2");
    const std::string part = f.dir.file("b.qx2.part");
    SecondWriter other(part);
    ASSERT_TRUE(other.started());
    f.flow.clear(1, false, f.err);
    ASSERT_TRUE(f.open(1, "b.qx2"));
    EXPECT_EQ(f.read("b.qx2.part"), "half a file");
    // Saving under that name would cut the other program's file short under it.
    f.fx.enter(1, 1, "y");
    EXPECT_FALSE(f.save(1, "b.qx2"));
    EXPECT_TRUE(f.err.is(Msg::CannotSaveWorksheet));
    EXPECT_EQ(f.read("b.qx2"), saved);
    EXPECT_EQ(f.read("b.qx2.part"), "half a file");

    other.kill();
    f.flow.clear(1, false, f.err);
    ASSERT_TRUE(f.open(1, "b.qx2"));
    EXPECT_FALSE(std::filesystem::exists(part)) << "removed on open";
    f.dir.write("b.qx2.part", "left by a crash");
    f.dir.write("c.qx2.part", "left by a crash");
    EXPECT_FALSE(f.save(2, "c.qx2")) << "an empty level is not saved";
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("c.qx2.part"))) << "removed on save";
    ASSERT_TRUE(f.save(1, "b.qx2"));
    EXPECT_EQ(filesIn(f.dir.path()), (std::set<std::string>{"b.qx2"}));
}

// Illegal characters and blank names are covered by the command-line transcripts.
TEST(Rename, LongNamesAreTrimmedAndCut) {
    FlowFixture f;
    EXPECT_TRUE(f.flow.rename(0, "  " + std::string(40, 'n') + "  "));
    EXPECT_EQ(f.workbook.name, std::string(32, 'n'));
    EXPECT_TRUE(f.flow.rename(2, "survey"));
    EXPECT_EQ(f.fx.store.levelPtr(2)->defaultFileName, "survey.qx2");
}

}  // namespace
}  // namespace qx
