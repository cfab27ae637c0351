#include "display/cell_display.h"

#include <algorithm>

#include "core/formula_flags.h"

namespace qx {
namespace {

std::string labelText(const CellRec& cell, int bufferSize, const CellDisplayContext& ctx) {
    if (!ctx.columnVisible) return {};
    if (cell.text == nullptr) return "?";
    std::string_view t = cell.textView();
    return std::string(t.substr(0, static_cast<std::size_t>(bufferSize - 1)));
}

std::string failedValueText(double value) {
    return isInfinite(value) && value == value ? infinityText(value) : "?";
}

}  // namespace

std::string cellDisplayText(const CellRec* cell, int bufferSize, const CellDisplayContext& context) {
    const int width = bufferSize - 2;
    if (cell == nullptr || width < 1) return {};
    if (cell->isLabelLike()) return labelText(*cell, bufferSize, context);
    if (cell->isPlaceholder() || cell->formula == nullptr) return "?";
    const FormulaRec& fr = *cell->formula;
    if (formulaflag::errorMark(fr.flags)) return failedValueText(fr.value);
    if (formulaflag::objectKind(fr.flags) == ObjectKind::Number)
        return objectDescription(*cell, std::min(width, kMaxPlainValueWidth), context);
    return objectDescription(*cell, width, context);
}

}  // namespace qx
