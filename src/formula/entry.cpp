#include "formula/entry.h"

#include <string>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/recalculator.h"
#include "formula/compiler.h"
#include "formula/formula_codes.h"
#include "formula/lexer.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;

namespace {

std::string_view cutTrailingBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool onlyBlanks(std::string_view s) {
    return cutTrailingBlanks(s).empty();
}

CellType cellTypeOf(EntryKind kind) {
    switch (kind) {
        case EntryKind::Formula:
            return CellType::Formula;
        case EntryKind::VariableLabel:
            return CellType::VariableLabel;
        default:
            return CellType::Label;
    }
}

}  // namespace

EntryKind classifyEntry(std::string_view typed) {
    if (onlyBlanks(typed)) return EntryKind::Nothing;
    const std::string_view whole = cutTrailingBlanks(typed);
    const char c = typed.front();
    if (c == '=' || c == '~' || c == '\\' || whole == "." || whole == "/") return EntryKind::ShortCut;
    if (c == '\'') return EntryKind::Label;
    if (c == '"') return EntryKind::VariableLabel;
    if (isDigit(c) || c == '(' || c == '@' || c == '.' || c == '[' || c == '+' || c == '-') return EntryKind::Formula;
    return EntryKind::Label;
}

bool readsAsNumber(std::string_view text) {
    std::string s(text);
    int pos = skipBlanks(s.c_str(), 0);
    if (s[static_cast<std::size_t>(pos)] == '+' || s[static_cast<std::size_t>(pos)] == '-') ++pos;
    const NumberScan scan = scanNumber(s.c_str(), pos);
    return scan.result == NumberScanResult::Ok && s.c_str()[skipBlanks(s.c_str(), scan.end)] == '\0';
}

EntryResult EntryOperation::storeEntry(std::string_view typed, int row, int col, int level, EntryOptions options,
                                       ErrStat& err) {
    err.enter();
    EntryResult result;
    result.kind = classifyEntry(typed);
    if (result.kind == EntryKind::Nothing || result.kind == EntryKind::ShortCut) return result;
    CellRec* existing = m_store.findCell(row, col, level, err);
    if (err.failed()) return err.trace(kStoreEntry), result;
    if (!m_store.worksheetLevel(level)) return err.fail(kStoreEntry, 1, Msg::LevelOutOfRange), result;
    result.existed = existing != nullptr && !existing->isPlaceholder();
    const std::string text(cutTrailingBlanks(typed));
    const bool prefixed = text.front() == '\'' || text.front() == '"';
    const std::string_view body = prefixed ? std::string_view(text).substr(1) : std::string_view(text);
    if (prefixed && onlyBlanks(body)) {
        result.kind = EntryKind::Deleted;
        if (existing == nullptr || existing->isPlaceholder()) return result;
        m_store.deleteCellNow(existing, err);
        if (err.failed()) return err.trace(kStoreEntry), result;
        if (CellRec* left = m_store.findCell(row, col, level, err);
            left != nullptr && options.notifyMode != NotifyMode::None) {
            m_recalculator->notify(*left, options.notifyMode);
        }
        return result;
    }
    if (!options.fromFile && result.kind != EntryKind::Label && static_cast<int>(text.size()) > kMaxTextLength) {
        err.position = kMaxTextLength;
        return err.fail(kStoreEntry, 2, Msg::ExpressionTooLong), result;  // longer than may be typed: nothing changes
    }
    CellRec* cell = m_store.makeCell(row, col, level, cellTypeOf(result.kind), err);
    if (err.failed()) return err.trace(kStoreEntry), result;
    result.cell = cell;
    if (result.kind == EntryKind::Label) {
        LevelRec* rec = m_store.levelOf(*cell);
        heapFreeText(*rec, cell->text, err);
        if (!err.failed()) cell->text = heapText(*rec, options.fromFile ? body : body.substr(0, kMaxTextLength), err);
        if (err.failed()) return err.trace(kStoreEntry), result;
    } else {
        const std::string_view source = result.kind == EntryKind::Formula ? std::string_view(text) : body;
        m_compiler.compile(*cell, source, text, CompileOptions{options.checkCircular, !options.fromFile}, err);
    }
    m_store.touch(*cell);
    m_store.scratch().repaintPending = true;
    const bool failed = err.failed();
    // A rejected entry keeps its typed text and error mark; a pending mark inherited from a placeholder
    // would let the next sweep evaluate that text behind the rejection (a circular formula would get a value).
    if (failed) cell->set(cellflag::kRecalcPending, false);
    if (cell->formula != nullptr && cell->formula->errorMark()) m_store.hooks().recalcMarked(m_store, *cell);
    if (failed && options.silent) err.clear();
    if (options.notifyMode != NotifyMode::None) {
        ErrStat keep = err;
        m_recalculator->notify(*cell, options.notifyMode);
        err = keep;
    }
    if (failed) err.trace(kStoreEntry);
    return result;
}

EntryResult EntryOperation::storeLoaded(std::string_view text, int row, int col, int level, EntryOptions options,
                                        ErrStat& err) {
    std::string_view number = text;
    if (!number.empty() && number.front() == '\'') number.remove_prefix(1);
    if (readsAsNumber(number)) return storeEntry("+" + std::string(number), row, col, level, options, err);
    return storeEntry("'" + std::string(text), row, col, level, options, err);
}

}  // namespace qx
