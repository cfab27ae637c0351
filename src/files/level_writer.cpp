#include "files/level_writer.h"

#include <charconv>
#include <cmath>

#include "core/app_globals.h"
#include "core/cell_heap.h"
#include "core/formula_flags.h"
#include "core/level_fonts.h"
#include "core/number_text.h"
#include "core/slot.h"
#include "files/origins.h"
#include "files/record_scanner.h"
#include "files/table_records.h"
#include "formula/formula_engine.h"

namespace qx {

using namespace origins::files;
namespace {

constexpr double kStoredInfinity = 1.7e308;
constexpr uint16_t kRowDisplayFlag = 0x4000;
constexpr std::size_t kMaxDirectoryLength = 255;

std::string num(int64_t v) {
    return std::to_string(v);
}

std::string quoted(std::string_view text) {
    return "\"" + storedText(text, StoredText::Quoted) + "\"";
}

std::string area(const CellArea& a) {
    return num(a.firstRow) + "," + num(a.firstCol) + "," + num(a.lastRow) + "," + num(a.lastCol);
}

// A directory goes out only when it reads back unchanged; otherwise the reader's own path serves.
bool writableDirectory(std::string_view dir) {
    if (dir.empty() || dir.size() > kMaxDirectoryLength) return false;
    for (char ch : dir) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c >= 127 || c == '"' || c == '~') return false;
    }
    return true;
}

// Font names sit in a list: its separators cannot appear in them.
std::string fontName(std::string_view name) {
    std::string out = storedText(name, StoredText::Label);
    for (char& c : out) {
        if (c == ',' || c == '{' || c == '}' || c == '|' || c == '"' || c == ';') c = '^';
    }
    return out;
}

class LevelWriter {
  public:
    LevelWriter(const FormulaEngine& formulas, LevelRec& level, BlockStream& out)
        : m_formulas(formulas), m_level(level), m_out(out) {}

    bool run(ErrStat& err) {
        compactLevelFonts(m_level);
        return settings(err) && ranges(err) && sizes(err) && views(err) && cells(err) && put("~~Xe", err);
    }

  private:
    bool put(const std::string& text, ErrStat& err) { return m_out.append(text, err); }

    bool settings(ErrStat& err) {
        const LevelDefaults& d = m_level.defaults;
        if (!put("~~SV3.00", err) || !put("~~Sg{" + num(d.gridLines) + "," + num(d.gridColour) + "}", err) ||
            !put("~~Sy" + num(d.style), err)) {
            return false;
        }
        if (writableDirectory(m_level.directory) && !put("~~Sp\"" + m_level.directory + "\"", err)) return false;
        if (!put("~~Sw" + num(d.columnWidth), err) || !put("~~Sh" + num(d.rowHeight), err) ||
            !put("~~Sr" + num(d.rangePasses), err) || !put("~~Sd" + num(d.precision), err) ||
            !put("~~Sm{" + num(d.background) + "," + num(d.displayByte) + "}", err)) {
            return false;
        }
        const int added = static_cast<int>(m_level.fontNames.size()) - kAppFontCount;
        if (added <= 0) return true;
        std::string rec = "~~Sf{" + num(added);
        for (int i = 0; i < added; ++i)
            rec += (i == 0 ? ",~," : ",") + fontName(slot(m_level.fontNames, kAppFontCount + i));
        return put(rec + "}", err);
    }

    bool ranges(ErrStat& err) {
        for (const ColourRange& r : m_level.colourRanges) {
            if (!put("~~Db{" + area(r.area) + "," + num(r.relative) + "," + num(r.colour) + "}", err)) return false;
        }
        for (const BorderRange& r : m_level.borderRanges) {
            if (!put("~~Dt{" + area(r.area) + "," + num(r.relative) + "," + num(r.outside) + "," + num(r.inside) + "," +
                         num(r.colour) + "}",
                     err)) {
                return false;
            }
        }
        for (const RangeAttrRec& r : m_level.rangeRecords) {
            const CellArea a{r.firstRow, r.firstCol, r.lastRow, r.lastCol};
            if (!put("~~Dy{" + area(a) + "," + num(r.kind) + "," + num(r.style) + "," + num(r.formulaFlags) + "," +
                         num(r.cellFlags) + "," + num(r.precision) + "}",
                     err)) {
                return false;
            }
        }
        return true;
    }

    bool sizes(ErrStat& err) {
        const std::size_t rows = std::min<std::size_t>(m_level.rowHeights.size(), kMaxRow + 1);
        for (std::size_t r = 1; r < rows; ++r) {
            const uint16_t word = m_level.rowHeights[r] & static_cast<uint16_t>(~kRowDisplayFlag);
            if (word != m_level.defaults.rowHeight &&
                !put("~~Vr{" + num(static_cast<int64_t>(r)) + "," + num(word) + "}", err)) {
                return false;
            }
        }
        for (int c = 1; c <= kMaxCol; ++c) {
            const uint16_t word = slot(m_level.colWidths, c);
            if (word != m_level.defaults.columnWidth && !put("~~Vc{" + num(c) + "," + num(word) + "}", err))
                return false;
        }
        return true;
    }

    bool views(ErrStat& err) {
        for (const PlacedView& v : m_level.views) {
            if (!put("~~Ow{" + num(v.first) + "," + num(v.second) + "," + num(v.left) + "," + num(v.top) + "," +
                         num(v.right) + "," + num(v.bottom) + "}",
                     err)) {
                return false;
            }
        }
        return true;
    }

