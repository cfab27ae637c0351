#pragma once
// The workbook file: workbook records ("Wv", "Wp", one "Wz" per non-empty level, "We") followed by
// the record stream of every listed level, in one block container.
#include <string>
#include <vector>

#include "files/level_reader.h"

namespace qx {

// Points of the workbook reader.
inline constexpr int32_t kWorkbookPointNotNative = 2;
inline constexpr int32_t kWorkbookPointLevelName = 3;
inline constexpr int32_t kWorkbookPointLevelRange = 4;
inline constexpr int32_t kWorkbookPointNotEmpty = 5;
inline constexpr int32_t kWorkbookPointNoEnd = 7;

struct WorkbookLevelEntry {
    int level = 0;
    std::string name;
    uint32_t flags = kDefaultProtectionFlags;
};

// Writes every non-empty level with the protection words of `ctx`. A workbook without cells is refused (code 43).
bool writeWorkbookFile(FileContext& ctx, const std::string& directory, BlockStream& out, int bodyKey, ErrStat& err);

// Reads a workbook into the empty workbook. Each level's name and permission word is applied only
// after every level is in, so a level that forbids adding cells is not emptied by its own load.
// On failure or cancel every password is cleared and every word reset; cells already read stay.
bool readWorkbookFile(FileContext& ctx, BlockReader& reader, bool& cancelled, ErrStat& err);

}  // namespace qx
