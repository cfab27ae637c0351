#pragma once
// Reading a Script Library file: its header, the leading part of each record, and a body on demand.
// Every text is unscrambled as it is read; nothing here keeps the file open.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/err_stat.h"
#include "script/library_format.h"
#include "script/runtime/script_index.h"

namespace qx {

constexpr std::size_t kLibraryReadBlock = 2048;
constexpr int kFirstFunctionKey = 2;
constexpr int kLastFunctionKey = 16;
constexpr std::size_t kFunctionKeyLabelLength = 7;

// What attaching keeps of a header.
struct LibraryHeader {
    int32_t length = 0;  // H: the first record starts here
    int key = 0;         // K: the records' key
    float formatVersion = 0;
    float compilerVersion = 0;
    float libraryVersion = 0;
    std::vector<std::pair<int, std::string>> functionKeys;  // key 2..16, label padded to seven characters
};

// `text` is the unscrambled start of the file, as much of its first block as could be read.
bool parseLibraryHeader(std::string_view text, LibraryHeader& out, ErrStat& err);

// The leading part of one record: everything but the body's text.
struct RecordPrefix {
    int32_t length = 0;  // L
    std::string name;    // empty: no more records
    std::vector<ParamKind> kinds;
    std::vector<int16_t> valueLocals;
    std::vector<int16_t> stringLocals;
    int32_t bodyStart = 0;  // the position of '{' in the record
    int32_t bodyLength() const { return length - bodyStart; }
};

// `text` is the unscrambled block read at the record's offset; an empty text ends the records.
// False with `err` set for a damaged record.
bool parseRecordPrefix(std::string_view text, RecordPrefix& out, ErrStat& err);

// The size and modification time of a file; size -1 when it cannot be examined.
FileStamp fileStamp(const std::string& path);

// Up to `count` bytes of the file from `offset`, each combined with `key`; false when the file cannot
// be read there (an offset beyond the end reads nothing and succeeds).
bool readUnscrambled(std::FILE* file, int64_t offset, std::size_t count, uint8_t key, std::string& out);

// Copies the body of a record into `target` (bodyLength characters and a terminating zero), after
// checking that the file is still the one attached.
bool loadBody(const std::string& path, const FileStamp& attached, const ScriptIndexEntry& script, char* target,
              ErrStat& err);

}  // namespace qx
