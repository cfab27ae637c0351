#include "edit/join_convert.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "display/display_format.h"
#include "edit/origins.h"

namespace qx {

using namespace joinconvert;
using namespace origins::edit;

namespace {

constexpr int kSumDecimals = 15;
constexpr int kSumWidth = 79;

// The area's cells row by row, taken before any of them changes.
std::vector<CellRec*> cellsOf(CellStore& store, int level, const CellArea& a) {
    std::vector<CellRec*> out;
    const LevelRec* rec = store.levelPtr(level);
    if (rec == nullptr || level == 0 || rec->bottom == nullptr) return out;
    const int lastRow = std::min<int>(a.lastRow, rec->bottom->row);
    for (int row = std::max(a.firstRow, 1); row <= lastRow; ++row) {
        for (CellRec* cell : RowCells{rec->rows[static_cast<std::size_t>(row)]}) {
            if (cell->col > a.lastCol) break;
            if (cell->col >= a.firstCol && !cell->isPlaceholder()) out.push_back(cell);
        }
    }
    return out;
}

bool validArea(const CellStore& store, int level, const CellArea& a, Origin origin, ErrStat& err) {
    if (!store.worksheetLevel(level)) return err.fail(origin, 1, Msg::LevelOutOfRange);
    if (a.firstRow < 1 || a.lastRow > kMaxRow) return err.fail(origin, 2, Msg::RowOutOfRange);
    if (a.firstCol < 1 || a.lastCol > kMaxCol) return err.fail(origin, 3, Msg::ColumnOutOfRange);
    return true;
}

constexpr EntryOptions kReentry{NotifyMode::Edit, false, true, false};

// Joins L with its right neighbours; false when the join had to stop on a failure.
bool joinFrom(CellStore& store, EntryOperation& entry, CellRec* label, const CellArea& area, int& joined,
              ErrStat& err) {
    const int row = label->row;
    const int level = label->level;
    int col = label->col + label->overlapped() + 1;
    while (col <= area.lastCol) {
        CellRec* next = store.findCell(row, col, level, err);
        // A placeholder shows nothing: the place counts as empty.
        if (next == nullptr || next->isPlaceholder()) {
            ++col;
            continue;
        }
        if (!next->isLabel() || next->has(cellflag::kProtectCell)) return true;
        std::string_view right = next->textView();
        if (label->textView().size() + right.size() >= kMaxJoined) return true;
        if (!right.empty() && right.front() == ' ') right.remove_prefix(1);
        const std::string text = "'" + std::string(label->textView()) + " " + std::string(right);
        // The label is written first, so a failure leaves both texts where they were.
        const EntryResult result = entry.storeEntry(text, row, label->col, level, kReentry, err);
        if (err.failed() || result.cell == nullptr) return err.trace(kJoin), false;
        label = result.cell;
        // A neighbour that formulas use leaves a placeholder, so they never point at freed memory.
        store.deleteCellNow(next, err);
        if (err.failed()) return err.trace(kJoin), false;
        ++joined;
        col = label->col + label->overlapped() + 1;
    }
    return true;
}

}  // namespace

int joinLabels(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err) {
    err.enter();
    if (!validArea(store, level, area, kJoin, err)) return 0;
    int joined = 0;
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        for (int col = area.firstCol; col <= area.lastCol; ++col) {
            CellRec* cell = store.findCell(row, col, level, err);
            if (cell == nullptr || !cell->isLabel() || cell->has(cellflag::kProtectCell)) continue;
            if (!joinFrom(store, entry, cell, area, joined, err)) return joined;
        }
        const LevelRec* rec = store.levelPtr(level);
        if (rec->bottom == nullptr || row >= rec->bottom->row) break;
    }
    if (joined > 0) store.scratch().repaintPending = true;
    return joined;
}

std::string sumText(CellStore& store, int level, const CellArea& area) {
    double sum = 0.0;
    for (const CellRec* cell : cellsOf(store, level, area)) {
        if (cell->isFormula() && cell->formula != nullptr) sum += cell->formula->value;
    }
    ErrStat ignored;
    NumberFormat format;
    format.precision = kSumDecimals;
    format.width = kSumWidth;
    std::string text(trimBlanks(formatNumber(sum, format, ignored)));
    if (text.find('.') != std::string::npos && text.find_first_of("eE") == std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    return text;
}

std::string sumCaption(const CellArea& area) {
    char caption[80];
    std::snprintf(caption, sizeof caption, "SUM of [%d,%d] thru [%d,%d]", area.firstRow, area.firstCol, area.lastRow,
                  area.lastCol);
    return caption;
}

int labelsToFormulas(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err) {
    err.enter();
    if (!validArea(store, level, area, kConvert, err)) return 0;
    int changed = 0;
    for (CellRec* cell : cellsOf(store, level, area)) {
        if (!cell->isLabel()) continue;
        const std::string text(cell->textView());
        if (text.empty() || !(text.front() == '+' || (text.front() >= '0' && text.front() <= '9'))) continue;
        // Entered as typed: a text that is no valid formula fails here as it would in the edit bar.
        ErrStat one;
        entry.storeEntry(text, cell->row, cell->col, level, kReentry, one);
        ++changed;
        if (one.failed() && !err.failed()) err = one;
    }
    if (err.failed()) err.trace(kConvert);
    return changed;
}

int formulasToLabels(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err) {
    err.enter();
    if (!validArea(store, level, area, kConvert, err)) return 0;
    int changed = 0;
    for (CellRec* cell : cellsOf(store, level, area)) {
        if (!cell->isFormula()) continue;
        // With the '+' a formula is typed with, so converting the label back gives the formula again.
        std::string source = store.hooks().formulaText(store, *cell, 0, 0, 0);
        if (source.empty() || !(source.front() == '+' || (source.front() >= '0' && source.front() <= '9'))) {
            source.insert(0, 1, '+');
        }
        const std::string text = "'" + source;
        entry.storeEntry(text, cell->row, cell->col, level, kReentry, err);
        if (err.failed()) return err.trace(kConvert), changed;
        ++changed;
    }
    return changed;
}

}  // namespace qx
