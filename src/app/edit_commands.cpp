#include "app/edit_commands.h"

#include "app/session.h"
#include "core/recalculator.h"

namespace qx {
namespace {

constexpr Origin kOriginDelete{kLetterA, 95, 20};

bool isWholeSheet(const CellArea& area) {
    return area.firstRow == 1 && area.firstCol == 1 && area.lastRow == kMaxRow && area.lastCol == kMaxCol;
}

}  // namespace

CommandOutcome deleteCommand(Session& session, ErrStat& err) {
    err.enter();
    if (isWholeSheet(session.selection())) {
        BoxAnswer answer = session.platform().messageBox(
            "Deleting cells", "You are about to delete the entire worksheet.\n\nIs this what you want to do?",
            BoxIcon::Question, BoxButtons::YesNo);
        if (answer != BoxAnswer::Yes) return CommandOutcome::Done;
    }
    const CellArea area = session.selection();
    session.cells().deleteBlock(session.activeLevel(), area.firstRow, area.firstCol, area.lastRow, area.lastCol,
                                notifymode::kEdit, true, err);
    if (err.failed()) {
        err.trace(kOriginDelete);
        return CommandOutcome::Failed;
    }
    return CommandOutcome::Done;
}

}  // namespace qx
