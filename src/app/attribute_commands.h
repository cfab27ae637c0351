#pragma once
// Handlers of the Attributes menu.
#include "app/command_table.h"

namespace qx {

// The "Attribute settings" box for the cell under the pointer.
CommandOutcome attributeSettingsCommand(Session& session, ErrStat& err);

}  // namespace qx
