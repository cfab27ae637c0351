#include "formula/shortcut.h"

#include <algorithm>

#include "core/cell_store.h"
#include "core/circular.h"
#include "display/cell_display.h"
#include "display/display_format.h"
#include "formula/formula_engine.h"
#include "formula/lexer.h"
#include "formula/tilde_pattern.h"
#include "platform/platform.h"

namespace qx {

namespace {

constexpr const char* kShortCutCaption = "WARNING: ShortCut command error";
constexpr const char* kEqualsAlone =
    "The  '='  character is used to initiate a ShortCut Command.  Use a  '+'  character to begin a formula "
    "entry:  +sin(30)";
constexpr const char* kImproperEquals = "Improper use of the  '='  ShortCut Command";

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!isBlank(c)) out.push_back(c);
    }
    return out;
}

// A decimal element number; 8191 and more count as absent (-1).
int readElement(const std::string& s, std::size_t& pos) {
    if (pos >= s.size() || !isDigit(s[pos])) return -1;
    long value = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        if (value < kMaxArrayElements) value = value * 10 + (s[pos] - '0');
        ++pos;
    }
    return value >= kMaxArrayElements ? -1 : static_cast<int>(value);
}

// "<v" up to the end of the command.
bool readValue(const std::string& s, std::size_t pos, double& value) {
    if (pos >= s.size() || s[pos] != '<') return false;
    ++pos;
    const bool negative = pos < s.size() && s[pos] == '-';
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) ++pos;
    const NumberScan scan = scanNumber(s.c_str(), static_cast<int>(pos));
    if (scan.result != NumberScanResult::Ok || static_cast<std::size_t>(scan.end) != s.size()) return false;
    value = negative ? -scan.value : scan.value;
    return true;
}

}  // namespace

ShortCutResult ShortCuts::run(Platform& platform, CellRec* current, int level, int row, int col,
                              std::string_view text) {
    const std::string command = withoutBlanks(text);
    if (command.empty() || command[0] == '~' || command == "/") return {};
    if (command == ".") return recompute(current);
    if (command[0] == '\\') return search(level, row, col, command.substr(1));
    if (command == "=" && current == nullptr) {
        platform.messageBox(kShortCutCaption, kEqualsAlone, BoxIcon::Exclamation, BoxButtons::Ok);
        return {};
    }
    if (command == "=") return ShortCutResult{current->isFormula()};  // the object's view belongs to the front end
    return fillArray(platform, current, command);
}

ShortCutResult ShortCuts::recompute(CellRec* current) {
    if (current == nullptr || current->formula == nullptr) return {};
    CellStore& store = m_engine.store();
    if (current->formula->errorMark()) {
        ErrStat err;
        std::string text = m_engine.readableText(*current, TextOffsets{}, err);
        // A failed Variable Label goes back in with its template, not as a Formula or Label.
        if (current->isVariableLabel()) {
            text.insert(text.begin(), '"');
        } else if (text.empty() || text[0] != '+') {
            text.insert(text.begin(), '+');
        }
        err.clear();
        m_engine.entry().storeEntry(text, current->row, current->col, current->level, EntryOptions{}, err);
        return ShortCutResult{true};
    }
    if (isCircular(*current)) {
        current->formula->setErrorMark(true);
        store.noteValue(*current);
        current->set(cellflag::kForceDisplay);
    } else {
        m_engine.recalculator().notify(*current, NotifyMode::CellChainAndRanges);
    }
    store.scratch().repaintPending = true;
    return ShortCutResult{true};
}

ShortCutResult ShortCuts::fillArray(Platform& platform, CellRec* current, const std::string& command) {
    std::size_t pos = 1;
    int first = 0;
    int last = 0;
    bool all = false;
    if (pos < command.size() && command[pos] == '*') {
        all = true;
        ++pos;
    } else if (pos < command.size() && command[pos] == '(') {
        ++pos;
        first = readElement(command, pos);
        if (pos < command.size() && command[pos] == ',') ++pos, last = readElement(command, pos);
        if (pos >= command.size() || command[pos] != ')') first = -1;
        ++pos;
    } else {
        first = last = readElement(command, pos);
    }
    double value = 0.0;
    const bool formula = current != nullptr && current->isFormula() && current->formula != nullptr;
    const int count = formula ? static_cast<int>(current->formula->arrayCount()) : 0;
    if (all) first = 1, last = count;
    if (!formula || !readValue(command, pos, value) || first < 1 || first > count || last < first) {
        platform.messageBox(kShortCutCaption, kImproperEquals, BoxIcon::Exclamation, BoxButtons::Ok);
        return {};
    }
    for (int e = first; e <= std::min(last, count); ++e) current->formula->array[e] = value;
    if (LevelRec* rec = m_engine.store().levelOf(*current)) rec->changed = true;
    m_engine.store().scratch().repaintPending = true;
    return ShortCutResult{true};
}

ShortCutResult ShortCuts::search(int level, int row, int col, const std::string& text) {
    if (!text.empty()) m_lastSearch = text;
    if (m_lastSearch.empty()) return {};
    const std::string pattern = "~" + m_lastSearch + "~";
    CellStore& store = m_engine.store();
    const LevelRec* rec = store.levelPtr(level);
    if (rec == nullptr || rec->bottom == nullptr) return {};
    for (int r = std::max(row, 1); r <= rec->bottom->row; ++r) {
        for (CellRec* c : store.rowCells(r, level)) {
            if (r == row && c->col <= col) continue;
            if (c->isPlaceholder()) continue;
            const std::string shown(trimBlanks(cellDisplayText(c, kMaxTextLength + 1, CellDisplayContext{})));
            if (tildeMatch(pattern, shown)) return ShortCutResult{true, true, c->row, c->col};
        }
    }
    return {};
}

}  // namespace qx
