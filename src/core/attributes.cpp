#include "core/attributes.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "core/app_globals.h"
#include "core/formula_flags.h"
#include "core/level_fonts.h"
#include "core/style_word.h"
#include "core/slot.h"

namespace qx {

namespace {

constexpr int kFallbackPrecision = 2;

bool hasFormulaFlags(const CellRec* cell) {
    return cell != nullptr && cell->formula != nullptr && (cell->isFormula() || cell->isVariableLabel());
}

// The precision a Formula's own code stands for, or -1 when it has none.
int ownPrecision(const CellRec* cell) {
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr) return -1;
    const int code = formulaflag::precisionCode(cell->formula->flags);
    return code == 0 ? -1 : code - 1;
}

template <typename T>
std::string numberText(T value, int base = 10) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value, base);
    std::string text(buf, res.ptr);
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
    return text;
}

// Puts the arguments, in order, where the conversions of a printf-style template stand.
std::string fillTemplate(std::string_view format, std::initializer_list<std::string> args) {
    std::string out;
    auto arg = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        while (i + 1 < format.size() && std::strchr("l-0123456789", format[i + 1]) != nullptr) ++i;
        ++i;
        if (arg != args.end()) out += *arg++;
    }
    return out;
}

std::string_view yesNo(bool on) {
    return on ? "Yes" : "No";
}

}  // namespace

namespace style {

std::string_view colourName(int index) {
    return slot(kTextColours, index >= 0 && index < kTextColourCount ? index : 0).name;
}

std::string_view justificationName(int code) {
    static constexpr std::string_view kNames[] = {"Default", "Left", "Center", "Right"};
    return kNames[code >= 0 && code < 4 ? code : 0];
}

std::string_view alignmentName(int code) {
    static constexpr std::string_view kNames[] = {"Bottom", "Top", "Center"};
    return kNames[code >= 0 && code < 3 ? code : 0];
}

}  // namespace style

std::string_view cellflag::typeName(CellType t) {
    static constexpr std::string_view kNames[] = {"Formula", "Label", "Variable Label", "Undefined"};
    return kNames[static_cast<int>(t) & 3];
}

EffectiveAttributes effectiveAttributes(const LevelRec& level, const CellRec* cell, int row, int col) {
    EffectiveAttributes attrs = placeAttributes(level, row, col);
    if (cell == nullptr) return attrs;
    attrs.style = cell->style;
    attrs.cellFlags = cell->flags;
    if (!hasFormulaFlags(cell)) return attrs;
    attrs.formulaFlags = cell->formula->flags;
    const int code = formulaflag::precisionCode(cell->formula->flags);
    if (code != 0) attrs.precision = code;
    return attrs;
}

EffectiveAttributes effectiveAttributes(const CellStore& store, const CellRec* cell, int row, int col, int level) {
    const LevelRec* rec = store.levelPtr(level);
    if (rec == nullptr) return EffectiveAttributes{};
    return effectiveAttributes(*rec, cell, row, col);
}

int effectivePrecision(const CellStore& store, const CellRec* cell, int row, int col, int level) {
    if (const int own = ownPrecision(cell); own >= 0) return own;
    if (!store.worksheetLevel(level)) return kFallbackPrecision;
    ErrStat lookup;
    if (const int found = ownPrecision(store.findCell(row, col, level, lookup)); found >= 0) return found;
    return placeAttributes(*store.levelPtr(level), row, col).precision;
}

bool addRangeAttributes(CellStore& store, int level, const CellArea& area, const EffectiveAttributes& values,
                        uint16_t kind) {
    LevelRec* rec = store.levelPtr(level);
    return rec != nullptr && addRangeAttributes(*rec, area, values, kind);
}

uint32_t setColour(uint32_t style, int index) {
    return style::withColour(style, index >= 0 && index < kTextColourCount ? index : 0);
}

uint32_t setSize(uint32_t style, int points) {
    if (points <= 0) return style::withSizeCode(style, 0);
    const int clamped = points < style::kMinPoints ? style::kMinPoints : std::min(points, style::kMaxPoints);
    return style::withSizeCode(style, clamped - style::kSizeCodeOffset);
}

