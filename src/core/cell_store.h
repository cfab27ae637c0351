#pragma once
// The workbook in memory: the level array, each level's row lists of cells and its heap,
// and every operation through which the rest of the system reaches cells.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/cell_records.h"
#include "core/cell_store_hooks.h"
#include "core/err_stat.h"
#include "core/row_cursor.h"
#include "core/scratch_record.h"

namespace qx {

// Occupancy of a place.
enum class Occupancy : int { Free = 0, Overlapped = 1, Cell = 2, Placeholder = 3 };

// Whether making a cell refuses a place that a neighbour's label overflows into.
enum class OverlapCheck : uint8_t { Check, Skip };

class CellStore {
  public:
    // `levelCount` is clamped to 2..33; the highest level is levelCount - 1.
    CellStore(int levelCount, const LevelDefaults& defaults, std::string_view directory, ScratchRecord& scratch);
    ~CellStore();
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;

    // --- levels ---
    int levelCount() const { return static_cast<int>(m_levels.size()); }
    int highestLevel() const { return levelCount() - 1; }
    bool validLevel(int level) const { return level >= 0 && level <= highestLevel(); }
    // Levels that may hold worksheet cells: 1..highestLevel().
    bool worksheetLevel(int level) const { return level >= 1 && level <= highestLevel(); }
    LevelRec* levelPtr(int level);
    const LevelRec* levelPtr(int level) const;
    LevelRec* levelOf(const CellRec& cell) { return levelPtr(cell.level); }
    // Purges the undo chains and releases the level's heap with every cell in it.
    void clearLevel(int level);
    bool levelEmpty(int level) const;
    // Whether every level from 1 up holds no cell.
    bool workbookEmpty() const;
    ScratchRecord& scratch() { return m_scratch; }

    // Installs the higher layers' hooks; null restores the defaults. The store does not own them.
    void setHooks(CellStoreHooks* hooks) { m_hooks = hooks ? hooks : &m_defaultHooks; }
    CellStoreHooks& hooks() { return *m_hooks; }

    // Marks the cell's level changed and notes that the cell changed in value, Array Area, text, type or
    // existence. `visible` false: only a placeholder came or went, which reads like an empty place. Writers
    // that only mark the level changed leave the recalculator to assume that anything changed there.
    void touch(const CellRec& cell, bool visible = true);
    // Notes the cell's place as touch does, without marking the level changed: an Array Area written
    // while the cell is computed.
    void notePlace(const CellRec& cell);
    // Notes a new value or failure mark of a Formula cell that marks nothing changed: the recalculator
    // storing what it computed. Every writer that marks the level changed needs no note.
    void noteValue(const CellRec& cell);

    // --- heap ---
    // Cell records, formula records, texts, Array Areas, reference arrays and objects (ObjectRec and
    // its data, kind 5) of a level all come from here; blocks are returned with their size.
    void* allocate(int level, long count, long size, int kind, ErrStat& err);
    void release(int level, void* block, std::size_t bytes, int kind, ErrStat& err);

    // --- lookup ---
    CellRec* findCell(int row, int col, int level, ErrStat& err) const;
    int lastCoveredColumn(int row, int level) const;
    CellRec* findOverlappingCell(int row, int col, int level, int& width, int& remaining, ErrStat& err) const;
    Occupancy occupancy(int row, int col, int level, int& width, ErrStat& err) const;
    int sumColumnWidths(int firstCol, int level, int count) const;
    // The cells of a row in column order (empty for a bad row or level).
    RowCells rowCells(int row, int level) const;

    // --- row lists ---
    void insertCell(CellRec* cell, bool checkOverlap, bool checkExisting, ErrStat& err);
    void unlinkCell(CellRec* cell, ErrStat& err);

    // --- Array Area ---
    int setArraySize(CellRec* cell, int n, ErrStat& err);
    int setArrayElements(CellRec* cell, const double* values, int first, int last, ErrStat& err);
    void freeArray(CellRec* cell, ErrStat& err);

    // --- tags ---
    // Double quotes become single quotes; cut at 255; an empty text only removes the tag. Returns the length.
    int setTag(CellRec* cell, std::string_view text, ErrStat& err);
    int freeTag(CellRec* cell, ErrStat& err);
    int freeVariableLabelText(CellRec* cell, ErrStat& err);
    std::string getTag(const CellRec* cell) const;
    // Gives a Formula cell the table descriptor `table` (owned by the cell's level), freeing any it had.
    bool attachTable(CellRec* cell, TableDescriptor* table, ErrStat& err);
    // The cell's table descriptor, or null.
    static TableDescriptor* tableOf(const CellRec* cell);

    // --- making cells ---
    CellRec* makeCell(int row, int col, int level, CellType type, ErrStat& err) {
        return makeCell(row, col, level, type, OverlapCheck::Check, err);
    }
    // Skip: a new cell may sit where a label overflows (loaders, and placeholders that are never shown).
    CellRec* makeCell(int row, int col, int level, CellType type, OverlapCheck overlap, ErrStat& err);

