#include "files/text/text_export.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/attributes.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "core/style_word.h"
#include "display/cell_display.h"
#include "display/display_format.h"
#include "files/open_save.h"
#include "files/origins.h"
#include "files/text/text_fields.h"

namespace qx {

using namespace origins::files;
namespace {

// What a label or a value is drawn from in a worksheet cell.
constexpr int kLabelBuffer = kMaxTextLength + 3;
constexpr int kValueBuffer = kMaxPlainValueWidth + 2;
constexpr uint16_t kColumnWidthMask = 0x7FFF;
// Values go to a DIF file with this many decimals, fixed-point while they fit this width.
constexpr int kDifPrecision = 15;
constexpr int kDifValueWidth = 40;

// The row's cells inside the range's columns, by column (index 0 is the range's first column).
std::vector<const CellRec*> rowInRange(const CellStore& store, int row, int level, const CellArea& range) {
    std::vector<const CellRec*> cells(static_cast<std::size_t>(range.lastCol - range.firstCol + 1), nullptr);
    for (const CellRec* cell : store.rowCells(row, level)) {
        if (cell->col < range.firstCol) continue;
        if (cell->col > range.lastCol) break;
        cells[static_cast<std::size_t>(cell->col - range.firstCol)] = cell;
    }
    return cells;
}

bool hidden(const CellStore& store, const CellRec* cell, int row, int col, int level) {
    return (effectiveAttributes(store, cell, row, col, level).cellFlags & cellflag::kHideDisplay) != 0;
}

// The display text as the worksheet shows it with `buffer` bytes, without its blanks.
std::string shownText(const CellStore& store, const CellRec& cell, int level, int buffer) {
    CellDisplayContext context;
    context.inheritedPrecision = effectivePrecision(store, &cell, cell.row, cell.col, level);
    return std::string(trimBlanks(cellDisplayText(&cell, buffer, context)));
}

void finishLine(std::string& line, int lineWidth, std::ostream& out) {
    if (static_cast<int>(line.size()) > lineWidth) line.resize(static_cast<std::size_t>(lineWidth));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

int charactersOf(const LevelRec& rec, int col) {
    return (rec.colWidths[static_cast<std::size_t>(col)] & kColumnWidthMask) / kPixelsPerCharacter;
}

// One row as the worksheet draws it: each column its width in characters, a value right-justified and
// a label left-justified unless the cell says otherwise, a label running on into empty columns. One
// character of each column is kept blank, as the cell's margin keeps it on the screen.
void writeTextRow(const CellStore& store, const LevelRec& rec, int row, const CellArea& range, int lineWidth,
                  std::ostream& out) {
    const int level = rec.number;
    const std::vector<const CellRec*> cells = rowInRange(store, row, level, range);
    std::vector<int> start;
    int total = 0;
    for (int col = range.firstCol; col <= range.lastCol; ++col) {
        start.push_back(total);
        total += charactersOf(rec, col);
    }
    std::string line(static_cast<std::size_t>(total), ' ');
    auto index = [&range](int col) { return static_cast<std::size_t>(col - range.firstCol); };
    auto occupied = [&](int col) { return col >= range.firstCol && col <= range.lastCol && cells[index(col)]; };
    for (const CellRec* cell : cells) {
        if (cell == nullptr || cell->isPlaceholder()) continue;
        const int col = cell->col;
        const EffectiveAttributes attrs = effectiveAttributes(store, cell, row, col, level);
        const int width = charactersOf(rec, col);
        if ((attrs.cellFlags & cellflag::kHideDisplay) != 0 || width == 0) continue;
        const bool label = cell->isLabelLike();
        std::string text = shownText(store, *cell, level, label ? kLabelBuffer : width);
        if (text.empty()) continue;
        int justify = style::justification(attrs.style);
        if (justify == style::kJustifyDefault) justify = label ? style::kJustifyLeft : style::kJustifyRight;
        int first = col;
        int last = col;
        int span = width;
        const int needed = static_cast<int>(text.size()) + 1;
        if (label && justify == style::kJustifyLeft) {
            while (span < needed && last < range.lastCol && !occupied(last + 1)) span += charactersOf(rec, ++last);
        } else if (label && justify == style::kJustifyRight) {
            while (span < needed && first > range.firstCol && !occupied(first - 1)) span += charactersOf(rec, --first);
        }
        const int room = span - 1;
        if (room <= 0) continue;
        if (static_cast<int>(text.size()) > room) text.resize(static_cast<std::size_t>(room));
        const int size = static_cast<int>(text.size());
        int at = start[index(first)];
        if (justify == style::kJustifyRight) at += room - size;
        if (justify == style::kJustifyCenter) at += (room - size) / 2;
        line.replace(static_cast<std::size_t>(at), text.size(), text);
    }
    finishLine(line, lineWidth, out);
}

std::string csvField(std::string text) {
    if (passesNumberTest(text)) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';  // doubled, so that readers take it as part of the text
        quoted += c;
    }
    return quoted + '"';
}

void writeCsvRow(const CellStore& store, int level, int row, const CellArea& range, int lineWidth, std::ostream& out) {
    std::string line;
    const std::vector<const CellRec*> cells = rowInRange(store, row, level, range);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellRec* cell = cells[i];
        const int col = range.firstCol + static_cast<int>(i);
        std::string text;
        if (cell != nullptr && !cell->isPlaceholder() && !hidden(store, cell, row, col, level)) {
            text = shownText(store, *cell, level, cell->isLabelLike() ? kLabelBuffer : kValueBuffer);
        }
        if (i > 0) line += ',';
        line += csvField(std::move(text));
    }
    if (static_cast<int>(line.size()) > lineWidth) line.resize(static_cast<std::size_t>(lineWidth));
    while (!line.empty() && (line.back() == ' ' || line.back() == ',')) line.pop_back();
    finishLine(line, lineWidth, out);
}

std::string difValue(double value) {
    if (value == 0.0) return "0";
    NumberFormat format;
    format.code = static_cast<int>(DisplayCode::Decimal);
    format.precision = kDifPrecision;
    format.width = kDifValueWidth;
    ErrStat ignored;
    return std::string(trimBlanks(formatNumber(value, format, ignored)));
}

void writeDifCell(const CellStore& store, const CellRec* cell, int level, int lineWidth, std::string& out) {
    if (cell == nullptr) {
        out += "1,0\n\"\"\n";
    } else if (cell->isPlaceholder()) {
        out += "0,0\nNA\n";
    } else if (cell->isFormula()) {
        if (cell->formula == nullptr || cell->formula->errorMark()) {
            out += "0,0\nERROR\n";
        } else {
            out += "0," + difValue(cell->formula->value) + "\nV\n";
        }
    } else {
        std::string text = shownText(store, *cell, level, kLabelBuffer);
        // A text cut to the line width still ends with its closing quote.
        const int room = std::max(lineWidth - 2, 0);
        if (static_cast<int>(text.size()) > room) text.resize(static_cast<std::size_t>(room));
        out += "1,0\n\"" + text + "\"\n";
    }
}

bool writeDif(const CellStore& store, const LevelRec& rec, const CellArea& range, int lineWidth, std::ostream& out) {
    const int level = rec.number;
    int lastRow = std::min(range.lastRow, rec.bottom != nullptr ? static_cast<int>(rec.bottom->row) : 0);
    auto hasCell = [&](int row) {
        for (const CellRec* cell : store.rowCells(row, level)) {
            if (cell->col > range.lastCol) break;
            if (cell->col >= range.firstCol) return true;
        }
        return false;
    };
    while (lastRow >= range.firstRow && !hasCell(lastRow)) --lastRow;
    if (lastRow < range.firstRow) return true;
    std::string text = "DATA\n0,0\n\"\"\n";
    for (int row = range.firstRow; row <= lastRow; ++row) {
        text += "-1,0\nBOT\n";
        for (const CellRec* cell : rowInRange(store, row, level, range))
            writeDifCell(store, cell, level, lineWidth, text);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }
    text += "-1,0\nEOD\n";
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return true;
}

std::string extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

}  // namespace