    bool cells(ErrStat& err) {
        std::string rec;
        for (LevelCursor it(m_level); !it.done(); it.advance()) {
            if (!cellRecord(*it.get(), rec, err) || !put(rec, err)) return false;
        }
        return true;
    }

    // Cell records are the bulk of a file: their fields are appended in place.
    static void field(std::string& rec, std::string_view name, int64_t value) {
        char buf[24];
        rec += name;
        rec.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
    }

    bool cellRecord(CellRec& cell, std::string& rec, ErrStat& err) {
        rec.clear();
        field(rec, "~~R", cell.row);
        field(rec, "C", cell.col);
        field(rec, "P", cell.flags);
        field(rec, "Y", cell.style);
        const FormulaRec* f = cell.formula;
        const bool withFormula = cell.formulaLike();
        if (withFormula) {
            field(rec, "J", f->flags);
            if (cell.isFormula() && f->tag != nullptr) rec += "T" + quoted(f->tag);
            references(*f, rec);
            if (cell.isFormula()) {
                arrayArea(*f, rec);
                tableObject(*f, rec);
            }
        }
        rec += ';';
        return cellText(cell, withFormula, rec, err);
    }

    static void references(const FormulaRec& f, std::string& rec) {
        if (f.refCount == 0 || f.refs == nullptr) return;
        field(rec, "M", f.refCount);
        rec += '{';
        for (uint32_t k = 0; k < f.refCount; ++k) {
            const CellRec* r = f.refs[k];
            field(rec, "", r ? r->row : 0);
            field(rec, ",", r ? r->col : 0);
            rec += k + 1 == f.refCount ? '}' : '|';
        }
    }

    static void arrayArea(const FormulaRec& f, std::string& rec) {
        const uint32_t n = f.array ? std::min<uint32_t>(f.arrayCount(), kMaxArrayElements) : 0;
        field(rec, "E", n);
        rec += '{';
        rec += storedNumber(f.value);
        for (uint32_t k = 1; k <= n; ++k) {
            rec += '|';
            rec += storedNumber(f.array[k]);
        }
        rec += '}';
    }

    // The names go out neutralised while the descriptor keeps them: a save claims no memory for them
    // and never changes what the table shows. The file reads back as written.
    static void tableObject(const FormulaRec& f, std::string& rec) {
        if (formulaflag::objectKind(f.flags) != ObjectKind::Table || f.object == nullptr ||
            f.object->table == nullptr) {
            return;
        }
        appendTableRecords(*f.object->table, rec);
    }

    // The rules change the text the cell holds, so what is shown is what the file gives back.
    bool plainText(CellRec& cell, StoredText kind, std::string& rec, ErrStat& err) {
        const std::string text = storedText(cell.textView(), kind);
        if (text != cell.textView()) {
            heapFreeText(m_level, cell.text, err);
            if (!err.failed()) cell.text = heapText(m_level, text, err);
            if (err.failed()) return err.trace(kLevelWriterOrigin), false;
        }
        rec += text;
        return true;
    }

    bool cellText(CellRec& cell, bool withFormula, std::string& rec, ErrStat& err) {
        switch (cell.type()) {
            case CellType::Label:
                return plainText(cell, StoredText::Label, rec, err);
            case CellType::Undefined:
                return plainText(cell, StoredText::Undefined, rec, err);
            default:
                break;
        }
        if (!withFormula) return true;
        // The whole readable form is written, however long it grew; compiled text never reaches a file.
        const std::string readable = m_formulas.readableText(cell, TextOffsets{}, err);
        if (err.failed()) return err.trace(kLevelWriterOrigin), false;
        rec += storedText(readable, cell.isFormula() ? StoredText::Formula : StoredText::VariableLabel);
        return true;
    }

    const FormulaEngine& m_formulas;
    LevelRec& m_level;
    BlockStream& m_out;
};

}  // namespace

std::string storedNumber(double value) {
    if (value == 0.0) return "0";
    if (std::isnan(value) || value <= -kStoredInfinity) return "-1.#INF";
    if (value >= kStoredInfinity) return "+1.#INF";
    std::string text = formatExponent(value, 15);
    double back = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    return back == 0.0 ? formatGeneral(value, 15) : text;
}

bool writeLevelRecords(CellStore& store, const FormulaEngine& formulas, int level, BlockStream& out, ErrStat& err) {
    err.enter();
    LevelRec* rec = store.worksheetLevel(level) ? store.levelPtr(level) : nullptr;
    if (rec == nullptr) return err.fail(kLevelWriterOrigin, 1, Msg::LevelOutOfRange);
    if (!LevelWriter(formulas, *rec, out).run(err)) return err.trace(kLevelWriterOrigin), false;
    return true;
}

bool writeLevelFile(CellStore& store, const FormulaEngine& formulas, int level, BlockStream& out, int bodyKey,
                    ErrStat& err) {
    err.enter();
    if (store.levelEmpty(level)) return err.fail(kLevelWriterOrigin, 2, Msg::CannotSaveWorksheet);
    if (!out.begin(bodyKey, err) || !writeLevelRecords(store, formulas, level, out, err) || !out.finish(err)) {
        return err.trace(kLevelWriterOrigin), false;
    }
    return true;
}

}  // namespace qx
