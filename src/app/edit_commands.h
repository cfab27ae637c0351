#pragma once
// Handlers of the Edit menu's block commands.
#include "app/command_table.h"

namespace qx {

CommandOutcome deleteCommand(Session& session, ErrStat& err);

}  // namespace qx
