#include "files/text/text_import.h"

#include <cmath>
#include <fstream>
#include <vector>

#include "core/cell_store.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "files/open_save.h"
#include "files/origins.h"
#include "files/text/text_fields.h"
#include "formula/evaluator.h"
#include "formula/formula_engine.h"

namespace qx {

using namespace origins::files;
namespace {

constexpr int kTextExtension = 1;
constexpr int kCsvExtension = 6;
constexpr int kDifExtension = 7;
// The formula a missing Array Area cell is created with.
constexpr std::string_view kArrayCellFormula = "+0";

// An Array Area block header "~[row,col,size,level],first,last" as evaluated.
struct ArrayHeader {
    int row = 0;
    int col = 0;
    int level = 0;
    int size = 0;
    int first = 0;
    int last = 0;
};

// A file line may not assign: '=' is refused unless it is part of ==, !=, <= or >= (<<= and >>= are
// assignments).
bool assigns(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') continue;
        if (i + 1 < text.size() && text[i + 1] == '=') {
            ++i;
            continue;
        }
        const char before = i > 0 ? text[i - 1] : '\0';
        const char twoBefore = i > 1 ? text[i - 2] : '\0';
        if (before == '!') continue;
        if ((before == '<' || before == '>') && twoBefore != before) continue;
        return true;
    }
    return false;
}

// Evaluates text from a file with the function calls and assignments of the formula language refused:
// the evaluator gets no function dispatcher, and assigning text is not evaluated at all.
class GuardedEvaluator {
  public:
    GuardedEvaluator(CellStore& store, int level) : m_evaluator(store) { m_evaluator.setDefaultLevel(level); }

    // The value of a whole expression; false when it is refused or fails.
    bool value(std::string_view text, double& out) {
        if (assigns(text)) return false;
        std::string buffer(text);
        ErrStat err;
        out = m_evaluator.evaluateFormula(nullptr, buffer.data(), err);
        return !err.failed() && std::isfinite(out);
    }

    bool header(std::string_view text, int defaultLevel, ArrayHeader& h) {
        if (assigns(text) || text.empty() || text.front() != '[') return false;
        std::string buffer(text);
        char* s = buffer.data();
        int pos = 0;
        RegisterBlock regs;
        ErrStat err;
        const CellAddress a = m_evaluator.parseAddress(nullptr, s, pos, false, regs, err);
        if (err.failed() || !a.hasElem || s[pos] != ']') return false;
        ++pos;
        double first = 0;
        double last = 0;
        if (!part(s, pos, regs, first) || !part(s, pos, regs, last)) return false;
        while (s[pos] == ' ') ++pos;
        if (s[pos] != '\0') return false;
        h.row = a.row;
        h.col = a.col;
        h.level = a.hasLevel ? a.level : defaultLevel;
        h.size = a.elem;
        if (!(first >= 1 && last >= first && last <= h.size)) return false;
        h.first = static_cast<int>(first);
        h.last = static_cast<int>(last);
        return h.row >= 1 && h.row <= kMaxRow && h.col >= 1 && h.col <= kMaxCol && h.size >= 1 &&
               h.size <= kMaxArrayElements && h.first <= h.last;
    }

  private:
    // ",expression" up to the next terminator.
    bool part(char* s, int& pos, RegisterBlock& regs, double& out) {
        while (s[pos] == ' ') ++pos;
        if (s[pos] != ',') return false;
        ++pos;
        ErrStat err;
        out = m_evaluator.evaluate(nullptr, s, pos, kOutermost, regs, err);
        return !err.failed() && std::isfinite(out);
    }

    Evaluator m_evaluator;
};

std::string lineText(int number, std::string_view line) {
    return std::to_string(number) + ".\n\n" + std::string(line);
}

class Importer {
  public:
    Importer(FileContext& ctx, ImportStart at, ImportOutcome& outcome)
        : m_ctx(ctx), m_at(at), m_outcome(outcome), m_guarded(ctx.store, at.level) {}