    // --- references and dependents ---
    // Stores the reference list (1..kMaxReferences same-level cells) after releasing the old one
    // and indexes it. The dependents counts are the caller's: raise them with addDependent.
    void setReferences(CellRec* cell, std::span<CellRec* const> list, ErrStat& err);
    // setReferences, then one addDependent per entry: what a compiler does after resolving.
    void linkReferences(CellRec* cell, std::span<CellRec* const> list, ErrStat& err);
    CellRec* getReference(const CellRec* cell, int k, ErrStat& err) const;
    void releaseReferences(CellRec* cell, ErrStat& err);
    // Raises the dependents count of a resolved reference; clears the pending mark.
    void addDependent(CellRec* target, CellRec* formulaCell);
    // The formula cells referencing `target`, one entry per reference, in (row, column) order.
    // Valid until the next change of any reference list.
    std::span<CellRec* const> dependentsOf(CellRec& target);
    // Referenced by a count or by an index entry: such a cell must never be freed.
    static bool isReferenced(const CellRec& cell);
    // Recomputes the dependents counts and the index from the level's reference lists.
    void rebuildDependents(int level, ErrStat& err);
    // Compares counts and index with the reference lists; empty when they agree, else the first difference.
    std::string checkDependents(int level) const;
    // Checks the row lists of a level (order, circularity, slots, bottom cell); empty when sound.
    std::string checkRows(int level) const;

    // --- deleting ---
    void deleteCellNow(CellRec* cell, ErrStat& err);
    void deleteCellForUndo(CellRec* cell, NotifyMode mode, ErrStat& err);
    void deleteBlock(int level, int firstRow, int firstCol, int lastRow, int lastCol, NotifyMode mode, bool repaint,
                     ErrStat& err);
    // Frees a chain of detached cells with everything they own (the chain is linked through next).
    void purgeChain(CellRec* first, ErrStat& err);
    CellRec* keepPlaceholder(CellRec* deleted, NotifyMode mode, ErrStat& err);
    // Puts a detached cell (taken off its chain) back at its place and re-enters its entry form: the
    // record goes into a free place, or its content into a placeholder there, which keeps its dependents.
    // A placeholder on the chain gives point 2, a real cell at the place point 3; the record stays the
    // caller's then. Returns the cell now at the place.
    CellRec* restoreDetached(CellRec* detached, ErrStat& err);

    // --- copying and moving ---
    CellRec* copyCell(const CellRec* source, int level, int row, int col, int rowOffset, int colOffset, int levelOffset,
                      ErrStat& err);
    CellRec* detachedCopy(const CellRec* source, int level, ErrStat& err);
    // 1 when moved, 0 when there is no cell at the source or a real cell at the target.
    int moveCell(int fromRow, int fromCol, int fromLevel, int toRow, int toCol, int toLevel, ErrStat& err);
    // Links an unlinked cell of its own level in again at a free place (rows being reordered); the
    // lists of dependents holding it stay in place order.
    void placeUnlinked(CellRec* cell, int row, int col, ErrStat& err);
    // Moves text, flags, style and formula record of `source` (unlinked, same level) into the
    // placeholder, which keeps its dependents and takes over those of `source`; frees `source`.
    void adoptContent(CellRec* placeholder, CellRec* source, ErrStat& err);

  private:
    CellRec* newCellRecord(LevelRec& level, ErrStat& err);
    FormulaRec* newFormulaRecord(LevelRec& level, ErrStat& err);
    void freeFormulaParts(LevelRec& level, CellRec& cell, ErrStat& err);
    void freeCellRecord(LevelRec& level, CellRec* cell, ErrStat& err);
    void stripCell(LevelRec& level, CellRec& cell, ErrStat& err);
    void dropReference(LevelRec& level, CellRec* target, CellRec* formula);
    void repointDependents(CellRec& from, CellRec& to);
    void reindexFormula(LevelRec& level, CellRec& formula, bool add, ErrStat& err);
    double* copyArray(LevelRec& level, const double* array, ErrStat& err);
    ObjectRec* copyObject(LevelRec& level, const ObjectRec* object, ErrStat& err);
    void freeObject(LevelRec& level, ObjectRec*& object, ErrStat& err);
    CellRec* buildCopy(const CellRec* source, LevelRec& level, CellRec* into, bool detached, const std::string& text,
                       ErrStat& err);
    bool blockProtected(const LevelRec& level, int firstRow, int firstCol, int lastRow, int lastCol) const;
    CellRec* relocateAcrossLevels(CellRec* cell, LevelRec& to, ErrStat& err);

    std::vector<std::unique_ptr<LevelRec>> m_levels;
    ScratchRecord& m_scratch;
    CellStoreHooks m_defaultHooks;
    CellStoreHooks* m_hooks = &m_defaultHooks;
};

}  // namespace qx
