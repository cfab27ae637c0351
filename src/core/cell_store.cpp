// Levels, the heap front door, lookups and the row lists.
#include "core/cell_store.h"

#include <algorithm>

#include "core/cell_heap.h"
#include "core/origins.h"
#include "core/slot.h"

namespace qx {

using namespace origins::core;

namespace {

constexpr int kRowSlots = kMaxRow + 1;
constexpr uint16_t kStartRowHeight = 17;
constexpr uint16_t kStartColumnWidth = 80;
constexpr uint32_t kLineWrapBit = 1u << 17;
constexpr int kUnlinkStepLimit = 256;

std::unique_ptr<LevelRec> newLevel(int number, const LevelDefaults& defaults, std::string_view directory) {
    auto level = std::make_unique<LevelRec>();
    level->number = number;
    level->defaultFileName = "wksht" + std::to_string(number) + ".qx2";
    level->directory = std::string(directory);
    level->defaults = defaults;
    level->rowHeights.assign(kRowSlots, kStartRowHeight);
    level->colWidths.fill(kStartColumnWidth);
    return level;
}

bool validRow(int row) {
    return row >= 1 && row <= kMaxRow;
}
bool validCol(int col) {
    return col >= 1 && col <= kMaxCol;
}

}  // namespace

CellStore::CellStore(int levelCount, const LevelDefaults& defaults, std::string_view directory, ScratchRecord& scratch)
    : m_scratch(scratch) {
    const int count = std::clamp(levelCount, 2, kMaxLevelCount);
    m_levels.reserve(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) m_levels.push_back(newLevel(n, defaults, directory));
}

CellStore::~CellStore() = default;

LevelRec* CellStore::levelPtr(int level) {
    return validLevel(level) ? slot(m_levels, level).get() : nullptr;
}

const LevelRec* CellStore::levelPtr(int level) const {
    return validLevel(level) ? slot(m_levels, level).get() : nullptr;
}

void CellStore::clearLevel(int level) {
    LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return;
    // Slots below the bottom row are empty already; leaving them alone keeps their pages untouched.
    const int usedRows = rec->bottom != nullptr ? rec->bottom->row + 1 : 0;
    // Everything the chains and the index hold lives in the heap, so releasing it drops them whole.
    heapDestroy(*rec);
    ++rec->clears;
    rec->undoNewer = nullptr;
    rec->undoOlder = nullptr;
    rec->bottom = nullptr;
    std::fill(rec->rows.begin(), rec->rows.begin() + usedRows, nullptr);
    rec->fontNames.clear();
    rec->pendingDelete.clear();
    rec->pendingPaste.clear();
    rec->pasteSource = 0;
    rec->clipMode = ClipMode::Empty;
    m_hooks->levelCleared(*this, level);
}

bool CellStore::levelEmpty(int level) const {
    const LevelRec* rec = levelPtr(level);
    return rec == nullptr || rec->bottom == nullptr;
}

bool CellStore::workbookEmpty() const {
    for (int level = 1; level <= highestLevel(); ++level) {
        if (!levelEmpty(level)) return false;
    }
    return true;
}

void* CellStore::allocate(int level, long count, long size, int kind, ErrStat& err) {
    err.enter();
    LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return err.fail(kStoreAllocate, 3, WMsg::AllocationError), nullptr;
    return heapAllocate(*rec, count, size, kind, err);
}

void CellStore::release(int level, void* block, std::size_t bytes, int kind, ErrStat& err) {
    err.enter();
    LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return void(err.fail(kStoreRelease, 3, WMsg::AllocationError));
    heapFree(*rec, block, bytes, kind, err);
}

void CellStore::touch(const CellRec& cell, bool visible) {
    LevelRec* level = levelPtr(cell.level);
    if (level == nullptr) return;
    TouchLog& log = level->touched;
    const bool accounted = log.accounted == level->changed.settings();
    level->changed = true;
    if (accounted) log.accounted = level->changed.settings();
    if (visible) notePlace(cell);
}

void CellStore::noteValue(const CellRec& cell) {
    if (LevelRec* level = levelPtr(cell.level)) ++level->columnWrites[cell.col];
}

void CellStore::notePlace(const CellRec& cell) {
    LevelRec* level = levelPtr(cell.level);
    if (level == nullptr) return;
    ++level->columnWrites[cell.col];
    TouchLog& log = level->touched;
    if (log.overflow) return;
    if (log.places.size() >= TouchLog::kLimit) {
        log.overflow = true;
        log.places.clear();
        return;
    }
    log.places.push_back(static_cast<uint32_t>(cell.row) << 8 | cell.col);
}

CellRec* CellStore::findCell(int row, int col, int level, ErrStat& err) const {
    err.enter();
    if (!validRow(row)) return err.fail(kFind, 1, Msg::RowOutOfRange), nullptr;
    if (!validCol(col)) return err.fail(kFind, 2, Msg::ColumnOutOfRange), nullptr;
    if (!validLevel(level)) return err.fail(kFind, 3, Msg::LevelOutOfRange), nullptr;
    if (lastCoveredColumn(row, level) < col) return nullptr;
    for (CellRec* cell : rowCells(row, level)) {
        if (cell->col == 0) return err.fail(kFind, 4, Msg::ColumnOutOfRange), nullptr;
        if (cell->col == col) return cell;
        if (cell->col > col) return nullptr;
    }
    return nullptr;
}

int CellStore::lastCoveredColumn(int row, int level) const {
    if (!validRow(row) || !validLevel(level)) return 0;
    const CellRec* last = slot(slot(m_levels, level)->rows, row);
    if (last == nullptr) return 0;
    return last->col + (last->isLabelLike() ? last->overlapped() : 0);
}

CellRec* CellStore::findOverlappingCell(int row, int col, int level, int& width, int& remaining, ErrStat& err) const {
    err.enter();
    width = 0;
    remaining = 0;
    if (!validRow(row)) return err.fail(kFindOverlapping, 1, Msg::RowOutOfRange), nullptr;
    if (!validCol(col)) return err.fail(kFindOverlapping, 2, Msg::ColumnOutOfRange), nullptr;
    if (!validLevel(level)) return err.fail(kFindOverlapping, 3, Msg::LevelOutOfRange), nullptr;
    CellRec* left = nullptr;
    for (CellRec* cell : rowCells(row, level)) {
        if (cell->col >= col) break;
        left = cell;
    }
    if (left == nullptr || !left->isLabelLike() || (left->style & kLineWrapBit) != 0) return nullptr;
    const int reach = left->col + left->overlapped();
    if (reach < col) return nullptr;
    width = sumColumnWidths(left->col, level, col - left->col);
    remaining = reach - col + 1;
    return left;
}

Occupancy CellStore::occupancy(int row, int col, int level, int& width, ErrStat& err) const {
    err.enter();
    width = 0;
    CellRec* cell = findCell(row, col, level, err);
    if (err.failed()) return err.trace(kOccupancy), Occupancy::Free;
    if (cell != nullptr) return cell->isPlaceholder() ? Occupancy::Placeholder : Occupancy::Cell;
    int remaining = 0;
    CellRec* over = findOverlappingCell(row, col, level, width, remaining, err);
    if (err.failed()) return err.trace(kOccupancy), Occupancy::Free;
    return over ? Occupancy::Overlapped : Occupancy::Free;
}

int CellStore::sumColumnWidths(int firstCol, int level, int count) const {
    if (!validLevel(level) || firstCol < 1) return 0;
    const LevelRec& rec = *slot(m_levels, level);
    int total = 0;
    for (int col = firstCol; count > 0 && col <= kMaxCol; ++col, --count) total += slot(rec.colWidths, col) & 0x7FFF;
    return total;
}

RowCells CellStore::rowCells(int row, int level) const {
    if (!validRow(row) || !validLevel(level)) return RowCells{};
    return RowCells{slot(slot(m_levels, level)->rows, row)};
}

void CellStore::insertCell(CellRec* cell, bool checkOverlap, bool checkExisting, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return void(err.fail(kInsert, 1, Msg::NullCellAddress));
    if (!worksheetLevel(cell->level)) return void(err.fail(kInsert, 2, Msg::LevelOutOfRange));
    if (!validRow(cell->row)) return void(err.fail(kInsert, 5, Msg::RowOutOfRange));
    if (!validCol(cell->col)) return void(err.fail(kInsert, 5, Msg::ColumnOutOfRange));
    const int row = cell->row;
    const int col = cell->col;
    if (checkOverlap) {
        int width = 0;
        int remaining = 0;
        if (findOverlappingCell(row, col, cell->level, width, remaining, err)) {
            return void(err.fail(kInsert, 3, Msg::CellUnavailable));
        }
    }
    if (checkExisting && findCell(row, col, cell->level, err)) return void(err.fail(kInsert, 4, Msg::CellUnavailable));
    if (err.failed()) return err.trace(kInsert);

    LevelRec& level = *m_levels[cell->level];
    CellRec*& lastInRow = slot(level.rows, row);
    if (lastInRow == nullptr) {
        cell->next = cell;
        lastInRow = cell;
    } else {
        CellRec* first = lastInRow->next;
        if (col < first->col) {
            cell->next = first;
            lastInRow->next = cell;
        } else if (col >= lastInRow->col) {
            cell->next = first;
            lastInRow->next = cell;
            lastInRow = cell;
        } else {
            CellRec* at = first;
            for (int steps = 0; at->next->col <= col; at = at->next) {
                if (++steps > kMaxCol + 1) return void(err.fail(kInsert, 6, Msg::ColumnOutOfRange));
            }
            cell->next = at->next;
            at->next = cell;
        }
    }
    if (level.bottom == nullptr || row >= level.bottom->row) level.bottom = lastInRow;
    ++level.columnWrites[static_cast<std::size_t>(col)];
}

void CellStore::unlinkCell(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return void(err.fail(kUnlink, 1, Msg::NullCellAddress));
    if (!worksheetLevel(cell->level)) return void(err.fail(kUnlink, 2, Msg::LevelOutOfRange));
    if (!validRow(cell->row)) return void(err.fail(kUnlink, 3, Msg::RowOutOfRange));
    LevelRec& level = *m_levels[cell->level];
    CellRec*& lastInRow = slot(level.rows, cell->row);
    if (lastInRow == nullptr) return void(err.fail(kUnlink, 3, Msg::ColumnOutOfRange));
    ++level.columnWrites[cell->col];
    CellRec* first = lastInRow->next;
    if (cell == first && cell == lastInRow) {
        lastInRow = nullptr;
    } else {
        CellRec* before = lastInRow;
        for (int steps = 0; before->next != cell; before = before->next) {
            if (++steps > kUnlinkStepLimit) return void(err.fail(kUnlink, 4, Msg::ColumnOutOfRange));
        }
        before->next = cell->next;
        if (cell == lastInRow) lastInRow = before;
    }
    cell->next = nullptr;
    if (level.bottom != cell) return;
    level.bottom = lastInRow;
    for (int row = cell->row - 1; level.bottom == nullptr && row >= 1; --row) level.bottom = slot(level.rows, row);
}

}  // namespace qx
