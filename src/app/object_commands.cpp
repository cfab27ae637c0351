#include "app/object_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/origins.h"
#include "app/session.h"
#include "core/recalculator.h"
#include "objects/place.h"

namespace qx {

using namespace origins::app;

namespace {

CommandOutcome outcome(bool ok, ErrStat& err) {
    if (ok) return CommandOutcome::Done;
    err.trace(kOriginObjectCommand);
    return CommandOutcome::Failed;
}

CellRec* pointerCell(Session& session) {
    ErrStat ignored;
    return session.cells().findCell(session.pointer().row, session.pointer().col, session.activeLevel(), ignored);
}

CommandOutcome capturePoints(Session& session, ObjectKind kind, ErrStat& err) {
    err.enter();
    return outcome(
        capturePoints(session.cells(), session.activeLevel(), session.selection(), kind, session.capture(), err), err);
}

PlaceTarget placeTarget(Session& session) {
    return PlaceTarget{session.cells(), session.formulas().entry(), session.formulas().recalculator()};
}

// Whole numbers typed into a prompt, separated by blanks or commas; none when cancelled or unreadable.
std::optional<std::vector<int>> promptNumbers(Session& session, const std::string& caption, const std::string& prompt,
                                              std::size_t count) {
    const std::optional<std::string> answer = session.platform().promptText(caption, prompt, false);
    if (!answer) return std::nullopt;
    std::vector<int> numbers;
    const char* p = answer->data();
    const char* end = p + answer->size();
    while (p < end) {
        if (*p == ' ' || *p == ',' || *p == '\t') {
            ++p;
            continue;
        }
        int v = 0;
        const auto r = std::from_chars(p, end, v);
        if (r.ec != std::errc()) return std::nullopt;
        numbers.push_back(v);
        p = r.ptr;
    }
    if (numbers.size() != count) return std::nullopt;
    return numbers;
}

CommandOutcome promptedOperation(Session& session, TableAction action, const std::string& caption,
                                 const std::string& prompt, std::size_t count, ErrStat& err) {
    err.enter();
    const auto numbers = promptNumbers(session, caption, prompt, count);
    if (!numbers) return CommandOutcome::Done;  // cancelled
    TableRequest request{action, (*numbers)[0], count > 1 ? (*numbers)[1] : 0, {}};
    return runTableOperation(session, request, err);
}

bool applyTableRequest(Session& session, CellRec* cell, const TableRequest& r, ErrStat& err) {
    CellStore& store = session.cells();
    switch (r.action) {
        case TableAction::Invert:
            return invertTable(store, cell, err);
        case TableAction::SwapColumns:
            return swapColumnsOfTable(store, cell, r.first, r.second, err);
        case TableAction::RemoveRow:
            return removeRowOfTable(store, cell, r.first, err);
        case TableAction::RemoveColumn:
            return removeColumnOfTable(store, cell, r.first, err);
        case TableAction::Sort:
            return sortTableRows(store, cell, r.keys, err);
        case TableAction::SetValue:
            return setTableValue(store, cell, r.first, r.second, r.value, err);
    }
    return false;
}

}  // namespace

CommandOutcome captureCommand(Session& session, ErrStat& err) {
    err.enter();
    return outcome(captureCellObject(pointerCell(session), session.capture(), err), err);
}

CommandOutcome captureTableCommand(Session& session, ErrStat& err) {
    err.enter();
    return outcome(
        captureTable(session.cells(), session.activeLevel(), session.selection(), session.capture(), err) != 0, err);
}

CommandOutcome captureMatrixCommand(Session& session, ErrStat& err) {
    err.enter();
    return outcome(captureMatrix(session.cells(), session.activeLevel(), session.selection(), session.capture(), err),
                   err);
}

CommandOutcome captureXYZCommand(Session& session, ErrStat& err) {
    return capturePoints(session, ObjectKind::Coordinate, err);
}

CommandOutcome captureSegmentCommand(Session& session, ErrStat& err) {
    return capturePoints(session, ObjectKind::Segment, err);
}

CommandOutcome capturePolygonCommand(Session& session, ErrStat& err) {
    return capturePoints(session, ObjectKind::Polygon, err);
}

CommandOutcome placeCommand(Session& session, ErrStat& err) {
    err.enter();
    PlaceTarget target = placeTarget(session);
    const CellPointer at = session.pointer();
    return outcome(placeInEmptyCell(target, session.capture(), at.row, at.col, session.activeLevel(), err), err);
}

CommandOutcome placeSheetCommand(Session& session, ErrStat& err) {
    err.enter();
    PlaceTarget target = placeTarget(session);
    const CellPointer at = session.pointer();
    return outcome(placeOnWorksheet(target, session.capture(), at.row, at.col, session.activeLevel(), err), err);
}

CommandOutcome invertCommand(Session& session, ErrStat& err) {
    err.enter();
    return runTableOperation(session, TableRequest{TableAction::Invert, 0, 0, {}}, err);
}

CommandOutcome swapColumnsCommand(Session& session, ErrStat& err) {
    return promptedOperation(session, TableAction::SwapColumns, "Swap columns", "Columns to swap:", 2, err);
}

CommandOutcome removeRowCommand(Session& session, ErrStat& err) {
    return promptedOperation(session, TableAction::RemoveRow, "Remove row", "Row to remove:", 1, err);
}

CommandOutcome removeColumnCommand(Session& session, ErrStat& err) {
    return promptedOperation(session, TableAction::RemoveColumn, "Remove column", "Column to remove:", 1, err);
}

CommandOutcome sortCommand(Session& session, ErrStat& err) {
    err.enter();
    const auto numbers = promptNumbers(session, "Sort the rows of a Table object", "Key column:", 1);
    if (!numbers) return CommandOutcome::Done;
    const SortKey key{(*numbers)[0], false};
    return runTableOperation(session, TableRequest{TableAction::Sort, 0, 0, std::span<const SortKey>(&key, 1)}, err);
}

bool readSetValue(std::string_view text, TableRequest& request) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" ,\t", at);
        if (start == std::string_view::npos) break;
        at = std::min(text.find_first_of(" ,\t", start), text.size());
        words.push_back(text.substr(start, at - start));
    }
    if (words.size() != 3) return false;
    auto whole = [](std::string_view w, int& out) {
        const auto r = std::from_chars(w.data(), w.data() + w.size(), out);
        return r.ec == std::errc() && r.ptr == w.data() + w.size();
    };
    double value = 0;
    const auto r = std::from_chars(words[2].data(), words[2].data() + words[2].size(), value);
    if (r.ec != std::errc() || r.ptr != words[2].data() + words[2].size() || !std::isfinite(value)) return false;
    request = TableRequest{TableAction::SetValue, 0, 0, {}, value};
    return whole(words[0], request.first) && whole(words[1], request.second);
}

