// The library layout: what the compiler writes, the attach side reads back byte for byte.
#include "script/library_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/header_key.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

TEST(LibraryFormat, HeaderFieldsSitAtTheirOffsets) {
    std::string header = startHeader(kLibraryProgramVersion);
    addLibraryVersion(header, 2.5);
    addFunctionKey(header, 12, "Calc");
    completeHeader(header, 7);
    EXPECT_EQ(header, "~00046~00007~1.00 ~Va3.00  ~Vl  2.50~F12\"Calc\"");
    int value = 0;
    ASSERT_TRUE(readFiveDigits(header, kHeaderLengthAt, value));
    EXPECT_EQ(value, static_cast<int>(header.size()));
    ASSERT_TRUE(readFiveDigits(header, kHeaderKeyAt, value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(readFiveDigits(header, kFormatVersionAt, value));  // "1.00 " is not five digits
    EXPECT_FALSE(readFiveDigits("~0001", kHeaderLengthAt, value));
}

TEST(LibraryFormat, RecordLengthCountsEveryItem) {
    const std::string record = makeRecord("area", "(#,~)", "1,1,0", "{return(#1);}");
    EXPECT_EQ(record, "~00034~area(#,~)1,1,0{return(#1);}");
    EXPECT_EQ(record.size(), 34u);
    EXPECT_EQ(lengthField(0), "~00000~");
    EXPECT_EQ(lengthField(99999), "~99999~");
}

TEST(LibraryFormat, ScrambledFileReadsBackInBlocks) {
    testing::TempDirectory dir;
    const std::string path = dir.file("lib.slb");
    std::string header = startHeader(kLibraryProgramVersion);
    completeHeader(header, 19);
    // A body longer than one block, so the reader has to fetch a second one.
    std::string body = "{" + std::string(3000, 'x') + "}";
    const std::string record = makeRecord("big", "()", "0,0", body);
    {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
        ASSERT_TRUE(file);
        ASSERT_TRUE(writeScrambled(file.get(), header, kHeaderKey));
        ASSERT_TRUE(writeScrambled(file.get(), record, 19));
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    ASSERT_TRUE(file);
    std::string block;
    readBlock(file.get(), 0, kHeaderKey, block);
    ASSERT_EQ(block.size(), kLibraryBlockSize);
    EXPECT_EQ(block.substr(0, header.size()), header);
    for (char c : block) EXPECT_TRUE(c >= 32 && c <= 127) << int(c);

    const long at = static_cast<long>(header.size());
    readBlock(file.get(), at, 19, block);
    std::string back = block;
    readBlock(file.get(), at + static_cast<long>(kLibraryBlockSize), 19, block);
    back += block;
    EXPECT_EQ(back, record);
    readBlock(file.get(), at + static_cast<long>(record.size()), 19, block);
    EXPECT_TRUE(block.empty());
}

TEST(LibraryFormat, KeyZeroLeavesTextAlone) {
    std::string text = "~00010~";
    scrambleText(text, 0);
    EXPECT_EQ(text, "~00010~");
    scrambleText(text, 31);
    EXPECT_NE(text, "~00010~");
    scrambleText(text, 31);
    EXPECT_EQ(text, "~00010~");
}

}  // namespace
}  // namespace qx
