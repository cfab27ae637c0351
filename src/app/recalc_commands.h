#pragma once
// The Recalculate and Debug menu commands: calculation methods, "All cells", "Selected cell(s)" and the
// two walks over the cells a cell affects or uses.
#include "app/command_table.h"

namespace qx {

CommandOutcome normalCalcCommand(Session& session, ErrStat& err);
CommandOutcome forcedCalcCommand(Session& session, ErrStat& err);
CommandOutcome preventCalcCommand(Session& session, ErrStat& err);
CommandOutcome allCellsCommand(Session& session, ErrStat& err);
CommandOutcome selectedCellsCommand(Session& session, ErrStat& err);
CommandOutcome showAffectedCommand(Session& session, ErrStat& err);
CommandOutcome showUsedCommand(Session& session, ErrStat& err);

}  // namespace qx
