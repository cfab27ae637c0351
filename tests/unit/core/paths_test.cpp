#include "core/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/messages.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

TEST(Paths, JoinNeverDoublesOrDropsTheSeparator) {
    const char* cases[][3] = {{"/home/u", "a.qx3", "/home/u/a.qx3"},
                              {"/home/u/", "/a.qx3", "/home/u/a.qx3"},
                              {"", "a.qx3", "a.qx3"},
                              {"/", "a.qx3", "/a.qx3"}};
    for (const auto& c : cases) EXPECT_EQ(joinPath(c[0], c[1]), c[2]) << c[0] << " + " << c[1];
}

TEST(Paths, SplitAcceptsEitherSeparator) {
    const char* cases[][3] = {{"/lib/x/math.slb", "/lib/x", "math.slb"},
                              {"/lib/x\\math.slb", "/lib/x", "math.slb"},
                              {"math.slb", "", "math.slb"},
                              {"/math.slb", "/", "math.slb"}};
    for (const auto& c : cases) {
        const SplitPath s = splitPath(c[0]);
        EXPECT_EQ(s.directory + "|" + s.name, std::string(c[1]) + "|" + c[2]) << c[0];
    }
}

// The system calls stop at a NUL, so "a.qx2<NUL>x.qx2" would reach them as "a.qx2".
TEST(Paths, ControlBytesAreRefusedAndEverythingElsePasses) {
    using namespace std::string_literals;
    const std::pair<std::string, bool> cases[] = {
        {"/home/u/a.qx2", true}, {"dir with blanks/\xe4\xf6.qx3", true},
        {"a~b\\c.qx2", true},    {"a.qx2\0x.qx2"s, false},
        {"\0"s, false},          {"a\nb.qx2", false},
        {"a\tb.qx2", false},     {"a\x1f.qx2", false},
        {"a\x7f.qx2", false},    {"/tmp/\rx.qx2", false},
    };
    for (const auto& [path, accepted] : cases) {
        ErrStat err;
        EXPECT_EQ(checkPathText(path, err), accepted) << path;
        EXPECT_EQ(err.failed(), !accepted) << path;
        EXPECT_EQ(err.code, accepted ? 0 : codeOf(Msg::IllegalString)) << path;
    }
}

TEST(Paths, ExistenceQuestionsSeeTheWholePath) {
    testing::TempDirectory dir;
    dir.write("a.qx2", "x");
    const std::string hidden = dir.file("a.qx2") + std::string("\0.qx3", 5);
    EXPECT_TRUE(pathExists(dir.file("a.qx2")));
    EXPECT_FALSE(pathExists(hidden));
    EXPECT_FALSE(isRegularFile(hidden));
}

}  // namespace
}  // namespace qx
