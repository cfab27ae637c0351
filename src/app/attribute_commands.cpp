#include "app/attribute_commands.h"

#include "app/session.h"
#include "core/attributes.h"

namespace qx {

CommandOutcome attributeSettingsCommand(Session& session, ErrStat& err) {
    err.enter();
    const int level = session.activeLevel();
    const CellPointer at = session.pointer();
    const CellRec* cell = session.cells().findCell(at.row, at.col, level, err);
    const LevelRec* rec = session.cells().levelPtr(level);
    if (err.failed() || rec == nullptr) return CommandOutcome::Failed;
    if (cell == nullptr) {
        session.platform().messageBox("", "EMPTY CELL!", BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    const EffectiveAttributes shown = effectiveAttributes(*rec, cell, at.row, at.col);
    showAttributeSettings(session.platform(), shown.style, shown.cellFlags, *rec, session.globals().defaults.fontSize);
    return CommandOutcome::Done;
}

}  // namespace qx
