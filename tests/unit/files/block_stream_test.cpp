#include "files/block_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

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

std::string writeScrambled(std::string_view body, int key) {
    MemoryBlockSink sink;
    BlockStream out(sink);
    ErrStat err;
    EXPECT_TRUE(out.begin(key, err));
    EXPECT_TRUE(out.append(body, err));
    EXPECT_TRUE(out.finish(err));
    return sink.bytes;
}

std::string readAll(BlockReader& reader) {
    std::string text;
    for (int c = reader.get(); c >= 0; c = reader.get()) text.push_back(static_cast<char>(c));
    return text;
}

// Fails every write from the given call on.
class FailingSink final : public BlockSink {
  public:
    explicit FailingSink(int okWrites) : m_okWrites(okWrites) {}
    bool writeAt(uint64_t offset, std::string_view bytes) override {
        if (m_okWrites-- <= 0) return false;
        return inner.writeAt(offset, bytes);
    }
    MemoryBlockSink inner;

  private:
    int m_okWrites;
};

TEST(BlockStream, RoundTripIsByteExactAtEveryBlockBoundary) {
    std::mt19937 rng(7);
    for (int key : {0, 1, 7, 30, 31}) {
        for (std::size_t length : {3u, 200u, 248u, 249u, 250u, 503u, 504u, 505u, 1000u, 2040u, 2049u, 9000u}) {
            SCOPED_TRACE(testing::Message() << "key " << key << " length " << length);
            std::string body = randomBody(rng, length);
            std::string file = writeScrambled(body, key);

            char digits[8];
            std::snprintf(digits, sizeof digits, "~%05d", key);
            std::size_t used = kHeaderSize + body.size();
            std::size_t total = (used + kBlockSize - 1) / kBlockSize * kBlockSize;
            std::string expected =
                scramble(digits, kHeaderKey) + scramble(body, key) + scramble(std::string(total - used, '~'), key);
            ASSERT_EQ(file, expected);

            MemoryBlockSource source(file);
            BlockReader reader;
            ErrStat err;
            ASSERT_TRUE(reader.open(source, nullptr, err));
            EXPECT_EQ(reader.bodyKey(), key);
            EXPECT_FALSE(reader.plain());
            EXPECT_EQ(readAll(reader), body + std::string(total - used, '~'));
        }
    }
}

TEST(BlockStream, KeyOfTheLastDayIsWrittenWithLeadingZerosAndWorkbooksAreRecognised) {
    std::string file = writeScrambled("~~Wv{3.00,\"\",4094}", 31);
    EXPECT_EQ(scramble(file.substr(0, kHeaderSize), kHeaderKey), "~00031");
    EXPECT_EQ(bodyKeyFor(DateTime{.day = 31}), 31);
    MemoryBlockSource source(file);
    BlockReader reader;
    ErrStat err;
    ASSERT_TRUE(reader.open(source, nullptr, err));
    EXPECT_EQ(reader.firstRecord(), 'W');
}

TEST(BlockStream, PlainLevelFilesAreReadWithoutHeaderAndControlBytesAreDropped) {
    std::mt19937 rng(5);
    std::string body = randomBody(rng, 700);
    std::string file = body + std::string(
                                  "\x01"
                                  "a\x7f"
                                  "b\xff"
                                  "c\t",
                                  8);
    MemoryBlockSource source(file);
    BlockReader reader;
    ErrStat err;
    ASSERT_TRUE(reader.open(source, nullptr, err));
    EXPECT_TRUE(reader.plain());
    EXPECT_EQ(reader.bodyKey(), 0);
    EXPECT_EQ(readAll(reader), body + "abc");
}

TEST(BlockStream, FilesThatAreNotNativeFailTheOpen) {
    std::string valid = writeScrambled("~~SV3.00", 9);
    auto withHeader = [](std::string header, std::string_view body, int key) {
        return scramble(header, kHeaderKey) + scramble(body, key);
    };
    struct Case {
        const char* name;
        std::string bytes;
        int point;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        MemoryBlockSource source(c.bytes);
        BlockReader reader;
        ErrStat err;
        EXPECT_FALSE(reader.open(source, nullptr, err)) << c.name;
        EXPECT_EQ(err.point, c.point) << c.name;
        EXPECT_EQ(err.code, 39) << c.name;
        EXPECT_EQ(err.letter, kLetterLib) << c.name;
        EXPECT_EQ(err.module, 1) << c.name;
    }
}