    bool readText(std::istream& in, ErrStat& err);
    bool readCsv(std::istream& in, ErrStat& err);
    bool readDif(std::istream& in, ErrStat& err);

  private:
    // The entry rule for one field; `overlap` receives the columns a stored Label overlaps. False
    // when the import ends here (refused, or failed with `err` set).
    bool store(std::string_view field, int row, int col, int& overlap, ErrStat& err);
    bool storeTyped(const std::string& typed, int row, int col, int& overlap, ErrStat& err);
    bool yes(const std::string& text) {
        return messageBox(m_ctx.platform, text, "WARNING", BoxIcon::Exclamation, BoxButtons::YesNo) == BoxAnswer::Yes;
    }
    bool stop() {
        m_outcome.stopped = true;
        return false;
    }
    // Reads an Array Area block after its header line; false when the import ends.
    bool arrayBlock(TextLineReader& lines, std::string_view headerLine, int& row, ErrStat& err);
    // The result of a reader that stops early: a refusal or No is no failure.
    static bool ended(Origin origin, ErrStat& err) {
        if (!err.failed()) return true;
        err.trace(origin);
        return false;
    }
    bool readFailed(const TextLineReader& lines, Origin origin, ErrStat& err) {
        return lines.failed() ? err.fail(origin, 1, Msg::CannotLoadFile) : true;
    }

    FileContext& m_ctx;
    ImportStart m_at;
    ImportOutcome& m_outcome;
    GuardedEvaluator m_guarded;
};

bool Importer::store(std::string_view field, int row, int col, int& overlap, ErrStat& err) {
    overlap = 0;
    if (trimmedField(field).empty()) return true;
    std::string_view number = field;
    if (number.front() == '\'') number.remove_prefix(1);
    if (passesNumberTest(number)) return storeTyped(importedNumberText(number), row, col, overlap, err);
    return storeTyped(field.front() == '\'' ? std::string(field) : "'" + std::string(field), row, col, overlap, err);
}

bool Importer::storeTyped(const std::string& typed, int row, int col, int& overlap, ErrStat& err) {
    if (!m_ctx.protection.mayAddCells(m_at.level)) return stop();
    // A number the formula language cannot hold (1e+999) keeps its text and error mark, as a loaded
    // cell does, instead of ending the import.
    EntryOptions options;
    options.silent = true;
    const EntryResult result = m_ctx.formulas.entry().storeEntry(typed, row, col, m_at.level, options, err);
    if (err.failed()) return false;
    if (result.cell != nullptr) {
        ++m_outcome.cells;
        if (result.cell->isLabel()) overlap = result.cell->overlapped();
    }
    return true;
}

bool Importer::readText(std::istream& in, ErrStat& err) {
    TextLineReader lines(in, kTextLineLimit);
    std::string line;
    for (int row = m_at.row; row <= kMaxRow && lines.next(line); ++row) {
        const std::vector<TextField> fields = splitTextLine(line);
        int col = m_at.col;
        for (std::size_t i = 0; i < fields.size() && col <= kMaxCol; ++i) {
            const TextField& field = fields[i];
            if (!field.quoted && !field.text.empty() && field.text.front() == '~') {
                if (i == 0) {
                    if (!arrayBlock(lines, line, row, err)) return ended(kTextImportOrigin, err);
                    break;
                }
                if (!yes("An illegal character ( ~ ) was encountered at line " + lineText(lines.lineNumber(), line) +
                         "\n\nAs a result, the full line will not be loaded.  Do you want to continue?")) {
                    stop();
                    return true;
                }
                break;
            }
            int overlap = 0;
            if (!store(field.text, row, col, overlap, err)) return ended(kTextImportOrigin, err);
            col += 1 + overlap;
        }
    }
    return readFailed(lines, kTextImportOrigin, err);
}

bool Importer::arrayBlock(TextLineReader& lines, std::string_view headerLine, int& row, ErrStat& err) {
    const int headerLineNumber = lines.lineNumber();
    ArrayHeader h;
    if (!m_guarded.header(trimmedField(headerLine).substr(1), m_at.level, h) || !m_ctx.store.worksheetLevel(h.level)) {
        return yes("Detected an illegal Array Header at line " + lineText(headerLineNumber, headerLine) +
                   "\n\nThe file may not load properly.  Do you want to continue?") ||
               stop();
    }
    CellRec* cell = m_ctx.store.findCell(h.row, h.col, h.level, err);
    if (err.failed()) return err.trace(kArrayHeaderOrigin), false;
    bool keep = true;  // whether the block's values are stored
    bool endAfter = false;
    if (cell == nullptr || cell->isPlaceholder()) {
        if (!m_ctx.protection.mayAddCells(h.level)) return stop();
        const EntryResult made =
            m_ctx.formulas.entry().storeEntry(kArrayCellFormula, h.row, h.col, h.level, EntryOptions{}, err);
        if (err.failed()) return err.trace(kArrayHeaderOrigin), false;
        cell = made.cell;
        if (cell != nullptr) ++m_outcome.cells;
    }
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr) {
        keep = false;  // not a Formula: the header is skipped, its lines are not taken as rows of cells
    } else if (cell->formula->arrayCount() > 0 &&
               !yes("You are about the overwrite the Array Area of cell [" + std::to_string(h.row) + "," +
                    std::to_string(h.col) + "].\n\nDo you want to continue?")) {
        keep = false;
        endAfter = true;
    }
    std::vector<double> values(static_cast<std::size_t>(h.size) + 1, 0.0);
    values[0] = h.size;
    std::string line;
    int element = h.first;
    for (; element <= h.last && lines.next(line); ++element) {
        ++row;
        double v = 0;
        if (keep && m_guarded.value(trimmedField(line), v)) values[static_cast<std::size_t>(element)] = v;
    }
    if (!readFailed(lines, kArrayHeaderOrigin, err)) return false;
    if (keep) {
        m_ctx.store.setArraySize(cell, h.size, err);
        if (!err.failed()) m_ctx.store.setArrayElements(cell, values.data(), 1, h.size, err);
        if (err.failed()) return err.trace(kArrayHeaderOrigin), false;
        m_ctx.store.levelOf(*cell)->changed = true;
        m_ctx.store.hooks().notify(m_ctx.store, *cell, NotifyMode::Chain);
    }
    if (element <= h.last && !yes("The Array Area at of cell [" + std::to_string(h.row) + "," + std::to_string(h.col) +
                                  "] was not loaded correctly.\n\nDo you want to continue?")) {
        return stop();
    }
    return endAfter ? stop() : true;
}

