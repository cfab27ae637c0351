// The toolkit's file slots: four of them, the first empty one taken, a closed slot free again, and
// the error text of "errlist".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "script/toolkit/toolkit.h"

namespace qx {
namespace {

TEST(ToolkitFiles, FourSlotsTakenInOrderAndFreedByClose) {
    ToolkitFiles files;
    std::FILE* opened[5] = {};
    for (int i = 0; i < 4; ++i) {
        opened[i] = std::tmpfile();
        ASSERT_NE(opened[i], nullptr);
        EXPECT_EQ(files.put(opened[i]), i + 1);
    }
    opened[4] = std::tmpfile();
    EXPECT_EQ(files.put(opened[4]), 0);  // a fifth file finds no slot and stays the caller's
    std::fclose(opened[4]);

    EXPECT_TRUE(files.close(2));
    EXPECT_EQ(files.file(2), nullptr);
    EXPECT_FALSE(files.close(2));  // already empty
    std::FILE* again = std::tmpfile();
    EXPECT_EQ(files.put(again), 2);
    EXPECT_EQ(files.file(2), again);
}

TEST(ToolkitFiles, SlotsOutsideOneToFourHoldNothing) {
    ToolkitFiles files;
    files.put(std::tmpfile());
    for (int slot : {-1, 0, 5, 1000}) {
        EXPECT_EQ(files.file(slot), nullptr) << slot;
        EXPECT_FALSE(files.close(slot)) << slot;
    }
    EXPECT_NE(files.file(1), nullptr);
}

TEST(ToolkitErrors, ErrlistTexts) {
    EXPECT_EQ(errorListText(0, 80), "no error");
    EXPECT_EQ(errorListText(-7, 80), "no error");
    EXPECT_EQ(errorListText(60, 80), "unable to open file");
    EXPECT_EQ(errorListText(1002, 80), "System Level Error: 2");
    EXPECT_EQ(errorListText(1002, 94), "System Level Error: 2");
    EXPECT_NE(errorListText(1002, 95).find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(errorListText(1002, 95).rfind("System Level Error", 0), std::string::npos);
}

}  // namespace
}  // namespace qx
