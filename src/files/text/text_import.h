#pragma once
// Reading text (".txt"), comma-separated (".csv") and Data Interchange (".dif") files into a level,
// from a starting cell on: numbers become Formula cells, everything else Labels, entered as typed.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "files/load_context.h"

namespace qx {

enum class TextKind : uint8_t { Text, Csv, Dif };

// The kind a file name's extension names (case ignored), if it is one of the three.
std::optional<TextKind> textKindOf(std::string_view name);

// Where imported rows and columns start.
struct ImportStart {
    int level = 1;
    int row = 1;
    int col = 1;
};

// What one run of a reader did.
struct ImportOutcome {
    bool stopped = false;  // a No answer or a protection refusal ended it early
    int cells = 0;         // cells stored
};

// Reads `in` as the given kind. False on a failure (in `err`); cells stored before it remain.
bool importText(FileContext& ctx, TextKind kind, std::istream& in, ImportStart at, ImportOutcome& outcome,
                ErrStat& err);

// The Import command once the file is chosen: the kind by extension, the overwrite question when
// the level holds cells, the reader, and the problem box on failure. False when it failed.
bool importTextFile(FileContext& ctx, ImportStart at, const std::string& path, ErrStat& err);

}  // namespace qx
