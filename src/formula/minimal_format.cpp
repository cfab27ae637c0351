#include "formula/minimal_format.h"

#include "core/number_text.h"
#include "formula/lexer.h"

namespace qx {

std::string minimalNumber(double value, int width) {
    if (!(value > -kFormulaInfinity && value < kFormulaInfinity)) return value > 0 ? "+1.#INF" : "-1.#INF";
    std::string text = formatFixed(value, 2);
    if (static_cast<int>(text.size()) > width) text = formatGeneral(value, 6);
    return text;
}

std::string minimalDisplayText(const CellRec* cell, int width) {
    if (cell == nullptr) return {};
    if (cell->isPlaceholder()) return "?";
    if (cell->isLabelLike()) return std::string(cell->textView());
    if (cell->formula == nullptr) return "?";
    const double value = cell->formula->value;
    const bool huge = !(value > -kFormulaInfinity && value < kFormulaInfinity);
    if (cell->formula->errorMark() && !huge) return "?";
    return minimalNumber(value, width);
}

}  // namespace qx