CommandOutcome setValueCommand(Session& session, ErrStat& err) {
    err.enter();
    const std::optional<std::string> answer =
        session.platform().promptText("Set a value in a Table object", "Row, column and value:", false);
    if (!answer) return CommandOutcome::Done;  // cancelled
    TableRequest request;
    if (!readSetValue(*answer, request)) {
        err.fail(kOriginObjectCommand, 3, Msg::IllegalParameter);
        return CommandOutcome::Failed;
    }
    return runTableOperation(session, request, err);
}

CommandOutcome requestTableOperation(Session& session, const TableRequest& request, ErrStat& err) {
    err.enter();
    if (!session.allows(kActionEdit)) return CommandOutcome::Done;
    return runTableOperation(session, request, err);
}

CommandOutcome runTableOperation(Session& session, const TableRequest& request, ErrStat& err) {
    err.enter();
    CellRec* cell = pointerCell(session);
    // A protected cell keeps its table as it keeps its formula.
    if (cell != nullptr && cell->has(cellflag::kProtectCell)) {
        err.fail(kOriginObjectCommand, 2, Msg::ProtectedCell);
        return CommandOutcome::Failed;
    }
    if (!applyTableRequest(session, cell, request, err)) return outcome(false, err);
    session.formulas().recalculator().notify(*cell, NotifyMode::Edit);
    return CommandOutcome::Done;
}

}  // namespace qx