bool Importer::readCsv(std::istream& in, ErrStat& err) {
    TextLineReader lines(in, kCsvLineLimit);
    std::string line;
    for (int row = m_at.row; row <= kMaxRow && lines.next(line); ++row) {
        int col = m_at.col;
        for (const std::string& field : splitCsvLine(line)) {
            if (col > kMaxCol) break;
            int overlap = 0;
            if (!field.empty() && !store("'" + field, row, col, overlap, err)) return ended(kCsvImportOrigin, err);
            ++col;
        }
    }
    return readFailed(lines, kCsvImportOrigin, err);
}

bool Importer::readDif(std::istream& in, ErrStat& err) {
    TextLineReader lines(in, kTextLineLimit);
    std::string line;
    bool data = false;
    while (!data && lines.next(line)) data = trimmedField(line) == "DATA";
    if (!data) return readFailed(lines, kDifImportOrigin, err);
    for (int skip = 0; skip < 2 && lines.next(line); ++skip) {
    }
    auto illegal = [&err](int point) { return err.fail(kDifImportOrigin, point, Msg::IllegalFileType); };
    int row = m_at.row;
    int col = m_at.col;
    std::string type;
    while (lines.next(type)) {
        std::string value;
        const bool paired = lines.next(value);
        const std::string_view t = trimmedField(type);
        const std::string_view v = trimmedField(value);
        if (t == "-1,0") {
            if (v == "EOD") break;
            if (v != "BOT") return illegal(1);
            if (++row > kMaxRow) break;
            col = m_at.col;
            continue;
        }
        if (!paired) return illegal(t == "1,0" ? 2 : 3);
        if (t == "1,0") {
            if (v.empty() || v.front() != '"') return illegal(2);
            std::string_view text = v.substr(1);
            if (!text.empty() && text.back() == '"') text.remove_suffix(1);
            int overlap = 0;
            if (col <= kMaxCol && !trimmedField(text).empty() &&
                !storeTyped("'" + std::string(text), row, col, overlap, err)) {
                return ended(kDifImportOrigin, err);
            }
        } else if (t.size() > 2 && t.substr(0, 2) == "0,") {
            std::string typed;
            if (v == "V") {
                if (!passesNumberTest(t.substr(2))) return illegal(3);
                typed = importedNumberText(t.substr(2));
            } else if (v == "NA" || v == "ERROR" || v == "FALSE") {
                typed = "+0";
            } else if (v == "TRUE") {
                typed = "+1";
            } else {
                return illegal(3);
            }
            int overlap = 0;
            if (col <= kMaxCol && !storeTyped(typed, row, col, overlap, err)) return ended(kDifImportOrigin, err);
        } else {
            return illegal(4);
        }
        ++col;
    }
    return readFailed(lines, kDifImportOrigin, err);
}

}  // namespace