uint32_t setFontByName(uint32_t style, const char* name) {
    if (name != nullptr) {
        for (int i = 0; i < kAppFontCount; ++i) {
            if (slot(kAppFontNames, i) == name) return style::withFont(style, i);
        }
    }
    return style::withFont(style, 0);
}

void changeLevelDefaults(LevelRec& level, const LevelDefaults& wanted) {
    constexpr uint16_t kWidthBits = 0x7FFF;
    constexpr uint16_t kHeightBits = 0x3FFF;
    LevelDefaults d = wanted;
    d.columnWidth = static_cast<uint16_t>(std::min<int>(d.columnWidth, kWidestColumn));
    d.rowHeight = static_cast<uint16_t>(std::min<int>(d.rowHeight, kTallestRow));
    const LevelDefaults old = level.defaults;
    // The flag bits above the size are the user interface's and stay as they are.
    for (std::size_t col = 1; col < level.colWidths.size(); ++col) {
        uint16_t& slot = level.colWidths[col];
        if ((slot & kWidthBits) == old.columnWidth) slot = static_cast<uint16_t>((slot & ~kWidthBits) | d.columnWidth);
    }
    for (std::size_t row = 1; row < level.rowHeights.size(); ++row) {
        uint16_t& slot = level.rowHeights[row];
        if ((slot & kHeightBits) == old.rowHeight) slot = static_cast<uint16_t>((slot & ~kHeightBits) | d.rowHeight);
    }
    level.defaults = d;
    level.changed = true;
}

std::string attributeSettingsText(uint32_t w, uint16_t flags, const LevelRec& level, int defaultPoints) {
    static constexpr std::string_view kFormat =
        "STYLE:\t%lu  (%X)\n\nTEXT:\n  Font:\t\t\t%s\n  Size:\t\t\t%d\n  Color:\t\t\t%s\n  Weight:\t\t\t%s\n"
        "  Italic:\t\t\t%s\n  Underline:\t\t%s\n  Line Wrap:\t\t%s\n  Justify:\t\t\t%s\n  Align:\t\t\t%s\n\n"
        "CELL:\n  Cell Type:\t\t%s\n  Cells Overlapped:\t\t%d\n  Hide Display:\t\t%s\n  Force Display:\t\t%s\n"
        "  Force Recalc:\t\t%s\n  Prevent Recalc:\t\t%s\n  Protect Cell:\t\t%s\n  Range Def:\t\t%s\n";
    using namespace cellflag;
    return fillTemplate(kFormat, {
                                     numberText(w),
                                     numberText(w, 16),
                                     std::string(levelFontName(level, style::font(w))),
                                     numberText(style::sizePoints(w, defaultPoints)),
                                     std::string(style::colourName(style::colour(w))),
                                     style::bold(w) ? "Bold" : "Regular",
                                     std::string(yesNo(style::italic(w))),
                                     std::string(yesNo(style::underline(w))),
                                     std::string(yesNo(style::lineWrap(w))),
                                     std::string(style::justificationName(style::justification(w))),
                                     std::string(style::alignmentName(style::alignment(w))),
                                     std::string(typeName(type(flags))),
                                     numberText(overlapped(flags)),
                                     std::string(yesNo(has(flags, kHideDisplay))),
                                     std::string(yesNo(has(flags, kForceDisplay))),
                                     std::string(yesNo(has(flags, kForceRecalc))),
                                     std::string(yesNo(has(flags, kPreventRecalc))),
                                     std::string(yesNo(has(flags, kProtectCell))),
                                     std::string(yesNo(has(flags, kRangeDef))),
                                 });
}

void showAttributeSettings(Platform& platform, uint32_t style, uint16_t cellFlags, const LevelRec& level,
                           int defaultPoints) {
    platform.messageBox("Attribute settings", attributeSettingsText(style, cellFlags, level, defaultPoints),
                        BoxIcon::None, BoxButtons::Ok);
}

}  // namespace qx
