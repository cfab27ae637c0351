#include "app/attribute_commands.h"

#include <algorithm>

#include "app/session.h"
#include "core/area_ranges.h"
#include "core/attributes.h"
#include "core/style_word.h"

namespace qx {
namespace {

// A border added by the bar rules the block like a printed table: every cell framed in black.
constexpr int32_t kAddedBorderColour = 0;

// Sets or clears one cell flag on every cell of the area, placeholders included, so a referenced
// empty place keeps the mark once something is typed there. True when a cell changed.
bool markCells(CellStore& cells, int level, const CellArea& area, uint16_t flag, bool on) {
    const LevelRec* rec = cells.levelPtr(level);
    if (rec == nullptr || rec->bottom == nullptr) return false;
    bool changed = false;
    const int lastRow = std::min(area.lastRow, static_cast<int>(rec->bottom->row));
    for (int row = area.firstRow; row <= lastRow; ++row) {
        for (CellRec* cell : cells.rowCells(row, level)) {
            if (cell->col < area.firstCol) continue;
            if (cell->col > area.lastCol) break;
            if (cell->has(flag) == on) continue;
            cell->set(flag, on);
            changed = true;
        }
    }
    return changed;
}

CommandOutcome applied(Session& session, AttributeChange change) {
    session.changeAttributes(change);
    return CommandOutcome::Done;
}

}  // namespace

bool Session::changeAttributes(AttributeChange change, uint32_t colour) {
    const int level = m_activeLevel;
    LevelRec* rec = cells().levelPtr(level);
    if (rec == nullptr || !allows(kActionAttributes, level)) return false;
    const CellArea area = m_selection;
    bool changed = false;
    switch (change) {
        case AttributeChange::Hide:
        case AttributeChange::Unhide:
            changed = markCells(cells(), level, area, cellflag::kHideDisplay, change == AttributeChange::Hide);
            break;
        case AttributeChange::Protect:
        case AttributeChange::Unprotect:
            changed = markCells(cells(), level, area, cellflag::kProtectCell, change == AttributeChange::Protect);
            break;
        case AttributeChange::AddBorder:
            changed = addBorderRange(*rec, area, kBorderNormal, kBorderNormal, kAddedBorderColour);
            break;
        case AttributeChange::RemoveBorder:
            changed = removeBorderRanges(*rec, area);
            break;
        case AttributeChange::AddBackground:
            changed = addColourRange(*rec, area, colour & kColourWordMask);
            break;
        case AttributeChange::RemoveBackground:
            changed = removeColourRanges(*rec, area);
            break;
    }
    if (changed) {
        rec->changed = true;
        m_scratch.repaintPending = true;
    }
    return true;
}

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

CommandOutcome hideCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::Hide);
}

CommandOutcome unhideCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::Unhide);
}

CommandOutcome protectCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::Protect);
}

CommandOutcome unprotectCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::Unprotect);
}

CommandOutcome addBorderCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::AddBorder);
}

CommandOutcome removeBorderCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::RemoveBorder);
}

CommandOutcome removeBackgroundCommand(Session& session, ErrStat&) {
    return applied(session, AttributeChange::RemoveBackground);
}

}  // namespace qx