std::optional<TextKind> textKindOf(std::string_view name) {
    switch (extensionCode(name)) {
        case kTextExtension:
            return TextKind::Text;
        case kCsvExtension:
            return TextKind::Csv;
        case kDifExtension:
            return TextKind::Dif;
        default:
            return std::nullopt;
    }
}

bool importText(FileContext& ctx, TextKind kind, std::istream& in, ImportStart at, ImportOutcome& outcome,
                ErrStat& err) {
    err.enter();
    outcome = ImportOutcome{};
    if (!ctx.store.worksheetLevel(at.level) || at.row < 1 || at.row > kMaxRow || at.col < 1 || at.col > kMaxCol) {
        return err.fail(kImportFileOrigin, 1, Msg::IllegalParameter);
    }
    Importer importer(ctx, at, outcome);
    switch (kind) {
        case TextKind::Text:
            return importer.readText(in, err);
        case TextKind::Csv:
            return importer.readCsv(in, err);
        case TextKind::Dif:
            return importer.readDif(in, err);
    }
    return false;
}

bool importTextFile(FileContext& ctx, ImportStart at, const std::string& path, ErrStat& err) {
    err.enter();
    if (!checkPathText(path, err)) return false;
    const SplitPath where = splitPath(path);
    const std::optional<TextKind> kind = textKindOf(where.name);
    if (!kind) {
        const std::size_t dot = where.name.rfind('.');
        const std::string extension = dot == std::string::npos ? std::string() : where.name.substr(dot);
        messageBox(ctx.platform, "Unable to importing data from files with an (" + extension + ") extension.",
                   "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        return err.fail(kImportFileOrigin, 2, Msg::IllegalFileType);
    }
    if (!ctx.store.levelEmpty(at.level) &&
        messageBox(ctx.platform, "Data may be overwritten!\n\nDo you want to continue?", "WARNING",
                   BoxIcon::Exclamation, BoxButtons::YesNo) != BoxAnswer::Yes) {
        return true;
    }
    bool ok = false;
    std::ifstream in(path, std::ios::binary);
    ImportOutcome outcome;
    if (!in.is_open() || !isRegularFile(path)) {
        err.fail(kImportFileOrigin, 3, Msg::CannotOpenFile);
    } else {
        ok = importText(ctx, *kind, in, at, outcome, err);
    }
    ctx.store.scratch().repaintPending = true;
    ctx.platform.changed();
    if (!ok) {
        ErrStat keep = err;
        const std::string directory = where.directory.empty() ? "." : where.directory;
        messageBox(ctx.platform, "A problem was detected while importing data from:\n\n" + directory, "WARNING",
                   BoxIcon::Exclamation, BoxButtons::Ok);
        err = keep;
        err.trace(kImportFileOrigin);
    }
    return ok;
}

}  // namespace qx
