#pragma once
// The attached Script Libraries of a session: the library table, the Script Index and the Swap Area.
// Attaching reads a library's header and the leading part of each record; a call finds its script and
// has the body loaded into the Swap Area.
#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/err_stat.h"
#include "core/scratch_record.h"
#include "platform/platform.h"
#include "script/library_format.h"
#include "script/runtime/script_index.h"
#include "script/runtime/swap_area.h"

namespace qx {

constexpr std::string_view kMultiplyDefinedCaption = "WARNING";

// `file` with its extension replaced by (or extended with) ".slb".
std::string withLibraryExtension(std::string_view file);

class ScriptLibraries {
  public:
    // The function-key labels and the Swap Area size live in the scratch record; the platform shows
    // the multiply-defined warning.
    ScriptLibraries(Platform& platform, ScratchRecord& scratch);

    // Attaches `file` (its extension forced to ".slb") from `directory` (empty: the current one).
    // Returns the library's table index, or kAttachFailed with `err` set and nothing left attached.
    int attach(std::string_view file, std::string_view directory, ErrStat& err);
    // Removes the library and its scripts; the remaining scripts keep their order from entry 0 up.
    // Refused while any script runs, since their bodies and index entries would move under them.
    bool detach(int library, ErrStat& err);
    // The Script Index entry of `name` with its body loaded, or -1: with `err` clear when no attached
    // script has the name, set when the body could not be loaded.
    int find(std::string_view name, ErrStat& err);
    // A new Swap Area (8,192..131,072 bytes) with every script unloaded; refused while any script runs.
    bool resizeSwapArea(int64_t bytes, ErrStat& err);
    // Sets every run count to 0; the caller skips it while an activation is live.
    void clearRunCounts();
    bool anyRunning() const;

    // The table index of the attached library with this file name (".slb" forced), or -1.
    int libraryNamed(std::string_view file) const;
    const LibraryTableEntry& library(int index) const { return m_libraries[static_cast<std::size_t>(index)]; }
    // Attached libraries' table indexes in table order.
    std::vector<int> attached() const;
    std::span<const ScriptIndexEntry> scripts() const { return m_index; }
    std::span<ScriptIndexEntry> scripts() { return m_index; }
    ScriptIndexEntry& script(int entry) { return m_index[static_cast<std::size_t>(entry)]; }
    // The loaded body of a script: '{' to '}' and a terminating zero.
    char* body(int entry) { return m_swap.at(script(entry).offset); }
    const SwapArea& swapArea() const { return m_swap; }
    int32_t maxBodyLength() const { return m_maxBodyLength; }

  private:
    bool readRecords(std::FILE* file, int library, int32_t from, int key, ErrStat& err);
    bool load(int entry, ErrStat& err);
    void removeScripts(int library);
    void releaseFunctionKeys(int library);
    std::string pathOf(const LibraryTableEntry& lib) const;

    Platform& m_platform;
    ScratchRecord& m_scratch;
    std::array<LibraryTableEntry, kMaxLibraries> m_libraries;
    std::vector<ScriptIndexEntry> m_index;  // the occupied entries, without gaps
    SwapArea m_swap;
    int32_t m_maxBodyLength = 0;
    // Which library set each function-key label; -1 for none.
    std::array<int, kFunctionKeyCount> m_keyOwner;
};

}  // namespace qx
