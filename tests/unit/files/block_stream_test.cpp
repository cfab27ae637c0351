#include "files/block_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace qx {
namespace {

std::string scramble(std::string_view text, int key) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c ^ key);
    return out;
}

std::string randomBody(std::mt19937& rng, std::size_t length) {
    std::uniform_int_distribution<int> printable(32, 125);  // never '~', so no record marks
    std::string body = "~~S";
    while (body.size() < length) body.push_back(static_cast<char>(printable(rng)));
    return body.substr(0, std::max<std::size_t>(length, 3));
}

bool writeTo(BlockStream& out, std::string_view body, int key, ErrStat& err) {
    return out.begin(key, err) && out.append(body, err) && out.finish(err);
}

std::string writeScrambled(std::string_view body, int key) {
    MemoryBlockSink sink;
    BlockStream out(sink);
    ErrStat err;
    EXPECT_TRUE(writeTo(out, body, key, err));
    return sink.bytes;
}

std::string readAll(BlockReader& reader) {
    std::string text;
    for (int c = reader.get(); c >= 0; c = reader.get()) text.push_back(static_cast<char>(c));
    return text;
}

// A reader opened over bytes in memory; the source lives as long as the reader.
struct Opened {
    explicit Opened(std::string text, BlockSink* backup = nullptr) : bytes(std::move(text)) {
        ok = reader.open(source, backup, err);
    }
    std::string bytes;
    MemoryBlockSource source{bytes};
    BlockReader reader;
    ErrStat err;
    bool ok = false;
};

// Fails every write from the given call on.
class FailingSink final : public BlockSink {
  public:
    explicit FailingSink(int okWrites) : m_okWrites(okWrites) {}
    bool writeAt(uint64_t offset, std::string_view bytes) override {
        return m_okWrites-- > 0 && inner.writeAt(offset, bytes);
    }
    MemoryBlockSink inner;

  private:
    int m_okWrites;
};

TEST(BlockStream, RoundTripIsByteExactAtEveryBlockBoundary) {
    std::mt19937 rng(7);
    EXPECT_EQ(bodyKeyFor(DateTime{.day = 31}), 31);
    for (int key : {0, 1, 7, 30, 31}) {
        for (std::size_t length : {3u, 200u, 248u, 249u, 250u, 503u, 504u, 505u, 1000u, 2040u, 2049u, 9000u}) {
            SCOPED_TRACE(testing::Message() << "key " << key << " length " << length);
            std::string body = randomBody(rng, length);
            std::string file = writeScrambled(body, key);

            char digits[8];  // the key is written with leading zeros
            std::snprintf(digits, sizeof digits, "~%05d", key);
            std::size_t used = kHeaderSize + body.size();
            std::string fill((used + kBlockSize - 1) / kBlockSize * kBlockSize - used, '~');
            ASSERT_EQ(file, scramble(digits, kHeaderKey) + scramble(body, key) + scramble(fill, key));

            Opened in(file);
            ASSERT_TRUE(in.ok);
            EXPECT_EQ(in.reader.bodyKey(), key);
            EXPECT_FALSE(in.reader.plain());
            EXPECT_EQ(in.reader.firstRecord(), 'S');
            EXPECT_EQ(readAll(in.reader), body + fill);
        }
    }
    EXPECT_EQ(Opened(writeScrambled("~~Wv{3.00,\"\",4094}", 31)).reader.firstRecord(), 'W');
}

TEST(BlockStream, PlainFilesAreReadWithoutHeaderAndControlBytesAreDropped) {
    std::mt19937 rng(5);
    std::string body = randomBody(rng, 700);
    Opened in(body + std::string("\x01" "a\x7f" "b\xff" "c\t", 8));
    ASSERT_TRUE(in.ok);
    EXPECT_TRUE(in.reader.plain());
    EXPECT_EQ(in.reader.bodyKey(), 0);
    EXPECT_EQ(readAll(in.reader), body + "abc");
}

TEST(BlockStream, FilesThatAreNotNativeFailTheOpen) {
    std::string valid = writeScrambled("~~SV3.00", 9);
    auto withHeader = [](std::string header, std::string_view body, int key) {
        return scramble(header, kHeaderKey) + scramble(body, key);
    };
    const struct { const char* name; std::string bytes; int point; } cases[] = {
        {"empty", "", 1},
        {"header only", valid.substr(0, kHeaderSize), 1},
        {"not a tilde", withHeader("x00009", "~~SV3.00", 9), 2},
        {"unscrambled header", "~00009" + scramble("~~SV3.00", 9), 2},
        {"letters in the key", withHeader("~0a009", "~~SV3.00", 9), 3},
        {"key beyond a day", withHeader("~00032", "~~SV3.00", 32), 4},
        {"other first record", withHeader("~00009", "~~XV3.00", 9), 5},
        {"no record mark", withHeader("~00009", "SV3.00~~", 9), 5},
        {"clear-text workbook", "~~Wv{3.00}", 2},
        {"text file", "hello, world\n", 2},
    };
    for (const auto& c : cases) {
        Opened in(c.bytes);
        EXPECT_FALSE(in.ok) << c.name;
        const ErrStat& err = in.err;
        EXPECT_TRUE(err.point == c.point && err.code == 39 && err.module == 1 && err.letter == kLetterLib) << c.name;
    }
}

TEST(BlockStream, WriteFailuresStopTheSaveButBackupFailuresDoNot) {
    const std::string body = "~~S" + std::string(597, 'x');
    for (int okWrites : {0, 1, 2}) {
        FailingSink sink(okWrites);
        BlockStream out(sink);
        ErrStat err;
        EXPECT_FALSE(writeTo(out, body, 3, err)) << okWrites;
        EXPECT_EQ(err.code, 59);
        EXPECT_EQ(err.savedLetter, kLetterLib);
        EXPECT_EQ(out.blocksWritten(), okWrites);
    }
    MemoryBlockSink main;
    FailingSink backup(1);
    BlockStream out(main, &backup);
    ErrStat err;
    ASSERT_TRUE(writeTo(out, body, 3, err));
    EXPECT_TRUE(out.backupFailed());
    EXPECT_EQ(main.bytes, writeScrambled(body, 3));
    EXPECT_EQ(backup.inner.bytes, main.bytes.substr(0, kBlockSize));
}

// Writing real files is covered by the open and save flow; here only the device errors.
TEST(BlockStream, DeviceErrorsAreReported) {
    const std::string body = "~~SV3.00" + std::string(700, 'a');
    FileBlockSink file;
    ErrStat err;
    EXPECT_FALSE(file.create((std::filesystem::temp_directory_path() / "qx_missing_dir" / "x.qx2").string(), err));
    EXPECT_EQ(err.code, 60);
    if (std::filesystem::exists("/dev/full")) {
        ASSERT_TRUE(file.create("/dev/full", err));
        BlockStream onFull(file);
        EXPECT_FALSE(writeTo(onFull, body, 4, err));
        EXPECT_EQ(err.code, 59);
    }
}

}  // namespace
}  // namespace qx
