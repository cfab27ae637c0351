#pragma once
// Handlers of the Edit menu's block commands.
#include "app/command_table.h"

namespace qx {

CommandOutcome deleteCommand(Session& session, ErrStat& err);
CommandOutcome undoDeleteCommand(Session& session, ErrStat& err);
CommandOutcome cutCommand(Session& session, ErrStat& err);
CommandOutcome copyCommand(Session& session, ErrStat& err);
CommandOutcome pasteCommand(Session& session, ErrStat& err);
CommandOutcome sortRowsCommand(Session& session, ErrStat& err);
CommandOutcome joinCommand(Session& session, ErrStat& err);
CommandOutcome sumCellsCommand(Session& session, ErrStat& err);
CommandOutcome labelsToFormulasCommand(Session& session, ErrStat& err);
CommandOutcome formulasToLabelsCommand(Session& session, ErrStat& err);
CommandOutcome findNextCommand(Session& session, ErrStat& err);
CommandOutcome replaceCommand(Session& session, ErrStat& err);

}  // namespace qx
