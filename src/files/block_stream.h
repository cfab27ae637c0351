#pragma once
// The block container shared by every native file: 255-byte blocks positioned by offset,
// a scrambled 6-character header carrying the body key, a body scrambled with that key,
// and '~' fill up to the end of the last block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "core/err_stat.h"
#include "core/header_key.h"
#include "platform/platform.h"

namespace qx {

inline constexpr int kBlockSize = 255;
inline constexpr int kHeaderSize = 6;
inline constexpr int kRingSize = 2048;
inline constexpr int kMaxBodyKey = 31;

// Where written blocks go. The save flow and tests substitute their own to inject failures.
class BlockSink {
  public:
    virtual ~BlockSink() = default;
    virtual bool writeAt(uint64_t offset, std::string_view bytes) = 0;
    // Pushes buffered bytes to the system, so a full disk is seen before the save reports success.
    virtual bool flush() { return true; }
};

// Where blocks are read from.
class BlockSource {
  public:
    virtual ~BlockSource() = default;
    // Reads up to bytes.size() bytes at offset; returns how many were read (0 past the end).
    virtual std::size_t readAt(uint64_t offset, std::span<char> bytes) = 0;
};

// A file being written holds an advisory lock (flock) for as long as it is open, so another program
// can tell a temporary file that is being written from the leftover of a writer that died.
class FileBlockSink final : public BlockSink {
  public:
    FileBlockSink() = default;
    FileBlockSink(const FileBlockSink&) = delete;
    FileBlockSink& operator=(const FileBlockSink&) = delete;
    ~FileBlockSink() override;  // closes without syncing; the file stays, no longer locked

    // Creates or truncates the file at path (binary) and locks it. A file another writer holds is
    // refused (code 60) rather than truncated under it.
    bool create(const std::string& path, ErrStat& err);
    bool writeAt(uint64_t offset, std::string_view bytes) override;
    bool flush() override;
    // Flushes and syncs the file, renames it over target while still holding the lock (so nobody
    // takes it for a leftover in between), makes the rename durable and closes. On failure the
    // file is removed.
    bool replace(const std::string& target, ErrStat& err);
    // Removes the file and closes it.
    void discard();
    bool isOpen() const { return m_file != nullptr; }

  private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    uint64_t m_position = 0;
};

// Removes the file at path when it is a leftover whose writer is gone: a regular file that no
// FileBlockSink holds. A file being written, a link or a directory stays. True when removed.
bool removeStaleFile(const std::string& path);

class FileBlockSource final : public BlockSource {
  public:
    FileBlockSource() = default;
    FileBlockSource(const FileBlockSource&) = delete;
    FileBlockSource& operator=(const FileBlockSource&) = delete;
    ~FileBlockSource() override;

    bool open(const std::string& path, ErrStat& err);
    std::size_t readAt(uint64_t offset, std::span<char> bytes) override;
    void close();

  private:
    std::FILE* m_file = nullptr;
    uint64_t m_position = 0;
};

class MemoryBlockSink final : public BlockSink {
  public:
    bool writeAt(uint64_t offset, std::string_view bytes) override;
    std::string bytes;
};

class MemoryBlockSource final : public BlockSource {
  public:
    explicit MemoryBlockSource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t readAt(uint64_t offset, std::span<char> bytes) override;

  private:
    std::string_view m_bytes;
};

// The body key of a save started at `now`: the day of the month.
int bodyKeyFor(const DateTime& now);

// The writing side: begin (or beginPlain), append records, finish.
class BlockStream {
  public:
    explicit BlockStream(BlockSink& out, BlockSink* backup = nullptr) : m_out(out), m_backup(backup) {}

    // Emits the header carrying bodyKey (0..31); the body that follows is scrambled with it.
    bool begin(int bodyKey, ErrStat& err);
    // A clear-text stream without header.
    void beginPlain() { m_key = 0; }
    bool append(std::string_view text, ErrStat& err);
    // Fills the last block with '~' and writes it.
    bool finish(ErrStat& err);

    int bodyKey() const { return m_key; }
    int64_t blocksWritten() const { return m_blocks; }
    // A backup copy that could not be written does not stop the save; the caller may ask.
    bool backupFailed() const { return m_backupFailed; }

  private:
    bool appendKeyed(std::string_view text, uint8_t key, ErrStat& err);
    bool writeBlock(ErrStat& err);

    BlockSink& m_out;
    BlockSink* m_backup;
    std::array<char, kBlockSize> m_block{};
    int m_fill = 0;
    int64_t m_blocks = 0;
    uint8_t m_key = 0;
    bool m_backupFailed = false;
};

// The reading side: recognises the file, unscrambles blocks as they are needed and keeps
// the decoded characters in a ring of kRingSize, dropping every byte outside 32..126.
class BlockReader {
  public:
    // A native file: a scrambled header, or a clear-text level file starting "~~S". The body
    // must start with "~~S" (level) or "~~W" (workbook). Each block read is copied to backup.
    bool open(BlockSource& in, BlockSink* backup, ErrStat& err);
    // A clear-text block file that starts with "~~" (the settings file).
    bool openPlain(BlockSource& in, ErrStat& err);

    // The character `ahead` places on (0..kBlockSize), or -1 past the end of data.
    int peek(int ahead = 0) {
        if (m_count <= ahead) refill();
        return ahead < m_count ? static_cast<unsigned char>(m_ring[(m_start + ahead) & kRingMask]) : -1;
    }
    int get() {
        int c = peek();
        if (c >= 0) {
            m_start = (m_start + 1) & kRingMask;
            --m_count;
        }
        return c;
    }
    bool atEnd() { return peek() < 0; }

    int bodyKey() const { return m_key; }
    bool plain() const { return m_plain; }
    // The letter after the first record mark: 'S' for a level, 'W' for a workbook.
    char firstRecord() const { return m_first; }
    bool backupFailed() const { return m_backupFailed; }

  private:
    static constexpr int kRingMask = kRingSize - 1;

    void reset(BlockSource& in, BlockSink* backup);
    std::size_t readBlock(std::span<char> block);
    void feed(std::span<const char> bytes, uint8_t key);
    void refill();

    BlockSource* m_in = nullptr;
    BlockSink* m_backup = nullptr;
    std::array<char, kRingSize> m_ring{};
    int m_start = 0;
    int m_count = 0;
    int64_t m_nextBlock = 1;
    bool m_exhausted = true;
    bool m_plain = false;
    bool m_backupFailed = false;
    uint8_t m_key = 0;
    char m_first = 0;
};

}  // namespace qx
