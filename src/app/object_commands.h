#pragma once
// The commands of captured objects and table objects, acting on the active level's cell pointer and
// selection through the session's capture buffer.
#include <span>

#include "app/command_table.h"
#include "objects/table_operations.h"

namespace qx {

CommandOutcome captureCommand(Session& session, ErrStat& err);
CommandOutcome captureTableCommand(Session& session, ErrStat& err);
CommandOutcome captureMatrixCommand(Session& session, ErrStat& err);
CommandOutcome captureXYZCommand(Session& session, ErrStat& err);
CommandOutcome captureSegmentCommand(Session& session, ErrStat& err);
CommandOutcome capturePolygonCommand(Session& session, ErrStat& err);
CommandOutcome placeCommand(Session& session, ErrStat& err);
CommandOutcome placeSheetCommand(Session& session, ErrStat& err);

// The table operations on the table object under the cell pointer. Those that need numbers ask for them.
CommandOutcome invertCommand(Session& session, ErrStat& err);
CommandOutcome swapColumnsCommand(Session& session, ErrStat& err);
CommandOutcome removeRowCommand(Session& session, ErrStat& err);
CommandOutcome removeColumnCommand(Session& session, ErrStat& err);
CommandOutcome sortCommand(Session& session, ErrStat& err);
CommandOutcome setValueCommand(Session& session, ErrStat& err);

enum class TableAction { Invert, SwapColumns, RemoveRow, RemoveColumn, Sort, SetValue };

struct TableRequest {
    TableAction action = TableAction::Invert;
    int first = 0;   // the column or row; the first of two columns; the row of a value to set
    int second = 0;  // the other column to swap; the column of a value to set
    std::span<const SortKey> keys;
    double value = 0;  // the value to set
};

// "ROW COL VALUE" as typed: two whole numbers and a finite number, separated by blanks or commas.
bool readSetValue(std::string_view text, TableRequest& request);

// Runs one table operation on the table under the cell pointer and recalculates what depends on it.
CommandOutcome runTableOperation(Session& session, const TableRequest& request, ErrStat& err);
// The same for a request whose numbers are already known, checked as the table commands are: the active
// level must allow editing (a refusal ends quietly once its box has said why).
CommandOutcome requestTableOperation(Session& session, const TableRequest& request, ErrStat& err);

}  // namespace qx
