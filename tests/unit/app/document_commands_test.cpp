#include "app/document_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/session.h"
#include "platform/headless_platform.h"

namespace qx {
namespace {

TEST(SaveAsName, FollowsTheSelectedType) {
    struct Case {
        const char* typed;
        const char* pattern;
        const char* path;     // empty: refused
        const char* caption;  // the refusal's caption
    };
    const Case cases[] = {
        {"/d/book", "*.qx3", "/d/book.qx3", ""},
        {"/d/book.qx3", "*.qx3", "/d/book.qx3", ""},
        {"/d/BOOK.QX3", "*.qx3", "/d/BOOK.QX3", ""},
        {"/d/sheet", "*.qx2", "/d/sheet.qx2", ""},
        {"/d/notes.txt", "*.qx3", "", "WARNING - Mismatched file extensions"},
        {"/d/sheet.qx2", "*.qx3", "", "WARNING - Mismatched file extensions"},
        {"/d/any.name", "*.*", "/d/any.name", ""},
        {"  /d/book  ", "*.qx3", "/d/book.qx3", ""},
        {"/d/a?b", "*.qx3", "", "Illegal Character In File Name"},
        {"/d/a|b.qx3", "*.qx3", "", "Illegal Character In File Name"},
        {"/d/", "*.qx3", "", "Illegal Character In File Name"},
    };
    for (const Case& c : cases) {
        const SaveAsCheck check = checkSaveAsName(c.typed, c.pattern);
        EXPECT_EQ(check.path, c.path) << c.typed;
        EXPECT_EQ(check.caption, c.caption) << c.typed;
    }
    EXPECT_EQ(checkSaveAsName("/d/x.txt", "*.qx3").text,
              "Files can only be saved using the extension selected in the \"Save as type\" window, which is currently "
              "*.qx3.  (Note: This extension is automatically appended to file names that lack an extension.)");
}

class DocumentCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("qx_doc_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        SessionOptions options;
        options.directories.startDirectory = dir.string();
        session = std::make_unique<Session>(platform, options);
        ErrStat err;
        ASSERT_TRUE(session->start(err));
        session->formulas().entry().storeEntry("kept", 1, 1, 1, EntryOptions{}, err);
        ASSERT_FALSE(err.failed());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    HeadlessPlatform platform;
    std::unique_ptr<Session> session;
};

TEST_F(DocumentCommands, SaveAsShowsTheDialogAgainAfterAMismatch) {
    platform.queueFile((dir / "book.txt").string());
    platform.queueFile((dir / "book").string());
    ErrStat err;
    EXPECT_EQ(session->dispatch("SaveAsWb", err), CommandOutcome::Done);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].caption, "WARNING - Mismatched file extensions");
    EXPECT_TRUE(std::filesystem::exists(dir / "book.qx3"));

    // The worksheet entry preselects the worksheet type; an existing file is asked about first.
    platform.clearBoxes();
    platform.queueFile((dir / "book").string());
    platform.queueAnswer(PolicyAnswer::Cancel);
    EXPECT_EQ(session->dispatch("SaveAsWs", err), CommandOutcome::Done);
    EXPECT_TRUE(std::filesystem::exists(dir / "book.qx2"));
    EXPECT_TRUE(platform.boxes().empty());
    platform.queueFile((dir / "book").string());
    platform.queueAnswer(PolicyAnswer::Cancel);
    session->dispatch("SaveAsWs", err);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].caption, "This File Already Exists!");
}

TEST_F(DocumentCommands, OpenRunsTheOpenFlowOnTheActiveLevel) {
    ErrStat err;
    platform.queueFile((dir / "sheet").string());
    session->dispatch("SaveAsWs", err);
    ASSERT_TRUE(std::filesystem::exists(dir / "sheet.qx2"));
    session->files().clear(1, false, err);
    ASSERT_TRUE(session->cells().levelEmpty(1));
    platform.queueFile((dir / "sheet.qx2").string());
    EXPECT_EQ(session->dispatch("Open", err), CommandOutcome::Done);
    EXPECT_NE(session->cells().findCell(1, 1, 1, err), nullptr);
    // A cancelled dialog changes nothing.
    EXPECT_EQ(session->dispatch("Open", err), CommandOutcome::Done);
    EXPECT_FALSE(err.failed());
}

}  // namespace
}  // namespace qx
