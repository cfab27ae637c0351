#pragma once
// The attached-library table and the Script Index: what attaching a library keeps of its header and
// of each record's leading part. Bodies stay in the file until a call loads them into the Swap Area.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formula/script_frame.h"

namespace qx {

constexpr int kMaxLibraries = 32;
constexpr int kScriptIndexSize = 512;
constexpr int kMaxLocalNumbers = 32;
constexpr std::size_t kMaxScriptName = 31;  // the record may hold 32 before its '(', the index keeps 31
constexpr std::size_t kMaxLibraryPath = 259;
constexpr int kAttachFailed = -3;
constexpr int kMaxCallWeight = 127;
constexpr int kFreshCallWeight = 64;

// How a passed-in parameter is bound; the numbers are the kinds' stored values.
enum class ParamKind : uint8_t { Value = 1, ValueArray = 2, String = 3, Cell = 4 };

// Size and modification time of a library file when it was attached: a file that changed since is
// not read, since its record offsets no longer describe it.
struct FileStamp {
    int64_t size = -1;
    int64_t modified = 0;  // nanoseconds
    bool operator==(const FileStamp&) const = default;
};

struct LibraryTableEntry {
    bool inUse = false;
    std::string directory;  // empty: the current directory
    std::string file;       // with ".slb"
    std::string canonical;  // the file's resolved path: one file is attached once
    FileStamp stamp;
    float libraryVersion = 0;   // "~Vl", 0 when absent
    float compilerVersion = 0;  // "~Va"
    float formatVersion = 0;
};

struct ScriptIndexEntry {
    int16_t library = -1;               // -1: free
    std::string name;                   // empty marks the first free entry
    std::vector<int16_t> valueLocals;   // one dimension per value local
    std::vector<int16_t> stringLocals;  // one dimension per string local
    std::vector<ParamKind> kinds;       // the passed-in parameters in order
    bool unloaded = true;
    int16_t callWeight = 0;
    int16_t key = 0;
    int16_t runCount = 0;
    int32_t offset = 0;      // of the body in the Swap Area while loaded
    int32_t bodyLength = 0;  // '{' through the final '}'
    int32_t recordOffset = 0;

    bool loaded() const { return !unloaded; }
    // Bytes the body takes in the Swap Area: its terminator too.
    int32_t footprint() const { return bodyLength + 1; }
};

}  // namespace qx
