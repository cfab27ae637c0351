#include "app/edit_commands.h"

#include "app/session.h"

namespace qx {
namespace {

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
    return CommandOutcome::NotAvailable;
}

}  // namespace qx
