#include "core/paths.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qx
