#include "app/recalc_commands.h"

#include <string>
#include <vector>

#include "app/session.h"
#include "core/circular.h"

namespace qx {
namespace {

constexpr const char* kErrorCellsText = "Sorry, this feature does not work with cells that contain errors.";

std::string place(const CellRec& c) {
    return "[" + std::to_string(c.row) + "," + std::to_string(c.col) + ",0," + std::to_string(c.level) + "]";
}

// The Formula and Variable Label places of the selection, taken before any of them changes.
std::vector<CellRec*> selectedFormulas(Session& session) {
    std::vector<CellRec*> cells;
    const CellArea area = session.selection();
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        for (CellRec* c : session.cells().rowCells(row, session.activeLevel())) {
            if (c->col >= area.firstCol && c->col <= area.lastCol && c->formulaLike()) cells.push_back(c);
        }
    }
    return cells;
}

enum class Method { Normal, Forced, Prevent };

CommandOutcome setMethod(Session& session, Method method) {
    for (CellRec* c : selectedFormulas(session)) {
        const bool wasPrevented = c->has(cellflag::kPreventRecalc);
        c->set(cellflag::kForceRecalc, method == Method::Forced);
        c->set(cellflag::kPreventRecalc, method == Method::Prevent);
        // A cell that was held back must be computed again; a circular one cannot be.
        if (wasPrevented && method != Method::Prevent) {
            c->set(cellflag::kRecalcPending);
            if (isCircular(*c)) c->formula->setErrorMark(true);
        }
        session.recalc().noteMarked(*c);
        if (LevelRec* level = session.cells().levelOf(*c)) level->changed = true;
    }
    session.scratch().repaintPending = true;
    return CommandOutcome::Done;
}

CellRec* pointerCell(Session& session) {
    ErrStat ignored;
    CellRec* c = session.cells().findCell(session.pointer().row, session.pointer().col, session.activeLevel(), ignored);
    return (c == nullptr || c->isPlaceholder()) ? nullptr : c;
}

bool showPlace(Session& session, const std::string& caption, const CellRec& at) {
    ErrStat ignored;
    session.moveTo(at.level, at.row, at.col, ignored);
    return session.platform().messageBox(caption, place(at), BoxIcon::None, BoxButtons::OkCancel) == BoxAnswer::Ok;
}

void returnTo(Session& session, int level, int row, int col) {
    ErrStat ignored;
    session.moveTo(level, row, col, ignored);
}

}  // namespace

CommandOutcome normalCalcCommand(Session& session, ErrStat&) {
    return setMethod(session, Method::Normal);
}

CommandOutcome forcedCalcCommand(Session& session, ErrStat&) {
    return setMethod(session, Method::Forced);
}

CommandOutcome preventCalcCommand(Session& session, ErrStat&) {
    return setMethod(session, Method::Prevent);
}

CommandOutcome allCellsCommand(Session& session, ErrStat&) {
    session.recalc().recalculateLevel(session.activeLevel());
    return CommandOutcome::Done;
}

CommandOutcome selectedCellsCommand(Session& session, ErrStat&) {
    struct Place {
        int row, col, level;
    };
    std::vector<Place> places;
    for (CellRec* c : selectedFormulas(session)) places.push_back({c->row, c->col, c->level});
    for (const Place& p : places) {
        ErrStat ignored;
        CellRec* c = session.cells().findCell(p.row, p.col, p.level, ignored);
        if (c != nullptr && c->formulaLike()) session.recalc().recalculateOneCell(*c);
    }
    return CommandOutcome::Done;
}

CommandOutcome showAffectedCommand(Session& session, ErrStat&) {
    CellRec* cell = pointerCell(session);
    Platform& ui = session.platform();
    if (cell == nullptr) {
        ui.messageBox("", "EMPTY CELL!", BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    if (cell->isFormula() && cell->formula != nullptr && cell->formula->errorMark()) {
        ui.messageBox("Cells affected by: " + place(*cell), kErrorCellsText, BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    const int row = cell->row, col = cell->col, level = cell->level;
    const std::string caption = "Cells AFFECTED by: " + place(*cell);
    int64_t count = cell->dependents;
    int shown = 0;
    for (CellRec* d = session.recalc().findDependent(*cell, nullptr, count); d != nullptr;
         d = session.recalc().findDependent(*cell, d, count)) {
        ++shown;
        if (!showPlace(session, caption, *d)) break;
    }
    returnTo(session, level, row, col);
    if (shown == 0) {
        ui.messageBox(place(*cell), "This cell does not affect the values of other cells!", BoxIcon::Information,
                      BoxButtons::Ok);
    }
    return CommandOutcome::Done;
}

CommandOutcome showUsedCommand(Session& session, ErrStat&) {
    CellRec* cell = pointerCell(session);
    Platform& ui = session.platform();
    if (cell == nullptr) {
        ui.messageBox("", "EMPTY CELL!", BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    if (!cell->formulaLike()) return CommandOutcome::Done;
    if (cell->isFormula() && cell->formula->errorMark()) {
        ui.messageBox("Cells addressed by: " + place(*cell), kErrorCellsText, BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    if (cell->formula->refCount == 0) {
        ui.messageBox(place(*cell), "This cell does not 'directly' address other cells in its formula.",
                      BoxIcon::Information, BoxButtons::Ok);
        return CommandOutcome::Done;
    }
    const int row = cell->row, col = cell->col, level = cell->level;
    const std::string caption = "Cells USED by: " + place(*cell);
    for (uint32_t k = 0; k < cell->formula->refCount; ++k) {
        const CellRec* used = cell->formula->refs[k];
        if (used != nullptr && !showPlace(session, caption, *used)) break;
    }
    returnTo(session, level, row, col);
    return CommandOutcome::Done;
}

}  // namespace qx