int lineWidthFrom(std::string_view typed) {
    const std::string_view text = trimmedField(typed);
    int width = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), width);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || width < 1 ||
        width > kDefaultLineWidth) {
        return kDefaultLineWidth;
    }
    return width;
}

bool exportText(const CellStore& store, TextKind kind, std::ostream& out, int level, const CellArea& range,
                int lineWidth, ErrStat& err) {
    err.enter();
    const LevelRec* rec = store.worksheetLevel(level) ? store.levelPtr(level) : nullptr;
    if (rec == nullptr || !range.active() || range.firstRow > range.lastRow || range.firstCol > range.lastCol ||
        range.lastRow > kMaxRow || range.lastCol > kMaxCol) {
        return err.fail(kTextExportOrigin, 1, Msg::IllegalParameter);
    }
    if (lineWidth < 1 || lineWidth > kDefaultLineWidth) lineWidth = kDefaultLineWidth;
    if (kind == TextKind::Dif) {
        writeDif(store, *rec, range, lineWidth, out);
    } else {
        for (int row = range.firstRow; row <= range.lastRow && out; ++row) {
            if (kind == TextKind::Text) {
                writeTextRow(store, *rec, row, range, lineWidth, out);
            } else {
                writeCsvRow(store, level, row, range, lineWidth, out);
            }
        }
    }
    out.flush();
    if (!out) return err.fail(kTextExportOrigin, 2, Msg::CannotSaveWorksheet);
    return true;
}

