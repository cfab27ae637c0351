#pragma once
// The descriptor a table object's formula record points at (through its ObjectRec): the title,
// the column and row names and a word per column. It and its strings live in the heap of the
// level that owns it, so it is copied, never shared, when the table moves to another level.
#include <cstdint>
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

constexpr int kMaxTableTitle = 64;  // the longest title kept; longer ones are cut

struct TableDescriptor {
    uint8_t ownerLevel = 0;
    char* title = nullptr;  // null when there is none
    uint16_t columnCount = 0;
    char** columnNames = nullptr;     // columnCount + 1 entries; entry 0 unused; null entries are "no name"
    uint16_t* columnWords = nullptr;  // columnCount + 1 words; word 0 holds the column count
    uint16_t rowCount = 0;
    char** rowNames = nullptr;  // rowCount + 1 entries; entry 0 is the corner text (row-label column)
    int32_t spare = 0;          // the third value a stored table carries; kept as read, not interpreted
};

// A column word: bits 0..3 the column's decimal precision, bits 4..7 a second setting.
namespace tableword {
constexpr int precision(uint16_t w) {
    return w & 0x0F;
}
constexpr int second(uint16_t w) {
    return (w >> 4) & 0x0F;
}
}  // namespace tableword

// Code 37 "out of range" when columns/rows do not fit 16 bits, level/precision not 8 bits, or both counts are 0.
// Every column gets `precision`; all names empty.
TableDescriptor* createTableDescriptor(LevelRec& level, long columns, long rows, long precision, ErrStat& err);
// Frees the descriptor, its arrays and strings into `level`'s heap and nulls the pointer; null is ignored.
void freeTableDescriptor(LevelRec& level, TableDescriptor*& table, ErrStat& err);
// A deep copy owned by `target`.
TableDescriptor* copyTableDescriptor(const TableDescriptor& table, LevelRec& target, ErrStat& err);

// Names: an empty text leaves no name. The title is cut at kMaxTableTitle characters.
// Index errors (column outside 1..count, row outside 0..count) give code 37 and change nothing.
bool setTableTitle(LevelRec& level, TableDescriptor& table, std::string_view text, ErrStat& err);
bool setColumnName(LevelRec& level, TableDescriptor& table, int column, std::string_view text, ErrStat& err);
bool setRowName(LevelRec& level, TableDescriptor& table, int row, std::string_view text, ErrStat& err);
std::string_view tableTitle(const TableDescriptor& table);
std::string_view columnName(const TableDescriptor& table, int column);  // empty outside 1..count
std::string_view rowName(const TableDescriptor& table, int row);        // 0 is the corner text; empty outside

// Column words. A precision of 16 or more clears the field.
bool setColumnPrecision(TableDescriptor& table, int column, int precision);
// Column 0 gives the column count; a column outside 1..count (or no descriptor) gives `levelDefault`.
int columnPrecision(const TableDescriptor* table, int column, int levelDefault);
bool setColumnWord(TableDescriptor& table, int column, uint16_t word);
uint16_t columnWord(const TableDescriptor& table, int column);  // 0 outside 0..count

// Shape changes made alongside the table's Array Area. Each leaves the descriptor unchanged on failure.
bool removeTableColumn(LevelRec& level, TableDescriptor& table, int column, ErrStat& err);
bool removeTableRow(LevelRec& level, TableDescriptor& table, int row, ErrStat& err);
bool swapTableColumns(TableDescriptor& table, int a, int b);
// Exchanges the column count and names with the row count and names; the corner text stays.
bool transposeTable(LevelRec& level, TableDescriptor& table, ErrStat& err);

}  // namespace qx
