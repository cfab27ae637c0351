#include "edit/clipboard.h"

#include <algorithm>
#include <vector>

#include "core/recalculator.h"
#include "edit/layout_map.h"
#include "edit/origins.h"

namespace qx {

using namespace origins::edit;

namespace {

struct Place {
    int row = 0;
    int col = 0;
};

int rowsOf(const CellArea& a) {
    return a.lastRow - a.firstRow + 1;
}

int colsOf(const CellArea& a) {
    return a.lastCol - a.firstCol + 1;
}

// Level, rows and columns of a range, in that order, with their codes.
bool validRange(const CellStore& store, int level, const CellArea& a, Origin origin, ErrStat& err) {
    if (!store.worksheetLevel(level)) return err.fail(origin, 1, Msg::LevelOutOfRange);
    if (a.firstRow < 1 || a.lastRow > kMaxRow || a.firstRow > a.lastRow) return err.fail(origin, 2, Msg::RowOutOfRange);
    if (a.firstCol < 1 || a.lastCol > kMaxCol || a.firstCol > a.lastCol) {
        return err.fail(origin, 3, Msg::ColumnOutOfRange);
    }
    return true;
}

// The places of the range's cells, row by row; placeholders only when asked for.
std::vector<CellRec*> cellsOf(CellStore& store, int level, const CellArea& a, bool placeholders) {
    std::vector<CellRec*> out;
    const LevelRec& rec = *store.levelPtr(level);
    const int lastRow = std::min<int>(a.lastRow, rec.bottom ? rec.bottom->row : 0);
    for (int row = a.firstRow; row <= lastRow; ++row) {
        for (CellRec* cell : RowCells{rec.rows[static_cast<std::size_t>(row)]}) {
            if (cell->col > a.lastCol) break;
            if (cell->col >= a.firstCol && (placeholders || !cell->isPlaceholder())) out.push_back(cell);
        }
    }
    return out;
}

// After cells of the area were put in or taken out: formulas there compute again in place order, and
// the cells using the area see it again. The chain passes over formulas inside a pending delete area,
// which a paste or undo has just set to this one, so they are evaluated here one by one.
void recalcArea(CellStore& store, int level, const CellArea& a) {
    for (CellRec* cell : cellsOf(store, level, a, true)) {
        if (cell->formula != nullptr && cell->formula->refCount > 0) {
            store.hooks().notify(store, *cell, NotifyMode::CellAndChain);
        } else if (CellStore::isReferenced(*cell)) {
            store.hooks().notify(store, *cell, NotifyMode::Chain);
        }
    }
}

void emptyClipboard(CellStore& store, ErrStat& err) {
    LevelRec& clip = *store.levelPtr(0);
    store.purgeChain(clip.undoOlder, err);
    clip.undoOlder = nullptr;
    clip.pendingPaste.clear();
    clip.pasteSource = 0;
    clip.clipMode = ClipMode::Empty;
}

bool recordSource(CellStore& store, int level, const CellArea& range, ClipMode mode, Origin origin, ErrStat& err) {
    err.enter();
    if (!validRange(store, level, range, origin, err)) return false;
    emptyClipboard(store, err);
    if (err.failed()) return err.trace(origin), false;
    LevelRec& clip = *store.levelPtr(0);
    clip.pendingPaste = range;
    clip.pasteSource = level;
    clip.clipMode = mode;
    return true;
}

// Where the clipboard's cells go: the source block's top-left corner moved by the offsets.
struct Shift {
    int rows = 0;
    int cols = 0;
};

// Existing source places that would land outside the grid: the paste would lose them.
bool landsInGrid(const std::vector<Place>& places, Shift by, ErrStat& err) {
    for (const Place& p : places) {
        const int row = p.row + by.rows;
        const int col = p.col + by.cols;
        if (row < 1 || row > kMaxRow) return err.fail(kPasteBlock, 1, Msg::RowOutOfRange);
        if (col < 1 || col > kMaxCol) return err.fail(kPasteBlock, 2, Msg::ColumnOutOfRange);
    }
    return true;
}

// True when a real cell stands where one of the places lands; cells that are about to move away
// (a cut on the same level) are not in the way.
bool collides(CellStore& store, int level, const std::vector<Place>& places, Shift by, const CellArea* leaving) {
    for (const Place& p : places) {
        const int row = p.row + by.rows;
        const int col = p.col + by.cols;
        ErrStat ignored;
        const CellRec* there = store.findCell(row, col, level, ignored);
        if (there != nullptr && !there->isPlaceholder() && !(leaving && leaving->contains(row, col))) return true;
    }
    return false;
}

std::vector<Place> placesOf(const std::vector<CellRec*>& cells) {
    std::vector<Place> out;
    out.reserve(cells.size());
    for (const CellRec* c : cells) {
        if (!c->isPlaceholder()) out.push_back(Place{c->row, c->col});
    }
    return out;
}

std::vector<CellRec*> clipboardCopies(CellStore& store) {
    std::vector<CellRec*> out;
    for (CellRec* c = store.levelPtr(0)->undoOlder; c != nullptr; c = c->next) out.push_back(c);
    return out;
}

// Moves the cut cells; the far side first when the block moves down or right over itself.
void moveBlock(CellStore& store, int fromLevel, const CellArea& source, int toLevel, Shift by, ErrStat& err) {
    std::vector<Place> places;
    for (const CellRec* c : cellsOf(store, fromLevel, source, true)) places.push_back(Place{c->row, c->col});
    if (by.rows > 0 || (by.rows == 0 && by.cols > 0)) std::reverse(places.begin(), places.end());
    for (const Place& p : places) {
        store.moveCell(p.row, p.col, fromLevel, p.row + by.rows, p.col + by.cols, toLevel, err);
        if (err.failed()) return err.trace(kPasteBlock);
    }
    if (fromLevel == toLevel) offsetRangeRecords(*store.levelPtr(toLevel), source, by.rows, by.cols);
}

// Lays the clipboard's copies down at the offsets after deleting the block's contents for undo.
void copyBlock(CellStore& store, int level, const CellArea& block, Shift by, ErrStat& err) {
    LevelRec& rec = *store.levelPtr(level);
    const LevelRec& clip = *store.levelPtr(0);
    rec.pendingPaste = block;
    rec.pasteSource = clip.pasteSource;
    store.deleteBlock(level, block.firstRow, block.firstCol, block.lastRow, block.lastCol, NotifyMode::None, false,
                      err);
    if (err.failed()) return err.trace(kPasteBlock);
    const int levelOffset = level - clip.pasteSource;
    for (CellRec* copy : clipboardCopies(store)) {
        const int row = copy->row + by.rows;
        const int col = copy->col + by.cols;
        CellRec* there = store.findCell(row, col, level, err);
        if (there != nullptr && !there->isPlaceholder()) return void(err.fail(kPasteBlock, 3, Msg::PasteOverCell));
        store.copyCell(copy, level, row, col, by.rows, by.cols, levelOffset, err);
        if (err.failed()) return err.trace(kPasteBlock);
    }
    recalcArea(store, level, block);
}

// The blocks a paste fills, or none with code 79.
std::vector<CellArea> targetBlocks(const CellArea& source, const CellArea& target, ClipMode mode) {
    const int height = rowsOf(source);
    const int width = colsOf(source);
    if (rowsOf(target) == height && colsOf(target) == width) return {target};
    if (rowsOf(target) == 1 && colsOf(target) == 1) {
        return {CellArea{target.firstRow, target.firstCol, std::min(target.firstRow + height - 1, kMaxRow),
                         std::min(target.firstCol + width - 1, kMaxCol)}};
    }
    if (mode != ClipMode::Copy || rowsOf(target) % height != 0 || colsOf(target) % width != 0) return {};
    std::vector<CellArea> tiles;
    for (int col = target.firstCol; col <= target.lastCol; col += width) {
        for (int row = target.firstRow; row <= target.lastRow; row += height) {
            tiles.push_back(CellArea{row, col, row + height - 1, col + width - 1});
        }
    }
    return tiles;
}

// A cell record cannot leave its level while references tie it to others there.
bool tiedToLevel(const std::vector<CellRec*>& cells) {
    return std::any_of(cells.begin(), cells.end(), [](const CellRec* c) {
        return c->isPlaceholder() || CellStore::isReferenced(*c) || (c->formula != nullptr && c->formula->refCount > 0);
    });
}

PasteResult pasteCut(CellStore& store, int level, const CellArea& block, ErrStat& err) {
    const LevelRec& clip = *store.levelPtr(0);
    const int fromLevel = clip.pasteSource;
    const CellArea source = clip.pendingPaste;
    const Shift by{block.firstRow - source.firstRow, block.firstCol - source.firstCol};
    const std::vector<CellRec*> cells = cellsOf(store, fromLevel, source, true);
    const std::vector<Place> places = placesOf(cells);
    if (!landsInGrid(places, by, err)) return err.trace(kPaste), PasteResult{};
    if (collides(store, level, places, by, fromLevel == level ? &source : nullptr)) {
        return err.fail(kPaste, 4, Msg::PasteOverCell), PasteResult{};
    }
    if (fromLevel != level && tiedToLevel(cells)) {
        return err.fail(kPaste, 5, Msg::MoveAcrossLevels), PasteResult{};
    }
    moveBlock(store, fromLevel, source, level, by, err);
    // A cut is pasted once, whatever happened on the way.
    ErrStat ignored;
    emptyClipboard(store, ignored);
    if (err.failed()) return err.trace(kPaste), PasteResult{};
    return PasteResult{true, false, block};
}

PasteResult pasteCopies(CellStore& store, int level, const std::vector<CellArea>& blocks, ErrStat& err) {
    const LevelRec& clip = *store.levelPtr(0);
    const CellArea source = clip.pendingPaste;
    std::vector<Place> places;
    for (const CellRec* c : clipboardCopies(store)) places.push_back(Place{c->row, c->col});
    PasteResult result;
    const bool tiled = blocks.size() > 1;
    for (const CellArea& block : blocks) {
        const Shift by{block.firstRow - source.firstRow, block.firstCol - source.firstCol};
        if (!landsInGrid(places, by, err)) return err.trace(kPaste), result;
        if (collides(store, level, places, by, nullptr)) {
            if (!tiled) return err.fail(kPaste, 4, Msg::PasteOverCell), result;
            result.tilesLeftOut = true;
            continue;
        }
        copyBlock(store, level, block, by, err);
        if (err.failed()) return err.trace(kPaste), result;
        result.pasted = true;
    }
    result.target =
        CellArea{blocks.front().firstRow, blocks.front().firstCol, blocks.back().lastRow, blocks.back().lastCol};
    return result;
}

}  // namespace

void deleteCells(CellStore& store, int level, const CellArea& range, ErrStat& err) {
    err.enter();
    if (!validRange(store, level, range, kDeleteCells, err)) return;
    // Only a range that held cells needs a repaint.
    const bool any = !cellsOf(store, level, range, false).empty();
    store.deleteBlock(level, range.firstRow, range.firstCol, range.lastRow, range.lastCol, NotifyMode::None, any, err);
    recalcArea(store, level, range);
}

bool undoDelete(CellStore& store, int level, ErrStat& err) {
    err.enter();
    if (!store.worksheetLevel(level)) return err.fail(kUndoDelete, 1, Msg::LevelOutOfRange);
    LevelRec& rec = *store.levelPtr(level);
    if (!rec.pendingDelete.active()) return false;
    const CellArea area = rec.pendingDelete;
    // Whatever stands there now becomes the newer chain, the cells to bring back the older one.
    store.deleteBlock(level, area.firstRow, area.firstCol, area.lastRow, area.lastCol, NotifyMode::None, false, err);
    if (err.failed()) return err.trace(kUndoDelete), false;
    CellRec* chain = rec.undoOlder;
    rec.undoOlder = nullptr;
    while (chain != nullptr) {
        CellRec* cell = chain;
        chain = cell->next;
        store.restoreDetached(cell, err);
        if (err.failed()) {
            cell->next = chain;
            chain = cell;
            break;
        }
    }
    ErrStat purge;
    store.purgeChain(chain, purge);
    recalcArea(store, level, area);
    store.scratch().repaintPending = true;
    if (err.failed()) err.trace(kUndoDelete);
    return true;
}

void cutCells(CellStore& store, int level, const CellArea& range, ErrStat& err) {
    recordSource(store, level, range, ClipMode::Cut, kCut, err);
}

void copyCells(CellStore& store, int level, const CellArea& range, ErrStat& err) {
    if (!recordSource(store, level, range, ClipMode::Copy, kCopy, err)) return;
    LevelRec& clip = *store.levelPtr(0);
    CellRec** tail = &clip.undoOlder;
    for (const CellRec* cell : cellsOf(store, level, range, false)) {
        CellRec* copy = store.detachedCopy(cell, 0, err);
        if (err.failed()) {
            ErrStat ignored;
            emptyClipboard(store, ignored);
            return err.trace(kCopy);
        }
        *tail = copy;
        tail = &copy->next;
    }
}

PasteResult pasteCells(CellStore& store, int level, const CellArea& target, ErrStat& err) {
    err.enter();
    if (!validRange(store, level, target, kPaste, err)) return {};
    const LevelRec& clip = *store.levelPtr(0);
    if (clip.clipMode == ClipMode::Empty) return {};
    const std::vector<CellArea> blocks = targetBlocks(clip.pendingPaste, target, clip.clipMode);
    if (blocks.empty()) return err.fail(kPaste, 6, Msg::PasteRangeMismatch), PasteResult{};
    PasteResult result = clip.clipMode == ClipMode::Cut ? pasteCut(store, level, blocks.front(), err)
                                                        : pasteCopies(store, level, blocks, err);
    if (result.pasted) store.scratch().repaintPending = true;
    return result;
}

}  // namespace qx
