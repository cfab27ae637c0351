#include "edit/find_replace.h"

#include <algorithm>
#include <vector>

#include "edit/origins.h"
#include "formula/tilde_pattern.h"

namespace qx {

using namespace findreplace;
using namespace origins::edit;

namespace {

constexpr std::size_t kMaxPatternBody = 253;
constexpr std::size_t kMaxFormulaEntry = 254;

bool wanted(const CellRec& cell, FindCells cells) {
    switch (cells) {
        case FindCells::All:
            return !cell.isPlaceholder();
        case FindCells::Formulas:
        case FindCells::Tags:
            return cell.isFormula();
        case FindCells::Labels:
            return cell.isLabel();
        case FindCells::VariableLabels:
            return cell.isVariableLabel();
    }
    return false;
}

// The row's cells in the search's order: right of `after` going down, left of it going up.
std::vector<CellRec*> rowInOrder(const LevelRec& level, int row, int after, bool up) {
    std::vector<CellRec*> out;
    for (CellRec* cell : RowCells{level.rows[static_cast<std::size_t>(row)]}) {
        if (up ? cell->col < after : cell->col > after) out.push_back(cell);
    }
    if (up) std::reverse(out.begin(), out.end());
    return out;
}

}  // namespace

std::optional<std::string> searchedText(CellStore& store, const CellRec& cell, FindCells cells) {
    if (!wanted(cell, cells)) return std::nullopt;
    if (cells == FindCells::Tags) return store.getTag(&cell);
    if (cell.isFormula() || cell.isVariableLabel()) return store.hooks().formulaText(store, cell, 0, 0, 0);
    return std::string(cell.textView());
}

FoundCell findCell(CellStore& store, int level, int row, int col, const FindOptions& options, std::string_view text) {
    const LevelRec* rec = store.levelPtr(level);
    if (rec == nullptr || level == 0 || text.empty() || rec->bottom == nullptr) return {};
    const std::string pattern = "~" + std::string(text.substr(0, kMaxPatternBody)) + "~";
    const int lastRow = rec->bottom->row;
    const int step = options.up ? -1 : 1;
    if (!options.up && row > lastRow) return {};
    int after = col;
    for (int r = std::min(row, lastRow); r >= 1 && r <= lastRow; r += step) {
        if (r != row) after = options.up ? kMaxCol + 1 : 0;
        for (CellRec* cell : rowInOrder(*rec, r, after, options.up)) {
            const std::optional<std::string> shown = searchedText(store, *cell, options.cells);
            if (shown && tildeMatch(pattern, *shown, options.ignoreCase)) return FoundCell{true, r, cell->col, *shown};
        }
    }
    return {};
}

std::optional<std::string> replacedEntry(CellStore& store, const CellRec& cell, std::string_view find,
                                         std::string_view with, ErrStat& err) {
    err.enter();
    if (find.empty() || find == with || cell.isPlaceholder()) return std::nullopt;
    const std::string source = *searchedText(store, cell, FindCells::All);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
        out.append(source, from, at - from).append(with);
        from = at + find.size();
    }
    if (from == 0) return std::nullopt;
    out.append(source, from);
    // The prefix always goes in front, so a text of its own starting with one keeps it.
    if (cell.isFormula()) {
        const char c = out.empty() ? '\0' : out.front();
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-')) out.insert(0, 1, '+');
        if (out.size() > kMaxFormulaEntry) return err.fail(kReplacedEntry, 1, Msg::ExpressionTooLong), std::nullopt;
        return out;
    }
    if (out.size() > static_cast<std::size_t>(kMaxTextLength)) {
        return err.fail(kReplacedEntry, 2, Msg::ExpressionTooLong), std::nullopt;
    }
    return (cell.isVariableLabel() ? "\"" : "'") + out;
}

}  // namespace qx