bool exportTextFile(FileContext& ctx, int level, const CellArea& range, const std::string& path,
                    std::optional<int> width, ErrStat& err) {
    err.enter();
    if (!checkPathText(path, err)) return false;
    Platform& platform = ctx.platform;
    if (ctx.store.levelEmpty(level)) {
        messageBox(platform, "Worksheet is empty.", "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        return true;
    }
    if (range.firstRow == range.lastRow && range.firstCol == range.lastCol &&
        messageBox(platform,
                   "Only the selected portion of the worksheet\nwill be exported!\n\nDo you want to continue?",
                   "WARNING", BoxIcon::Exclamation, BoxButtons::YesNo) != BoxAnswer::Yes) {
        return true;
    }
    const SplitPath where = splitPath(path);
    const std::optional<TextKind> kind = textKindOf(where.name);
    if (!kind) {
        messageBox(platform, "Unable to export to files that have a (" + extensionOf(where.name) + ") extension.",
                   "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        return err.fail(kExportFileOrigin, 1, Msg::IllegalFileType);
    }
    if (!width) {
        const std::optional<std::string> typed =
            platform.promptText("Line Width", "Enter max characters/line (1 to 256) :", false);
        if (!typed) return true;
        width = lineWidthFrom(*typed);
    }
    bool ok = false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        err.fail(kExportFileOrigin, 2, Msg::CannotOpenFile);
    } else {
        ok = exportText(ctx.store, *kind, out, level, range, *width, err);
        out.close();
        if (ok && out.fail()) ok = err.fail(kExportFileOrigin, 3, Msg::CannotSaveWorksheet);
        if (!ok) std::remove(path.c_str());  // a half-written file would pass for the whole range
    }
    if (!ok) {
        ErrStat keep = err;
        std::string extension = extensionOf(where.name);
        if (!extension.empty()) extension.erase(0, 1);
        messageBox(
            platform,
            "A problem was detected while exporting data to:\n\n" + withoutExtension(where.name) + "." + extension,
            "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        err = keep;
        err.trace(kExportFileOrigin);
    }
    return ok;
}

}  // namespace qx
