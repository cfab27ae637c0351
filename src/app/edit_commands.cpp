#include "app/edit_commands.h"

#include "app/origins.h"
#include "app/session.h"
#include "core/err_report.h"
#include "edit/array_areas.h"
#include "edit/clipboard.h"
#include "edit/join_convert.h"
#include "edit/sort_rows.h"

namespace qx {

using namespace origins::app;
namespace {

bool isWholeSheet(const CellArea& area) {
    return area.firstRow == 1 && area.firstCol == 1 && area.lastRow == kMaxRow && area.lastCol == kMaxCol;
}

// Range Operations on any level may read the places that changed.
void recomputeRanges(Session& session) {
    for (int level = 1; level <= session.highestLevel(); ++level) session.recalc().recomputeRangeOperations(level);
}

CommandOutcome finished(Session& session, Origin origin, ErrStat& err) {
    recomputeRanges(session);
    if (!err.failed()) return CommandOutcome::Done;
    err.trace(origin);
    return CommandOutcome::Failed;
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
    deleteCells(session.cells(), session.activeLevel(), session.selection(), err);
    return finished(session, kOriginDelete, err);
}

CommandOutcome undoDeleteCommand(Session& session, ErrStat& err) {
    err.enter();
    undoDelete(session.cells(), session.activeLevel(), err);
    return finished(session, kOriginUndoDelete, err);
}

CommandOutcome cutCommand(Session& session, ErrStat& err) {
    err.enter();
    // A cut takes the cells away from this level once pasted: it edits as well as copies.
    if (!session.allows(kActionCopyExport) || !session.allows(kActionEdit)) return CommandOutcome::Done;
    cutCells(session.cells(), session.activeLevel(), session.selection(), err);
    if (!err.failed()) return CommandOutcome::Done;
    err.trace(kOriginCut);
    return CommandOutcome::Failed;
}

CommandOutcome copyCommand(Session& session, ErrStat& err) {
    err.enter();
    copyCells(session.cells(), session.activeLevel(), session.selection(), err);
    if (!err.failed()) return CommandOutcome::Done;
    err.trace(kOriginCopy);
    return CommandOutcome::Failed;
}

CommandOutcome pasteCommand(Session& session, ErrStat& err) {
    err.enter();
    if (!session.allows(kActionEdit) || !session.allows(kActionAddCells)) return CommandOutcome::Done;
    const PasteResult result = pasteCells(session.cells(), session.activeLevel(), session.selection(), err);
    const CommandOutcome outcome = finished(session, kOriginPaste, err);
    if (result.tilesLeftOut) {
        messageBox(session.platform(), generalMessage(codeOf(Msg::ExistingCellsKept)), "WARNING", BoxIcon::Exclamation,
                   BoxButtons::Ok);
    }
    return outcome;
}

CommandOutcome sortRowsCommand(Session& session, ErrStat& err) {
    // Without the dialog: the selection's first column, ascending, as the dialog starts.
    const RowSortKey key{session.selection().firstCol, true};
    session.sortRows(std::span(&key, 1), err);
    return CommandOutcome::Done;
}

bool Session::sortRows(std::span<const RowSortKey> keys, ErrStat& err) {
    err.enter();
    if (!allows(kActionSortRows)) return false;
    SortRows(cells(), m_activeLevel, m_selection, keys, err);
    recomputeRanges(*this);
    if (!err.failed()) return true;
    err.trace(kOriginSortRows);
    messageBox(m_platform, sortrows::kFailureText, sortrows::kFailureCaption, BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
}

CommandOutcome joinCommand(Session& session, ErrStat& err) {
    err.enter();
    joinLabels(session.cells(), session.formulas().entry(), session.activeLevel(), session.selection(), err);
    session.recalc().retryFailedCells();
    return finished(session, kOriginJoin, err);
}

CommandOutcome sumCellsCommand(Session& session, ErrStat&) {
    const std::string text = sumText(session.cells(), session.activeLevel(), session.selection());
    session.platform().messageBox(sumCaption(session.selection()), text, BoxIcon::Information, BoxButtons::Ok);
    return CommandOutcome::Done;
}

CommandOutcome labelsToFormulasCommand(Session& session, ErrStat& err) {
    err.enter();
    labelsToFormulas(session.cells(), session.formulas().entry(), session.activeLevel(), session.selection(), err);
    session.recalc().retryFailedCells();
    return finished(session, kOriginConvert, err);
}

CommandOutcome formulasToLabelsCommand(Session& session, ErrStat& err) {
    err.enter();
    formulasToLabels(session.cells(), session.formulas().entry(), session.activeLevel(), session.selection(), err);
    session.recalc().retryFailedCells();
    return finished(session, kOriginConvert, err);
}

CommandOutcome findNextCommand(Session& session, ErrStat& err) {
    err.enter();
    session.findNext();
    return CommandOutcome::Done;
}

CommandOutcome replaceCommand(Session& session, ErrStat& err) {
    // Without the dialog: the texts it would preset.
    session.replaceFound(session.lastFind().text, session.lastFind().with, err);
    return err.failed() ? CommandOutcome::Failed : CommandOutcome::Done;
}

FoundCell Session::find(const FindOptions& options, std::string_view text) {
    m_find.options = options;
    m_find.text = std::string(text.substr(0, findreplace::kMaxFindText));
    return findNext();
}

FoundCell Session::findNext() {
    FoundCell hit = findCell(cells(), m_activeLevel, m_pointer.row, m_pointer.col, m_find.options, m_find.text);
    ErrStat ignored;
    if (hit.found) moveTo(m_activeLevel, hit.row, hit.col, ignored);
    return hit;
}

bool Session::replaceFound(std::string_view find, std::string_view with, ErrStat& err) {
    err.enter();
    m_find.with = std::string(with);
    if (!allows(kActionEdit)) return false;
    CellRec* cell = cells().findCell(m_pointer.row, m_pointer.col, m_activeLevel, err);
    if (cell == nullptr || err.failed()) return false;
    // Typing over a protected cell is refused; a replacement is typing.
    if (cell->has(cellflag::kProtectCell)) return err.fail(kOriginReplace, 1, Msg::ProtectedCell);
    const std::optional<std::string> entry = replacedEntry(cells(), *cell, find, with, err);
    if (!entry) return err.trace(kOriginReplace), false;
    formulas().entry().storeEntry(*entry, m_pointer.row, m_pointer.col, m_activeLevel, EntryOptions{}, err);
    recalc().retryFailedCells();
    if (!err.failed()) return true;
    err.trace(kOriginReplace);
    return false;
}

bool Session::arraySize(int n, bool warn, ErrStat& err) {
    err.enter();
    if (!allows(kActionEdit)) return false;
    setArrayAreas(cells(), m_platform, m_activeLevel, m_selection, n, warn, err);
    if (!err.failed()) return true;
    err.trace(kOriginArraySize);
    return false;
}

std::optional<std::vector<double>> Session::arrayElements() {
    if (!allows(kActionEdit)) return std::nullopt;
    const CellRec* cell = arrayCellOf(cells(), m_platform, m_activeLevel, m_selection);
    if (cell == nullptr) return std::nullopt;
    const double* array = cell->formula->array;
    return std::vector<double>(array + 1, array + 1 + cell->formula->arrayCount());
}

bool Session::arraySet(std::span<const double> values, ErrStat& err) {
    err.enter();
    if (!allows(kActionEdit)) return false;
    CellRec* cell = arrayCellOf(cells(), m_platform, m_activeLevel, m_selection);
    if (cell == nullptr) return false;
    writeArrayElements(cells(), *cell, values, err);
    if (!err.failed()) return true;
    err.trace(kOriginArraySet);
    return false;
}

}  // namespace qx
