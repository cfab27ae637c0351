#include "edit/array_areas.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/recalculator.h"
#include "edit/origins.h"

namespace qx {

using namespace origins::edit;

namespace {

// The box texts name the cell with printf patterns; the numbers are small integers.
std::string formatted(const char* pattern, int a, int b, int c = 0, int d = 0) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

void warning(Platform& platform, const std::string& caption, const std::string& text) {
    platform.messageBox(caption, text, BoxIcon::Exclamation, BoxButtons::Ok);
}

int elementCount(const CellRec& cell) {
    return cell.formula == nullptr ? 0 : static_cast<int>(cell.formula->arrayCount());
}

// Whether the cell's Array Area is to be set to n; the boxes come from here.
bool mayResize(Platform& platform, const CellRec& cell, int n, bool warn) {
    if (!cell.isFormula()) {
        if (warn) {
            warning(platform, "WARNING:  Wrong Cell Type!",
                    formatted("Cell [%d,%d] is not a Formula Cell.\nAn Array Area can not be assigned to it.", cell.row,
                              cell.col));
        }
        return false;
    }
    if (cell.has(cellflag::kProtectCell)) {
        warning(platform, "WARNING:   Protect Cell",
                formatted("Cell [%d,%d] is a protected cell.\nIt's Array Area can not altered!", cell.row, cell.col));
        return false;
    }
    if (!warn || elementCount(cell) == n) return true;
    const std::string question = formatted(
        "You are about to change the size of the Array Area\nassigned to cell [%d,%d] from %d to %d.\n\nDo you want "
        "to continue?",
        cell.row, cell.col, elementCount(cell), n);
    return platform.messageBox("WARNING!", question, BoxIcon::Question, BoxButtons::YesNo) == BoxAnswer::Yes;
}

}  // namespace

int setArrayAreas(CellStore& store, Platform& platform, int level, const CellArea& area, int n, bool warn,
                  ErrStat& err) {
    err.enter();
    if (!store.worksheetLevel(level)) return err.fail(kSetSizes, 1, Msg::LevelOutOfRange), 0;
    if (n < 0 || n > kMaxArrayElements) return err.fail(kSetSizes, 2, Msg::ElementOutOfRange), 0;
    const LevelRec& rec = *store.levelPtr(level);
    const int lastRow = std::min<int>(area.lastRow, rec.bottom ? rec.bottom->row : 0);
    int changed = 0;
    for (int row = std::max(area.firstRow, 1); row <= lastRow; ++row) {
        // Taken first: a question may be answered while the row is being worked on.
        std::vector<CellRec*> cells;
        for (CellRec* cell : RowCells{rec.rows[static_cast<std::size_t>(row)]}) {
            if (cell->col >= area.firstCol && cell->col <= area.lastCol && !cell->isPlaceholder())
                cells.push_back(cell);
        }
        for (CellRec* cell : cells) {
            if (!mayResize(platform, *cell, n, warn)) continue;
            const int before = elementCount(*cell);
            store.setArraySize(cell, n, err);
            if (err.failed()) return err.trace(kSetSizes), changed;
            if (before == n) continue;
            ++changed;
            store.levelOf(*cell)->changed = true;
            // Formulas reading its elements see the new size.
            store.hooks().notify(store, *cell, NotifyMode::Chain);
        }
    }
    if (changed > 0) store.scratch().repaintPending = true;
    return changed;
}

CellRec* arrayCellOf(CellStore& store, Platform& platform, int level, const CellArea& selection) {
    if (selection.firstRow != selection.lastRow || selection.firstCol != selection.lastCol) {
        warning(platform, "ERROR (DB45)!", "You can only select ONE cell at a time,\nwhen performing this operation.");
        return nullptr;
    }
    ErrStat ignored;
    CellRec* cell = store.findCell(selection.firstRow, selection.firstCol, level, ignored);
    if (cell == nullptr || cell->isPlaceholder()) {
        warning(platform, "ERROR (DB45)",
                "A Formula cell with an assigned Array Area\ndoes not exists at this location.");
        return nullptr;
    }
    if (!cell->isFormula()) {
        warning(platform, "WARNING:  Illegal Cell Type ",
                formatted("Cell [%d,%d] is not a Formula cell.  An\nArray Area can not be assigned to it.", cell->row,
                          cell->col));
        return nullptr;
    }
    if (cell->has(cellflag::kProtectCell)) {
        warning(
            platform, "WARNING:   Protect Cell",
            formatted("Cell [%d,%d] is a protected cell.  It's\nArray Area can not be changed.", cell->row, cell->col));
        return nullptr;
    }
    if (elementCount(*cell) < 1) {
        warning(platform, "WARNING",
                formatted("Cell [%d,%d] does not have an Array Area assigned to it.", cell->row, cell->col));
        return nullptr;
    }
    return cell;
}

void writeArrayElements(CellStore& store, CellRec& cell, std::span<const double> values, ErrStat& err) {
    err.enter();
    if (values.empty()) return;
    if (values.size() > static_cast<std::size_t>(elementCount(cell))) {
        return void(err.fail(kSetElements, 1, Msg::ElementOutOfRange));
    }
    store.setArrayElements(&cell, values.data(), 0, static_cast<int>(values.size()) - 1, err);
    if (err.failed()) return err.trace(kSetElements);
    store.levelOf(cell)->changed = true;
    store.scratch().repaintPending = true;
    store.hooks().notify(store, cell, NotifyMode::Chain);
}

}  // namespace qx
