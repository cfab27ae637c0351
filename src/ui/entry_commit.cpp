#include "ui/entry_commit.h"

#include "app/session.h"
#include "protect/protection.h"

namespace qx {

CommitOutcome commitEntry(Session& session, int level, int row, int col, std::string_view text, ErrStat& err) {
    err.enter();
    session.scratch().formulaErrorCaptured = false;  // a new edit starts a new error capture
    CommitOutcome out;
    CellStore& cells = session.cells();
    if (classifyEntry(text) == EntryKind::ShortCut) {
        // "=" followed by more writes into the cell's Array Area: that edits the cell as typing over it does.
        const bool fills = text.front() == '=' && text.find_first_not_of(' ', 1) != std::string_view::npos;
        if (fills && !session.allows(kActionEdit, level)) return out;
        CellRec* current = cells.findCell(row, col, level, err);
        const ShortCutResult r = session.formulas().shortCuts().run(session.platform(), current, level, row, col, text);
        out.stored = true;
        out.moved = r.moved;
        out.row = r.row;
        out.col = r.col;
        return out;
    }
    // Typing over a cell edits it; typing into an empty place adds one.
    const CellRec* existing = cells.findCell(row, col, level, err);
    const bool adds = existing == nullptr || existing->isPlaceholder();
    if (!session.allows(adds ? kActionAddCells : kActionEdit, level)) return out;
    session.formulas().entry().storeEntry(text, row, col, level, EntryOptions{}, err);
    out.stored = true;
    session.recalc().retryFailedCells();  // a committed edit may let failed cells compute again
    return out;
}

}  // namespace qx
