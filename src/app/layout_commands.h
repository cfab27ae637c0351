#pragma once
// Handlers of the Row, Column and Shift commands.
#include "app/command_table.h"

namespace qx {

CommandOutcome rowInsertCommand(Session& session, ErrStat& err);
CommandOutcome rowDeleteCommand(Session& session, ErrStat& err);
CommandOutcome colInsertCommand(Session& session, ErrStat& err);
CommandOutcome colDeleteCommand(Session& session, ErrStat& err);
CommandOutcome shiftLeftCommand(Session& session, ErrStat& err);
CommandOutcome shiftRightCommand(Session& session, ErrStat& err);
CommandOutcome shiftUpCommand(Session& session, ErrStat& err);
CommandOutcome shiftDownCommand(Session& session, ErrStat& err);

}  // namespace qx
