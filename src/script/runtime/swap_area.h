#pragma once
// The Swap Area: one block of memory holding the bodies of the scripts called lately. A body is placed
// first fit in offset order, evicted by call weight when there is no room, and the idle bodies are
// moved down over the gaps. A running script's body (run count above 0) never moves.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/scratch_record.h"
#include "script/runtime/script_index.h"

namespace qx {

class SwapArea {
  public:
    explicit SwapArea(int32_t bytes = kSwapAreaDefault) { reset(bytes); }

    int32_t size() const { return static_cast<int32_t>(m_bytes.size()); }
    char* at(int32_t offset) { return m_bytes.data() + offset; }
    const char* at(int32_t offset) const { return m_bytes.data() + offset; }

    // A new, zeroed area of the clamped size; the caller marks every script unloaded.
    void reset(int64_t bytes);

    // The first offset with room for `needed` bytes among the loaded bodies of `scripts`.
    std::optional<int32_t> findPlace(std::span<const ScriptIndexEntry> scripts, int32_t needed) const;

    // Marks the script unloaded and closes the gap it leaves.
    void takeOut(std::span<ScriptIndexEntry> scripts, std::size_t which);

    // Moves every idle body down over the gaps before it, in offset order.
    void compact(std::span<ScriptIndexEntry> scripts);

    // Makes room for `needed` bytes: takes out the idle body of the lowest call weight among those at
    // least that large, or, when there is none, marks every idle body unloaded.
    void evict(std::span<ScriptIndexEntry> scripts, int32_t needed);

  private:
    std::vector<char> m_bytes;
};

}  // namespace qx