TEST(BlockStream, SettingsStyleFilesOpenPlainOnlyWithARecordMark) {
    MemoryBlockSource good("~~C{3.00}~~c~~~~");
    BlockReader reader;
    ErrStat err;
    ASSERT_TRUE(reader.openPlain(good, err));
    EXPECT_EQ(reader.firstRecord(), 'C');
    EXPECT_EQ(readAll(reader), "~~C{3.00}~~c~~~~");

    MemoryBlockSource bad("C{3.00}");
    EXPECT_FALSE(reader.openPlain(bad, err));
    EXPECT_EQ(err.code, 39);
    EXPECT_TRUE(reader.atEnd());
}

TEST(BlockStream, WriteFailuresStopTheSaveButBackupFailuresDoNot) {
    std::string body(600, 'x');
    body.replace(0, 3, "~~S");
    for (int okWrites : {0, 1, 2}) {
        FailingSink sink(okWrites);
        BlockStream out(sink);
        ErrStat err;
        bool ok = out.begin(3, err) && out.append(body, err) && out.finish(err);
        EXPECT_FALSE(ok) << okWrites;
        EXPECT_EQ(err.code, 59);
        EXPECT_EQ(err.savedLetter, kLetterLib);
        EXPECT_EQ(out.blocksWritten(), okWrites);
    }

    MemoryBlockSink main;
    FailingSink backup(1);
    BlockStream out(main, &backup);
    ErrStat err;
    ASSERT_TRUE(out.begin(3, err) && out.append(body, err) && out.finish(err));
    EXPECT_TRUE(out.backupFailed());
    EXPECT_EQ(main.bytes, writeScrambled(body, 3));
    EXPECT_EQ(backup.inner.bytes, main.bytes.substr(0, kBlockSize));
}

TEST(BlockStream, BackupWrittenWhileSavingAndWhileReadingIsAByteCopy) {
    std::mt19937 rng(3);
    std::string body = randomBody(rng, 3000);
    MemoryBlockSink main;
    MemoryBlockSink saved;
    BlockStream out(main, &saved);
    ErrStat err;
    ASSERT_TRUE(out.begin(17, err) && out.append(body, err) && out.finish(err));
    EXPECT_EQ(saved.bytes, main.bytes);

    MemoryBlockSource source(main.bytes);
    MemoryBlockSink copied;
    BlockReader reader;
    ASSERT_TRUE(reader.open(source, &copied, err));
    readAll(reader);
    EXPECT_EQ(copied.bytes, main.bytes);
}

TEST(BlockStream, FilesOnDiskRoundTripAndDeviceErrorsAreReported) {
    auto dir = std::filesystem::temp_directory_path() / ("qx_block_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "level.qx2.tmp").string();
    std::string body = "~~SV3.00" + std::string(700, 'a');

    FileBlockSink file;
    ErrStat err;
    ASSERT_TRUE(file.create(path, err));
    BlockStream out(file);
    ASSERT_TRUE(out.begin(4, err) && out.append(body, err) && out.finish(err));
    ASSERT_TRUE(file.close(true, err));
    EXPECT_EQ(std::filesystem::file_size(path), 3u * kBlockSize);

    FileBlockSource in;
    ASSERT_TRUE(in.open(path, err));
    BlockReader reader;
    ASSERT_TRUE(reader.open(in, nullptr, err));
    EXPECT_EQ(readAll(reader).substr(0, body.size()), body);
    in.close();

    EXPECT_FALSE(file.create((dir / "missing" / "x.qx2").string(), err));
    EXPECT_EQ(err.code, 60);

    if (std::filesystem::exists("/dev/full")) {
        FileBlockSink full;
        ASSERT_TRUE(full.create("/dev/full", err));
        BlockStream onFull(full);
        EXPECT_FALSE(onFull.begin(4, err) && onFull.append(body, err) && onFull.finish(err));
        EXPECT_EQ(err.code, 59);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qx
