#pragma once
// Handlers of the Attributes menu and the attribute buttons of the "Standard mode" bar.
#include "app/command_table.h"

namespace qx {

// What an attribute command does to the selection.
enum class AttributeChange {
    Hide,
    Unhide,
    Protect,
    Unprotect,
    AddBorder,
    RemoveBorder,
    AddBackground,
    RemoveBackground
};

// The "Attribute settings" box for the cell under the pointer.
CommandOutcome attributeSettingsCommand(Session& session, ErrStat& err);

// Each applies its change to the selection (see Session::changeAttributes). "+BkColor" has none: its
// colour comes from a dialog in the desktop program and from the bkcolor verb in quorix-cli.
CommandOutcome hideCommand(Session& session, ErrStat& err);
CommandOutcome unhideCommand(Session& session, ErrStat& err);
CommandOutcome protectCommand(Session& session, ErrStat& err);
CommandOutcome unprotectCommand(Session& session, ErrStat& err);
CommandOutcome addBorderCommand(Session& session, ErrStat& err);
CommandOutcome removeBorderCommand(Session& session, ErrStat& err);
CommandOutcome removeBackgroundCommand(Session& session, ErrStat& err);

}  // namespace qx
