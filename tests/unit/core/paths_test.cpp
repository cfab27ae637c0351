#include "core/paths.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Paths, JoinNeverDoublesOrDropsTheSeparator) {
    const struct {
        const char* dir;
        const char* name;
        const char* expected;
    } cases[] = {{"/home/u", "a.qx3", "/home/u/a.qx3"},
                 {"/home/u/", "a.qx3", "/home/u/a.qx3"},
                 {"/home/u/", "/a.qx3", "/home/u/a.qx3"},
                 {"", "a.qx3", "a.qx3"},
                 {"/", "a.qx3", "/a.qx3"}};
    for (const auto& c : cases) EXPECT_EQ(joinPath(c.dir, c.name), c.expected) << c.dir << " + " << c.name;
}

TEST(Paths, SplitAcceptsEitherSeparator) {
    const struct {
        const char* path;
        const char* dir;
        const char* name;
    } cases[] = {{"/lib/x/math.slb", "/lib/x", "math.slb"},
                 {"/lib/x\\math.slb", "/lib/x", "math.slb"},
                 {"math.slb", "", "math.slb"},
                 {"/math.slb", "/", "math.slb"},
                 {"/lib/", "/lib", ""}};
    for (const auto& c : cases) {
        const SplitPath s = splitPath(c.path);
        EXPECT_EQ(s.directory, c.dir) << c.path;
        EXPECT_EQ(s.name, c.name) << c.path;
    }
}

}  // namespace
}  // namespace qx
