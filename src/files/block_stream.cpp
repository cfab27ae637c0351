#include "files/block_stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/messages.h"
#include "core/slot.h"
#include "files/origins.h"

namespace qx {

using namespace origins::files;

namespace {

constexpr uint64_t blockOffset(int64_t block) {
    return static_cast<uint64_t>(block - 1) * kBlockSize;
}

constexpr int kCreateAttempts = 3;

// Closes a descriptor on every way out unless it was handed on.
struct DescriptorGuard {
    int fd;
    bool handedOn = false;
    ~DescriptorGuard() {
        if (!handedOn) ::close(fd);
    }
};

// Whether path still names the file open on fd (it was not removed or replaced meanwhile).
bool namesFile(const std::string& path, int fd) {
    struct stat named {};
    struct stat open {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

// A rename is durable only once its directory is synced: a crash right after a save keeps the new file.
void syncDirectoryOf(const std::string& path) {
    const std::string directory = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool seekTo(std::FILE* file, uint64_t& position, uint64_t offset) {
    if (position == offset) return true;
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    position = offset;
    return true;
}

}  // namespace

// ---- files and memory ----

FileBlockSink::~FileBlockSink() {
    if (m_file) std::fclose(m_file);
}

bool FileBlockSink::create(const std::string& path, ErrStat& err) {
    err.enter();
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_position = 0;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return err.fail(kOriginCreate, 1, Msg::CannotOpenFile);
        DescriptorGuard guard{fd};
        // Held by another writer: refused. On a file system without locks the file is written unlocked.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            return err.fail(kOriginCreate, 2, Msg::CannotOpenFile);
        }
        // A cleaner may have taken the file for a leftover between the open and the lock.
        if (!namesFile(path, fd)) continue;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || (S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0)) {
            return err.fail(kOriginCreate, 3, Msg::CannotOpenFile);
        }
        m_file = ::fdopen(fd, "wb");
        if (!m_file) return err.fail(kOriginCreate, 4, Msg::CannotOpenFile);
        guard.handedOn = true;
        m_path = path;
        return true;
    }
    return err.fail(kOriginCreate, 5, Msg::CannotOpenFile);
}

bool FileBlockSink::writeAt(uint64_t offset, std::string_view bytes) {
    if (!m_file || !seekTo(m_file, m_position, offset)) return false;
    std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), m_file);
    m_position += written;
    return written == bytes.size();
}

bool FileBlockSink::flush() {
    return m_file && std::fflush(m_file) == 0;
}

bool FileBlockSink::replace(const std::string& target, ErrStat& err) {
    err.enter();
    if (!m_file) return err.fail(kOriginReplace, 1, Msg::IoError);
    if (std::fflush(m_file) != 0 || ::fsync(fileno(m_file)) != 0) {
        discard();
        return err.fail(kOriginReplace, 2, Msg::IoError);
    }
    if (std::rename(m_path.c_str(), target.c_str()) != 0) {
        discard();
        return err.fail(kOriginReplace, 3, Msg::IoError);
    }
    syncDirectoryOf(target);
    // Everything is on the device and in place; closing only gives up the lock.
    std::fclose(m_file);
    m_file = nullptr;
    return true;
}

void FileBlockSink::discard() {
    if (!m_file) return;
    // Removed while still locked, and only if the name is still ours.
    if (namesFile(m_path, fileno(m_file))) ::unlink(m_path.c_str());
    std::fclose(m_file);
    m_file = nullptr;
}

bool removeStaleFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    DescriptorGuard guard{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;  // its writer is still at work
    return namesFile(path, fd) && ::unlink(path.c_str()) == 0;
}

FileBlockSource::~FileBlockSource() {
    close();
}

bool FileBlockSource::open(const std::string& path, ErrStat& err) {
    err.enter();
    close();
    m_file = std::fopen(path.c_str(), "rb");
    m_position = 0;
    if (!m_file) return err.fail(kOriginSourceOpen, 1, Msg::CannotOpenFile);
    return true;
}

std::size_t FileBlockSource::readAt(uint64_t offset, std::span<char> bytes) {
    if (!m_file || !seekTo(m_file, m_position, offset)) return 0;
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), m_file);
    m_position += got;
    return got;
}

void FileBlockSource::close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

bool MemoryBlockSink::writeAt(uint64_t offset, std::string_view data) {
    if (bytes.size() < offset + data.size()) bytes.resize(offset + data.size());
    std::memcpy(bytes.data() + offset, data.data(), data.size());
    return true;
}

std::size_t MemoryBlockSource::readAt(uint64_t offset, std::span<char> bytes) {
    if (offset >= m_bytes.size()) return 0;
    std::size_t n = std::min<std::size_t>(bytes.size(), m_bytes.size() - offset);
    std::memcpy(bytes.data(), m_bytes.data() + offset, n);
    return n;
}

int bodyKeyFor(const DateTime& now) {
    return std::clamp(now.day, 1, kMaxBodyKey);
}

// ---- writing ----

bool BlockStream::begin(int bodyKey, ErrStat& err) {
    err.enter();
    if (bodyKey < 0 || bodyKey > kMaxBodyKey) return err.fail(kOriginBegin, 1, Msg::ParameterOutOfRange);
    char header[kHeaderSize + 1];
    std::snprintf(header, sizeof header, "~%05d", bodyKey);
    m_key = static_cast<uint8_t>(bodyKey);
    if (!appendKeyed(std::string_view(header, kHeaderSize), kHeaderKey, err)) return err.trace(kOriginBegin), false;
    return true;
}

