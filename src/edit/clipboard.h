#pragma once
// Undo delete, Cut, Copy and Paste. Level 0's record is the clipboard: its pending paste area and
// source level say what was taken, its older chain holds Copy's detached copies. A cut moves cells as
// records when pasted, so every formula using them follows; a copy is re-entered with its relative
// addresses shifted.
#include "core/cell_store.h"
#include "core/err_stat.h"

namespace qx {

// Deletes the range for undo (Delete); the cells using a deleted cell read its placeholder.
void deleteCells(CellStore& store, int level, const CellArea& range, ErrStat& err);

// Deletes the pending delete area again and puts back the cells deleted before, so a second undo
// swaps back. A protected cell in the area refuses it (code 40) before anything changes. Returns
// false when there was nothing to undo.
bool undoDelete(CellStore& store, int level, ErrStat& err);

// Records the range for a later Paste, which moves the cells.
void cutCells(CellStore& store, int level, const CellArea& range, ErrStat& err);

// Records the range and keeps a detached copy of each of its cells.
void copyCells(CellStore& store, int level, const CellArea& range, ErrStat& err);

struct PasteResult {
    bool pasted = false;        // false for an empty clipboard or a refusal
    bool tilesLeftOut = false;  // a tiled copy skipped tiles that met existing cells
    CellArea target;            // the block filled
};

// Pastes the clipboard onto `target` of `level`: a block of the source's size, a single cell as its
// top-left corner, or (copies only) a block tiled by whole multiples of the source. Every check (codes
// 6, 7, 79, 80, 81) runs before anything changes. Each pasted cell's dependents are recalculated.
PasteResult pasteCells(CellStore& store, int level, const CellArea& target, ErrStat& err);

}  // namespace qx
