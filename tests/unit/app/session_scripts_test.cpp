#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "unit/core/temp_directory.h"
#include "unit/script/library_builder.h"

namespace qx::library_test {

struct ScriptSession {
    explicit ScriptSession(SessionOptions options) : session(platform, std::move(options)) {
        EXPECT_TRUE(session.start(err));
    }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const auto& s : session.libraries().scripts()) out.push_back(s.name);
        return out;
    }
    HeadlessPlatform platform;
    Session session;
    ErrStat err;
};

std::string settingsBytes(const std::string& records) {
    std::string out = "~~C{3.00}" + records;
    out.append(255 - out.size() % 255, '~');
    return out;
}

TEST(SessionScripts, SettingsAttachLibrariesAndSizeTheSwapAreaAndAreWrittenBack) {
    testing::TempDirectory dir;
    dir.write("a.slb", libraryBytes({{"fa"}}));
    dir.write("b.slb", libraryBytes({{"fb"}}));
    SessionOptions options;
    options.settingsPath = dir.file("Quorix.ini");
    dir.write("Quorix.ini", settingsBytes("~~L{" + dir.path() + "\\a.slb}~~L{" + dir.path() + "\\gone.slb}~~S{4000}"));
    {
        ScriptSession s(options);
        EXPECT_EQ(s.names(), std::vector<std::string>{"fa"});
        EXPECT_EQ(s.session.libraries().swapArea().size(), kSwapAreaMin);
        ASSERT_EQ(s.session.attachLibrary(dir.file("b"), s.err), 1);
        ASSERT_TRUE(s.session.libraries().resizeSwapArea(200000, s.err));
        ASSERT_TRUE(s.session.finish(s.err));
    }
    std::ostringstream written;
    written << std::ifstream(*options.settingsPath, std::ios::binary).rdbuf();
    const std::string canonical = std::filesystem::canonical(dir.path()).string();
    EXPECT_NE(written.str().find("~~L{" + canonical + "\\a.slb}~~L{" + canonical + "\\b.slb}"), std::string::npos);
    EXPECT_EQ(written.str().find("gone"), std::string::npos);
    EXPECT_NE(written.str().find("~~S{131072}"), std::string::npos);

    ScriptSession again(options);
    EXPECT_EQ(again.names(), (std::vector<std::string>{"fa", "fb"}));
    EXPECT_EQ(again.session.libraries().swapArea().size(), kSwapAreaMax);
    EXPECT_TRUE(again.session.detachLibrary("a", again.err));
    EXPECT_FALSE(again.session.detachLibrary("a", again.err));
    EXPECT_EQ(again.names(), std::vector<std::string>{"fb"});
}

}  // namespace qx::library_test
