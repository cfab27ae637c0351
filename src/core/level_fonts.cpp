#include "core/level_fonts.h"

#include <array>
#include <functional>

#include "core/app_globals.h"
#include "core/row_cursor.h"
#include "core/style_word.h"
#include "core/slot.h"

namespace qx {

namespace {

// Every style word of the level that names a font.
void forEachStyleWord(LevelRec& level, const std::function<void(uint32_t&)>& fn) {
    fn(level.defaults.style);
    for (RangeAttrRec& rec : level.rangeRecords) fn(rec.style);
    for (LevelCursor cursor(level); !cursor.done(); cursor.advance()) fn(cursor.get()->style);
}

}  // namespace

void initLevelFonts(LevelRec& level) {
    level.fontNames.assign(kAppFontNames.begin(), kAppFontNames.end());
}

int levelFontCount(const LevelRec& level) {
    return level.fontNames.empty() ? kAppFontCount : static_cast<int>(level.fontNames.size());
}

std::string_view levelFontName(const LevelRec& level, int index) {
    if (level.fontNames.empty()) return index >= 0 && index < kAppFontCount ? slot(kAppFontNames, index) : kAppFontNames[0];
    if (index < 0 || index >= static_cast<int>(level.fontNames.size())) return level.fontNames[0];
    return slot(level.fontNames, index);
}

int addLevelFont(LevelRec& level, std::string_view name) {
    if (level.fontNames.empty()) initLevelFonts(level);
    if (static_cast<int>(level.fontNames.size()) >= kLevelFontCapacity) return -1;
    level.fontNames.emplace_back(name.substr(0, kMaxFontNameLength));
    return static_cast<int>(level.fontNames.size()) - 1;
}

void compactLevelFonts(LevelRec& level) {
    const int count = levelFontCount(level);
    if (count <= kAppFontCount) return;
    std::array<bool, kLevelFontCapacity> used{};
    forEachStyleWord(level, [&](uint32_t& w) {
        if (style::font(w) < count) slot(used, style::font(w)) = true;
    });
    std::array<int, kLevelFontCapacity> newIndex{};
    std::vector<std::string> kept(level.fontNames.begin(), level.fontNames.begin() + kAppFontCount);
    for (int i = 0; i < count; ++i) {
        if (i < kAppFontCount) {
            slot(newIndex, i) = i;
        } else if (slot(used, i)) {
            slot(newIndex, i) = static_cast<int>(kept.size());
            kept.push_back(slot(level.fontNames, i));
        }
    }
    forEachStyleWord(level, [&](uint32_t& w) {
        const int font = style::font(w);
        if (font >= kAppFontCount && font < count) w = style::withFont(w, slot(newIndex, font));
    });
    level.fontNames = std::move(kept);
}

}  // namespace qx
