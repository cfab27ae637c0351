#include "app/transfer_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "protect/protection.h"

namespace qx {
namespace {

class TransferCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("qx_transfer_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        ErrStat err;
        ASSERT_TRUE(session.start(err));
        session.formulas().entry().storeEntry("+4", 1, 1, 1, EntryOptions{}, err);
        session.formulas().entry().storeEntry("'four", 1, 2, 1, EntryOptions{}, err);
        ASSERT_TRUE(session.select(1, CellArea{1, 1, 1, 2}, err));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string file(const std::string& name) {
        std::stringstream bytes;
        bytes << std::ifstream(dir / name, std::ios::binary).rdbuf();
        return bytes.str();
    }

    std::filesystem::path dir;
    HeadlessPlatform platform;
    Session session{platform, {}};
};

TEST_F(TransferCommands, MenuExportAsksForTheWidthAndTakesTheTypesExtension) {
    platform.queueFile((dir / "out").string());
    platform.queuePrompt("");
    ErrStat err;
    EXPECT_EQ(session.dispatch("Export", err), CommandOutcome::Done);
    EXPECT_EQ(file("out.txt"), "     4.00 four\n");
    ASSERT_TRUE(session.setActiveLevel(2, err));
    platform.queueFile((dir / "out.txt").string());
    EXPECT_EQ(session.dispatch("Import", err), CommandOutcome::Done);
    EXPECT_EQ(session.cells().findCell(1, 2, 2, err)->textView(), "four");
}

TEST_F(TransferCommands, ExportNeedsTheCopyPermissionAndImportTheAddPermission) {
    setPermissionWord(session.protection(), 1, kPermissionReset & ~(1u << kActionCopyExport));
    ErrStat err;
    EXPECT_TRUE(exportDocument(session, (dir / "x.csv").string(), 80, err));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
    EXPECT_EQ(platform.boxes().back().caption, "Protected Operation");
    std::ofstream(dir / "in.csv") << "9\n";
    setPermissionWord(session.protection(), 1, kPermissionReset & ~(1u << kActionAddCells));
    EXPECT_TRUE(session.moveTo(1, 3, 1, err));
    EXPECT_TRUE(importDocument(session, (dir / "in.csv").string(), err));
    EXPECT_EQ(session.cells().findCell(3, 1, 1, err), nullptr);
    EXPECT_EQ(platform.boxes().back().caption, "Protected Operation");
}

}  // namespace
}  // namespace qx
