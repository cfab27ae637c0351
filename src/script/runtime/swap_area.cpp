#include "script/runtime/swap_area.h"

#include <algorithm>
#include <cstring>

namespace qx {

namespace {

// The loaded scripts in offset order.
template <typename Entry>
std::vector<Entry*> loadedByOffset(std::span<Entry> scripts) {
    std::vector<Entry*> loaded;
    for (Entry& s : scripts) {
        if (s.loaded()) loaded.push_back(&s);
    }
    std::sort(loaded.begin(), loaded.end(), [](const Entry* a, const Entry* b) { return a->offset < b->offset; });
    return loaded;
}

}  // namespace

void SwapArea::reset(int64_t bytes) {
    std::vector<char> fresh(static_cast<std::size_t>(clampSwapAreaSize(bytes)), '\0');
    m_bytes.swap(fresh);
}

std::optional<int32_t> SwapArea::findPlace(std::span<const ScriptIndexEntry> scripts, int32_t needed) const {
    int32_t current = 0;
    for (const ScriptIndexEntry* s : loadedByOffset(scripts)) {
        if (s->offset - current >= needed) return current;
        current = std::max(current, s->offset + s->footprint());
    }
    if (size() - current >= needed) return current;
    return std::nullopt;
}

void SwapArea::takeOut(std::span<ScriptIndexEntry> scripts, std::size_t which) {
    ScriptIndexEntry& s = scripts[which];
    if (!s.loaded()) return;
    s.unloaded = true;
    s.offset = 0;
    compact(scripts);
}

void SwapArea::compact(std::span<ScriptIndexEntry> scripts) {
    int32_t end = 0;
    for (ScriptIndexEntry* s : loadedByOffset(scripts)) {
        if (s->runCount == 0 && s->offset > end) {
            const int32_t oldStart = s->offset;
            const int32_t oldEnd = oldStart + s->footprint();
            // The ranges overlap when the body moves by less than its length.
            std::memmove(at(end), at(oldStart), static_cast<std::size_t>(s->footprint()));
            const int32_t clearFrom = std::max(end + s->footprint(), oldStart);
            std::memset(at(clearFrom), 0, static_cast<std::size_t>(oldEnd - clearFrom));
            s->offset = end;
        }
        end = s->offset + s->footprint();
    }
}

void SwapArea::evict(std::span<ScriptIndexEntry> scripts, int32_t needed) {
    std::size_t victim = scripts.size();
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        const ScriptIndexEntry& s = scripts[i];
        if (!s.loaded() || s.runCount != 0 || s.footprint() < needed) continue;
        if (victim == scripts.size() || s.callWeight < scripts[victim].callWeight) victim = i;
    }
    if (victim != scripts.size()) {
        takeOut(scripts, victim);
        return;
    }
    for (ScriptIndexEntry& s : scripts) {
        if (s.loaded() && s.runCount == 0) {
            s.unloaded = true;
            s.offset = 0;
        }
    }
}

}  // namespace qx
