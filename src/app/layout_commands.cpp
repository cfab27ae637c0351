#include "app/layout_commands.h"

#include "app/origins.h"
#include "app/session.h"
#include "edit/cell_shift.h"
#include "edit/layout_change.h"
#include "protect/protection.h"
#include "recalc/recalc.h"

namespace qx {

using namespace origins::app;
namespace {

// Runs one layout change on the active level with the session's pointer and selection.
CommandOutcome runLayout(Session& session, LayoutRequest request, ErrStat& err) {
    err.enter();
    LayoutServices services{session.cells(), session.platform(),
                            [&session](int action, int level) {
                                return CheckAction(session.protection(), action, level, session.highestLevel(),
                                                   session.platform());
                            },
                            [&session](int) {
                                // A Range Operation on any level may name places of the one that changed.
                                for (int level = 1; level <= session.highestLevel(); ++level) {
                                    session.recalc().recomputeRangeOperations(level);
                                }
                            }};
    LayoutWindow window{session.pointer().row, session.pointer().col, session.activeLevel()};
    LayoutSelection selection{session.activeLevel(), session.selection()};
    const CellPointer before = session.pointer();
    changeLayout(services, window, selection, request, err);
    if (err.failed()) {
        err.trace(kOriginLayout);
        return CommandOutcome::Failed;
    }
    // The session keeps the pointer on the selection's first cell, which a shift moves alike.
    if (window.row != before.row || window.col != before.col) {
        ErrStat ignored;
        session.select(selection.level, selection.area, ignored);
    }
    return CommandOutcome::Done;
}

CommandOutcome lines(Session& session, int operation, int scope, ErrStat& err) {
    return runLayout(session, LayoutRequest{operation, scope, 0, true}, err);
}

CommandOutcome shifted(Session& session, int direction, ErrStat& err) {
    return runLayout(session, LayoutRequest{layout::kShift, layout::kScopeSelection, direction, true}, err);
}

}  // namespace

CommandOutcome rowInsertCommand(Session& session, ErrStat& err) {
    return lines(session, layout::kInsert, layout::kScopeRows, err);
}

CommandOutcome rowDeleteCommand(Session& session, ErrStat& err) {
    return lines(session, layout::kRemove, layout::kScopeRows, err);
}

CommandOutcome colInsertCommand(Session& session, ErrStat& err) {
    return lines(session, layout::kInsert, layout::kScopeColumns, err);
}

CommandOutcome colDeleteCommand(Session& session, ErrStat& err) {
    return lines(session, layout::kRemove, layout::kScopeColumns, err);
}

CommandOutcome shiftLeftCommand(Session& session, ErrStat& err) {
    return shifted(session, shift::kLeft, err);
}

CommandOutcome shiftRightCommand(Session& session, ErrStat& err) {
    return shifted(session, shift::kRight, err);
}

CommandOutcome shiftUpCommand(Session& session, ErrStat& err) {
    return shifted(session, shift::kUp, err);
}

CommandOutcome shiftDownCommand(Session& session, ErrStat& err) {
    return shifted(session, shift::kDown, err);
}

}  // namespace qx