bool BlockStream::append(std::string_view text, ErrStat& err) {
    err.enter();
    return appendKeyed(text, m_key, err);
}

bool BlockStream::appendKeyed(std::string_view text, uint8_t key, ErrStat& err) {
    while (!text.empty()) {
        const auto fill = static_cast<std::size_t>(m_fill);
        std::size_t n = std::min(text.size(), static_cast<std::size_t>(kBlockSize - m_fill));
        for (std::size_t i = 0; i < n; ++i) m_block[fill + i] = static_cast<char>(text[i] ^ key);
        m_fill += static_cast<int>(n);
        text.remove_prefix(n);
        if (m_fill == kBlockSize && !writeBlock(err)) return err.trace(kOriginAppend), false;
    }
    return true;
}

bool BlockStream::writeBlock(ErrStat& err) {
    std::string_view block(m_block.data(), kBlockSize);
    uint64_t offset = blockOffset(m_blocks + 1);
    if (!m_out.writeAt(offset, block)) return err.fail(kOriginAppend, 1, Msg::IoError);
    if (m_backup && !m_backupFailed && !m_backup->writeAt(offset, block)) m_backupFailed = true;
    ++m_blocks;
    m_fill = 0;
    return true;
}

bool BlockStream::finish(ErrStat& err) {
    err.enter();
    if (m_fill > 0) {
        std::fill(m_block.begin() + m_fill, m_block.end(), static_cast<char>('~' ^ m_key));
        if (!writeBlock(err)) return err.trace(kOriginFinish), false;
    }
    if (!m_out.flush()) return err.fail(kOriginFinish, 1, Msg::IoError);
    if (m_backup && !m_backupFailed && !m_backup->flush()) m_backupFailed = true;
    return true;
}

// ---- reading ----

void BlockReader::reset(BlockSource& in, BlockSink* backup) {
    m_in = &in;
    m_backup = backup;
    m_start = m_count = 0;
    m_nextBlock = 1;
    m_exhausted = false;
    m_plain = false;
    m_backupFailed = false;
    m_key = 0;
    m_first = 0;
}

std::size_t BlockReader::readBlock(std::span<char> block) {
    uint64_t offset = blockOffset(m_nextBlock);
    std::size_t got = m_in->readAt(offset, block);
    if (got < block.size()) m_exhausted = true;
    if (got == 0) return 0;
    ++m_nextBlock;
    if (m_backup && !m_backupFailed && !m_backup->writeAt(offset, std::string_view(block.data(), got))) {
        m_backupFailed = true;
    }
    return got;
}

void BlockReader::feed(std::span<const char> bytes, uint8_t key) {
    for (char raw : bytes) {
        auto c = static_cast<unsigned char>(raw ^ key);
        if (c < 32 || c >= 127) continue;
        m_ring[(m_start + m_count) & kRingMask] = static_cast<char>(c);
        ++m_count;
    }
}

void BlockReader::refill() {
    std::array<char, kBlockSize> block;
    while (!m_exhausted && kRingSize - m_count > kBlockSize) {
        std::size_t got = readBlock(block);
        feed(std::span<const char>(block.data(), got), m_key);
    }
}

bool BlockReader::open(BlockSource& in, BlockSink* backup, ErrStat& err) {
    err.enter();
    reset(in, backup);
    std::array<char, kBlockSize> block;
    std::size_t got = readBlock(block);
    if (got >= 3 && std::memcmp(block.data(), "~~S", 3) == 0) {
        m_plain = true;
        feed(std::span<const char>(block.data(), got), 0);
    } else {
        if (got <= kHeaderSize) return err.fail(kOriginOpen, 1, Msg::IllegalFileType);
        char header[kHeaderSize];
        for (int i = 0; i < kHeaderSize; ++i) slot(header, i) = static_cast<char>(slot(block, i) ^ kHeaderKey);
        if (header[0] != '~') return err.fail(kOriginOpen, 2, Msg::IllegalFileType);
        int key = 0;
        for (int i = 1; i < kHeaderSize; ++i) {
            if (header[i] < '0' || header[i] > '9') return err.fail(kOriginOpen, 3, Msg::IllegalFileType);
            key = key * 10 + (header[i] - '0');
        }
        // A writer only ever uses a day of the month (or 0 for clear text); anything else is not ours.
        if (key > kMaxBodyKey) return err.fail(kOriginOpen, 4, Msg::IllegalFileType);
        m_key = static_cast<uint8_t>(key);
        feed(std::span<const char>(block.data() + kHeaderSize, got - kHeaderSize), m_key);
    }
    if (peek(0) != '~' || peek(1) != '~' || (peek(2) != 'S' && peek(2) != 'W')) {
        return err.fail(kOriginOpen, 5, Msg::IllegalFileType);
    }
    m_first = static_cast<char>(peek(2));
    return true;
}

bool BlockReader::openPlain(BlockSource& in, ErrStat& err) {
    err.enter();
    reset(in, nullptr);
    m_plain = true;
    std::array<char, 2> mark{};
    if (in.readAt(0, mark) != mark.size() || mark[0] != '~' || mark[1] != '~') {
        m_exhausted = true;
        return err.fail(kOriginOpenPlain, 1, Msg::IllegalFileType);
    }
    m_first = static_cast<char>(peek(2) < 0 ? 0 : peek(2));
    return true;
}

}  // namespace qx
