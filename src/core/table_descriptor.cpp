#include "core/table_descriptor.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/cell_heap.h"
#include "core/origins.h"

namespace qx {

using namespace origins::core;
namespace {

// Pointer and word arrays live in the heap like every other part of a level's cells.
char** newNameArray(LevelRec& level, int count, ErrStat& err) {
    return static_cast<char**>(heapAllocate(level, count + 1, sizeof(char*), heapkind::kObject, err));
}

uint16_t* newWordArray(LevelRec& level, int count, ErrStat& err) {
    return static_cast<uint16_t*>(heapAllocate(level, count + 1, sizeof(uint16_t), heapkind::kObject, err));
}

void freeNameArray(LevelRec& level, char**& names, int count, ErrStat& err) {
    if (names == nullptr) return;
    for (int k = 0; k <= count; ++k) heapFreeText(level, names[k], err);
    heapFree(level, names, static_cast<std::size_t>(count + 1) * sizeof(char*), heapkind::kObject, err);
    names = nullptr;
}

void freeWordArray(LevelRec& level, uint16_t*& words, int count, ErrStat& err) {
    if (words == nullptr) return;
    heapFree(level, words, static_cast<std::size_t>(count + 1) * sizeof(uint16_t), heapkind::kObject, err);
    words = nullptr;
}

// Replaces one name slot; the old text is freed only once the new one exists.
bool setName(LevelRec& level, char*& slot, std::string_view text, ErrStat& err) {
    char* fresh = nullptr;
    if (!text.empty()) {
        fresh = heapText(level, text, err);
        if (err.failed()) return err.trace(kTableDescriptorOrigin), false;
    }
    heapFreeText(level, slot, err);
    slot = fresh;
    return true;
}

// A copy of `names` (count + 1 entries) without entry `skip` (-1 keeps all), into `level`'s heap.
char** copyNames(LevelRec& level, char* const* names, int count, int skip, ErrStat& err) {
    const int kept = skip < 0 ? count : count - 1;
    char** out = newNameArray(level, kept, err);
    if (err.failed()) return nullptr;
    for (int from = 0, to = 0; from <= count; ++from) {
        if (from == skip) continue;
        if (names != nullptr && names[from] != nullptr) {
            out[to] = heapText(level, names[from], err);
            if (err.failed()) {
                freeNameArray(level, out, kept, err);
                return nullptr;
            }
        }
        ++to;
    }
    return out;
}

uint16_t* copyWords(LevelRec& level, const uint16_t* words, int count, int skip, ErrStat& err) {
    const int kept = skip < 0 ? count : count - 1;
    uint16_t* out = newWordArray(level, kept, err);
    if (err.failed()) return nullptr;
    for (int from = 1, to = 1; from <= count; ++from) {
        if (from == skip) continue;
        out[to++] = words != nullptr ? words[from] : 0;
    }
    out[0] = static_cast<uint16_t>(kept);
    return out;
}

std::string_view nameAt(char* const* names, int count, int index) {
    if (names == nullptr || index < 0 || index > count || names[index] == nullptr) return {};
    return names[index];
}

bool fits(long value, long limit) {
    return value >= 0 && value <= limit;
}

}  // namespace

TableDescriptor* createTableDescriptor(LevelRec& level, long columns, long rows, long precision, ErrStat& err) {
    err.enter();
    if (!fits(columns, std::numeric_limits<uint16_t>::max()) || !fits(rows, std::numeric_limits<uint16_t>::max()) ||
        !fits(level.number, 255) || !fits(precision, 255) || (columns == 0 && rows == 0)) {
        return err.fail(kTableDescriptorOrigin, 1, Msg::ParameterOutOfRange), nullptr;
    }
    auto* table =
        static_cast<TableDescriptor*>(heapAllocate(level, 1, sizeof(TableDescriptor), heapkind::kObject, err));
    if (err.failed()) return err.trace(kTableDescriptorOrigin), nullptr;
    table->ownerLevel = static_cast<uint8_t>(level.number);
    table->columnCount = static_cast<uint16_t>(columns);
    table->rowCount = static_cast<uint16_t>(rows);
    table->columnNames = newNameArray(level, table->columnCount, err);
    if (!err.failed()) table->columnWords = newWordArray(level, table->columnCount, err);
    if (!err.failed()) table->rowNames = newNameArray(level, table->rowCount, err);
    if (err.failed()) {
        ErrStat ignored;
        freeTableDescriptor(level, table, ignored);
        return err.trace(kTableDescriptorOrigin), nullptr;
    }
    table->columnWords[0] = table->columnCount;
    for (int c = 1; c <= table->columnCount; ++c) setColumnPrecision(*table, c, static_cast<int>(precision));
    return table;
}

void freeTableDescriptor(LevelRec& level, TableDescriptor*& table, ErrStat& err) {
    err.enter();
    if (table == nullptr) return;
    heapFreeText(level, table->title, err);
    freeNameArray(level, table->columnNames, table->columnCount, err);
    freeWordArray(level, table->columnWords, table->columnCount, err);
    freeNameArray(level, table->rowNames, table->rowCount, err);
    heapFree(level, table, sizeof(TableDescriptor), heapkind::kObject, err);
    table = nullptr;
}

TableDescriptor* copyTableDescriptor(const TableDescriptor& table, LevelRec& target, ErrStat& err) {
    err.enter();
    auto* copy =
        static_cast<TableDescriptor*>(heapAllocate(target, 1, sizeof(TableDescriptor), heapkind::kObject, err));
    if (err.failed()) return err.trace(kTableDescriptorOrigin), nullptr;
    copy->ownerLevel = static_cast<uint8_t>(target.number);
    copy->columnCount = table.columnCount;
    copy->rowCount = table.rowCount;
    copy->spare = table.spare;
    if (table.title != nullptr) copy->title = heapText(target, table.title, err);
    if (!err.failed()) copy->columnNames = copyNames(target, table.columnNames, table.columnCount, -1, err);
    if (!err.failed()) copy->columnWords = copyWords(target, table.columnWords, table.columnCount, -1, err);
    if (!err.failed()) copy->rowNames = copyNames(target, table.rowNames, table.rowCount, -1, err);
    if (err.failed()) {
        ErrStat ignored;
        freeTableDescriptor(target, copy, ignored);
        return err.trace(kTableDescriptorOrigin), nullptr;
    }
    return copy;
}

bool setTableTitle(LevelRec& level, TableDescriptor& table, std::string_view text, ErrStat& err) {
    err.enter();
    return setName(level, table.title, text.substr(0, kMaxTableTitle), err);
}

bool setColumnName(LevelRec& level, TableDescriptor& table, int column, std::string_view text, ErrStat& err) {
    err.enter();
    if (column < 1 || column > table.columnCount)
        return err.fail(kTableDescriptorOrigin, 2, Msg::ParameterOutOfRange), false;
    return setName(level, table.columnNames[column], text, err);
}

bool setRowName(LevelRec& level, TableDescriptor& table, int row, std::string_view text, ErrStat& err) {
    err.enter();
    if (row < 0 || row > table.rowCount) return err.fail(kTableDescriptorOrigin, 3, Msg::ParameterOutOfRange), false;
    return setName(level, table.rowNames[row], text, err);
}

std::string_view tableTitle(const TableDescriptor& table) {
    return table.title != nullptr ? std::string_view(table.title) : std::string_view();
}

std::string_view columnName(const TableDescriptor& table, int column) {
    return column < 1 ? std::string_view() : nameAt(table.columnNames, table.columnCount, column);
}

std::string_view rowName(const TableDescriptor& table, int row) {
    return nameAt(table.rowNames, table.rowCount, row);
}

bool setColumnPrecision(TableDescriptor& table, int column, int precision) {
    if (column < 1 || column > table.columnCount || table.columnWords == nullptr) return false;
    uint16_t& word = table.columnWords[column];
    const uint16_t field = precision >= 0 && precision < 16 ? static_cast<uint16_t>(precision) : 0;
    word = static_cast<uint16_t>((word & ~0x000Fu) | field);
    return true;
}

int columnPrecision(const TableDescriptor* table, int column, int levelDefault) {
    if (table == nullptr || table->columnWords == nullptr) return levelDefault;
    if (column == 0) return table->columnCount;
    if (column < 1 || column > table->columnCount) return levelDefault;
    return tableword::precision(table->columnWords[column]);
}

bool setColumnWord(TableDescriptor& table, int column, uint16_t word) {
    if (column < 1 || column > table.columnCount || table.columnWords == nullptr) return false;
    table.columnWords[column] = word;
    return true;
}

uint16_t columnWord(const TableDescriptor& table, int column) {
    if (column < 0 || column > table.columnCount || table.columnWords == nullptr) return 0;
    return table.columnWords[column];
}

bool removeTableColumn(LevelRec& level, TableDescriptor& table, int column, ErrStat& err) {
    err.enter();
    if (column < 1 || column > table.columnCount)
        return err.fail(kTableDescriptorOrigin, 4, Msg::ParameterOutOfRange), false;
    char** names = copyNames(level, table.columnNames, table.columnCount, column, err);
    uint16_t* words = err.failed() ? nullptr : copyWords(level, table.columnWords, table.columnCount, column, err);
    if (err.failed()) {
        ErrStat ignored;
        freeNameArray(level, names, table.columnCount - 1, ignored);
        return err.trace(kTableDescriptorOrigin), false;
    }
    freeNameArray(level, table.columnNames, table.columnCount, err);
    freeWordArray(level, table.columnWords, table.columnCount, err);
    table.columnNames = names;
    table.columnWords = words;
    --table.columnCount;
    return true;
}

bool removeTableRow(LevelRec& level, TableDescriptor& table, int row, ErrStat& err) {
    err.enter();
    if (row < 1 || row > table.rowCount) return err.fail(kTableDescriptorOrigin, 5, Msg::ParameterOutOfRange), false;
    char** names = copyNames(level, table.rowNames, table.rowCount, row, err);
    if (err.failed()) return err.trace(kTableDescriptorOrigin), false;
    freeNameArray(level, table.rowNames, table.rowCount, err);
    table.rowNames = names;
    --table.rowCount;
    return true;
}

bool swapTableColumns(TableDescriptor& table, int a, int b) {
    if (a < 1 || b < 1 || a > table.columnCount || b > table.columnCount) return false;
    std::swap(table.columnNames[a], table.columnNames[b]);
    std::swap(table.columnWords[a], table.columnWords[b]);
    return true;
}

bool transposeTable(LevelRec& level, TableDescriptor& table, ErrStat& err) {
    err.enter();
    // The former rows had no words of their own: they take the columns' common word when
    // every column agrees, else the level's default precision.
    uint16_t word = static_cast<uint16_t>(level.defaults.precision & 0x0F);
    if (table.columnCount > 0) {
        const uint16_t* first = table.columnWords + 1;
        const uint16_t* last = table.columnWords + table.columnCount + 1;
        if (std::all_of(first, last, [first](uint16_t w) { return w == *first; })) word = *first;
    }
    uint16_t* words = newWordArray(level, table.rowCount, err);
    if (err.failed()) return err.trace(kTableDescriptorOrigin), false;
    words[0] = table.rowCount;
    std::fill(words + 1, words + table.rowCount + 1, word);
    freeWordArray(level, table.columnWords, table.columnCount, err);
    table.columnWords = words;
    // The corner text labels the row-name column and stays where it is.
    std::swap(table.columnNames[0], table.rowNames[0]);
    std::swap(table.columnNames, table.rowNames);
    std::swap(table.columnCount, table.rowCount);
    return true;
}

}  // namespace qx
