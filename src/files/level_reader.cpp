#include "files/level_reader.h"

#include <algorithm>
#include <cmath>

#include "core/cell_heap.h"
#include "core/formula_flags.h"
#include "core/level_fonts.h"
#include "core/range_attributes.h"
#include "files/origins.h"
#include "files/stored_form.h"
#include "files/stored_integer.h"
#include "files/table_records.h"
#include "formula/formula_engine.h"

namespace qx {

using namespace origins::files;
namespace {

constexpr int kMaxDirectoryLength = 255;
constexpr int kMaxRowHeight = 255;
constexpr int kMaxColumnWidth = 1024;
constexpr int kMinViewSide = 24;
constexpr std::size_t kMaxStoredReferences = 64;  // one more than a formula holds: enough to notice

constexpr const char* kNewerVersionText =
    "You are attempting to load a worksheet that was\ncreated with a newer version of Quorix than the one\nyou are "
    "using.  This could result in a lost data.\n\nWould you like to continue?";
constexpr const char* kRangeQuestion = "Do you want to recompute the cells that contain Range Operations?";
constexpr const char* kRangeCaption = "Loading worksheet ...";

bool readInt(FieldCursor& f, int64_t& v) {
    return f.readInteger(v);
}

// Comma-separated integers up to the list's closing character, which is returned (0 when none).
char integerList(std::string_view text, std::vector<int64_t>& values) {
    FieldCursor f(text);
    values.clear();
    for (;;) {
        int64_t v = 0;
        if (!f.readInteger(v)) return 0;
        values.push_back(v);
        if (f.accept(',')) continue;
        const char c = f.get();
        return (c == '}' || c == '|') ? c : 0;
    }
}

int clampInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool validArea(const CellArea& a) {
    return validRangeArea(a);
}

CellArea areaOf(const std::vector<int64_t>& v) {
    return CellArea{clampInt(v[0]), clampInt(v[1]), clampInt(v[2]), clampInt(v[3])};
}

}  // namespace

struct LevelReader::Pending {
    bool active = false;
    int row = 0;
    int col = 0;
    uint16_t flags = 0;
    uint32_t style = 0;
    uint32_t formulaFlags = 0;
    std::string comment;
    std::vector<StoredReference> refs;
    bool refsOverflow = false;   // more entries than kept, or a count that disagrees: compile instead
    std::vector<double> values;  // element 0 is the value
    StoredTable table;

    // Keeps the lists' storage: a level has as many cell records as cells.
    void reset() {
        active = false;
        row = col = 0;
        flags = 0;
        style = formulaFlags = 0;
        comment.clear();
        refs.clear();
        refsOverflow = false;
        values.clear();
        table.clear();
    }
};

LevelReader::LevelReader(FileContext& ctx, TokenSource& tokens, bool convert)
    : m_ctx(ctx), m_tokens(tokens), m_convert(convert) {}

LevelReader::~LevelReader() = default;

void resetLevel(CellStore& store, int level, const LevelDefaults& defaults) {
    LevelRec* rec = store.levelPtr(level);
    if (rec == nullptr) return;
    store.clearLevel(level);
    rec->defaults = defaults;
    std::fill(rec->rowHeights.begin(), rec->rowHeights.end(), defaults.rowHeight);
    rec->colWidths.fill(defaults.columnWidth);
    rec->rangeRecords.clear();
    rec->colourRanges.clear();
    rec->borderRanges.clear();
    rec->views.clear();
    rec->changed = false;
}

bool LevelReader::fail(int point, ErrStat& err) {
    return err.fail(kLevelReaderOrigin, point, Msg::IllegalFileType);
}

// A list continues in the next token; a record mark there means the list was cut short.
bool LevelReader::listToken(Token& token) {
    if (!m_tokens.next(token)) return false;
    if (!token.recordStart) return true;
    m_tokens.giveBack(token);
    return false;
}

bool LevelReader::read(int level, LoadTally& tally, bool& cancelled, ErrStat& err) {
    err.enter();
    cancelled = false;
    if (!m_ctx.store.worksheetLevel(level)) return fail(kReadPointLevelRange, err);
    if (!m_ctx.store.levelEmpty(level)) return err.fail(kLevelReaderOrigin, kReadPointNotEmpty, Msg::LevelNotCleared);
    m_level = level;
    m_tally = &tally;
    m_pending = std::make_unique<Pending>();
    resetLevel(m_ctx.store, level, m_ctx.defaults);
    tally.levels.push_back(level);
    Token token;
    while (m_tokens.next(token)) {
        if (token.recordStart) {
            if (m_pending->active) return fail(kReadPointMissingSemicolon, err);
            bool ended = false;
            if (!record(token, ended, cancelled, err)) return err.trace(kLevelReaderOrigin), false;
            if (ended || cancelled) return true;
        } else if (m_pending->active && !cellFields(token.text, err)) {
            return err.trace(kLevelReaderOrigin), false;
        }
    }
    if (m_pending->active) return fail(kReadPointMissingSemicolon, err);
    return fail(kReadPointNoEnd, err);
}

bool LevelReader::record(const Token& token, bool& ended, bool& cancelled, ErrStat& err) {
    FieldCursor f(token.text);
    const char kind = f.get();
    const char sub = f.peek();
    switch (kind) {
        case 'S':
            if (sub == 'f') return fontRecord(err);
            return settingRecord(f, cancelled, err);
        case 'D':
            if (sub == 'b' || sub == 't' || sub == 'y') return rangeRecord(sub, err);
            break;
        case 'V':
            if (sub == 'r' || sub == 'c') return sizeRecord(sub, err);
            break;
        case 'O':
            if (sub == 'w') return viewRecord(err);
            break;
        case 'X':
            if (sub == 'e') return ended = true, true;
            break;
        case 'R':
            return cellFields(token.text, err);
        default:
            break;
    }
    m_tokens.skipRecord();
    return true;
}

bool LevelReader::settingRecord(FieldCursor& f, bool& cancelled, ErrStat&) {
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    LevelDefaults& d = rec.defaults;
    std::vector<int64_t> pair;
    auto readPair = [&] {
        Token list;
        return f.accept('{') && listToken(list) && integerList(list.text, pair) == '}' && pair.size() >= 2;
    };
    int64_t v = 0;
    switch (f.get()) {
        case 'V': {
            double version = 0.0;
            if (f.readNumber(version) && std::floor(version) >= 4.0 &&
                m_ctx.platform.messageBox("WARNING", kNewerVersionText, BoxIcon::Exclamation, BoxButtons::YesNo) !=
                    BoxAnswer::Yes) {
                cancelled = true;
                resetLevel(m_ctx.store, m_level, m_ctx.defaults);
            }
            break;
        }
        case 'g':
            if (readPair() && fitsField<uint8_t>(pair[0]) && fitsField<uint8_t>(pair[1])) {
                d.gridLines = static_cast<uint8_t>(pair[0]);
                d.gridColour = static_cast<uint8_t>(pair[1]);
            }
            break;
        case 'y':
            if (readInt(f, v)) storeIfFits(d.style, v);
            break;
        case 'p': {
            std::string dir;
            if (f.readQuoted(dir, kMaxDirectoryLength)) rec.directory = dir;
            break;
        }
        case 'w':
            if (readInt(f, v) && v >= 0 && v <= kMaxColumnWidth) {
                d.columnWidth = static_cast<uint16_t>(v);
                rec.colWidths.fill(d.columnWidth);
            }
            break;
        case 'h':
            if (readInt(f, v) && v >= 0 && v <= kMaxRowHeight) {
                d.rowHeight = static_cast<uint16_t>(v);
                std::fill(rec.rowHeights.begin(), rec.rowHeights.end(), d.rowHeight);
            }
            break;
        case 'r':
            if (readInt(f, v)) storeIfFits(d.rangePasses, v);
            break;
        case 'd':
            if (readInt(f, v)) storeIfFits(d.precision, v);
            break;
        case 'm':
            if (readPair() && fitsField<uint32_t>(pair[0]) && fitsField<uint8_t>(pair[1])) {
                d.background = static_cast<uint32_t>(pair[0]);
                d.displayByte = static_cast<uint8_t>(pair[1]);
            }
            break;
        default:
            m_tokens.skipRecord();
            break;
    }
    return true;
}

bool LevelReader::fontRecord(ErrStat& err) {
    (void)err;
    Token list;
    if (!listToken(list)) return true;
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    std::string_view text = list.text;
    const std::size_t first = text.find(",~,");
    if (first == std::string_view::npos) return true;
    text.remove_prefix(first + 3);
    while (!text.empty()) {
        std::size_t end = text.find_first_of(",}");
        const std::string_view name = text.substr(0, end);
        if (!name.empty() && addLevelFont(rec, name) < 0) break;
        if (end == std::string_view::npos || text[end] == '}') break;
        text.remove_prefix(end + 1);
    }
    return true;
}

bool LevelReader::rangeRecord(char kind, ErrStat& err) {
    (void)err;
    Token list;
    std::vector<int64_t> v;
    if (!listToken(list) || integerList(list.text, v) != '}') return true;
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    const std::size_t need = kind == 'b' ? 6 : (kind == 't' ? 8 : 9);
    if (v.size() < need) return true;
    const CellArea a = areaOf(v);
    if (!validArea(a)) return true;
    auto sameCorners = [&](const CellArea& o) {
        return o.firstRow == a.firstRow && o.firstCol == a.firstCol && o.lastRow == a.lastRow && o.lastCol == a.lastCol;
    };
    auto covered = [&](const CellArea& o) {
        return o.firstRow >= a.firstRow && o.lastRow <= a.lastRow && o.firstCol >= a.firstCol && o.lastCol <= a.lastCol;
    };
    const bool fitting = kind == 'b'   ? fitsField<uint32_t>(v[5])
                         : kind == 't' ? true
                                       : fitsField<uint16_t>(v[4]) && fitsField<uint32_t>(v[5]) &&
                                             fitsField<uint32_t>(v[6]) && fitsField<uint16_t>(v[7]);
    if (!fitting) return true;
    if (kind == 'b') {
        std::erase_if(rec.colourRanges, [&](const ColourRange& r) { return sameCorners(r.area) || covered(r.area); });
        rec.colourRanges.push_back(ColourRange{a, clampInt(v[4]), static_cast<uint32_t>(v[5])});
    } else if (kind == 't') {
        std::erase_if(rec.borderRanges, [&](const BorderRange& r) { return sameCorners(r.area) || covered(r.area); });
        rec.borderRanges.push_back(BorderRange{a, clampInt(v[4]), clampInt(v[5]), clampInt(v[6]), clampInt(v[7])});
    } else {
        const EffectiveAttributes values{static_cast<uint32_t>(v[5]), static_cast<uint16_t>(v[7]),
                                         static_cast<uint32_t>(v[6]), clampInt(v[8])};
        addRangeAttributes(rec, a, values, static_cast<uint16_t>(v[4]));
    }
    return true;
}

bool LevelReader::sizeRecord(char kind, ErrStat& err) {
    Token list;
    std::vector<int64_t> v;
    if (!listToken(list) || integerList(list.text, v) != '}' || v.size() < 2) return fail(kReadPointSizeList, err);
    if (!fitsField<uint16_t>(v[1])) return true;
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    const auto word = static_cast<uint32_t>(v[1]);
    if (kind == 'r') {
        const uint32_t height = word & 0x3FFF;
        if (v[0] < 1 || v[0] > kMaxRow) return true;
        uint16_t& slot = rec.rowHeights[static_cast<std::size_t>(v[0])];
        if (height <= kMaxRowHeight) slot = static_cast<uint16_t>(height);
        slot = static_cast<uint16_t>((slot & 0x3FFF) | (word & 0x8000));
    } else {
        const uint32_t width = word & 0x7FFF;
        if (v[0] < 1 || v[0] > kMaxCol) return true;
        uint16_t& slot = rec.colWidths[static_cast<std::size_t>(v[0])];
        if (width <= kMaxColumnWidth) slot = static_cast<uint16_t>(width);
        slot = static_cast<uint16_t>((slot & 0x7FFF) | (word & 0x8000));
    }
    return true;
}

bool LevelReader::viewRecord(ErrStat& err) {
    (void)err;
    Token list;
    std::vector<int64_t> v;
    if (!listToken(list) || integerList(list.text, v) != '}' || v.size() < 6) return true;
    PlacedView view{clampInt(v[0]),
                    clampInt(v[1]),
                    clampInt(std::min(v[2], v[4])),
                    clampInt(std::min(v[3], v[5])),
                    clampInt(std::max(v[2], v[4])),
                    clampInt(std::max(v[3], v[5]))};
    if (int64_t{view.right} - view.left < kMinViewSide || int64_t{view.bottom} - view.top < kMinViewSide) return true;
    m_ctx.store.levelPtr(m_level)->views.push_back(view);
    return true;
}

bool LevelReader::cellFields(std::string_view text, ErrStat& err) {
    Pending& p = *m_pending;
    FieldCursor f(text);
    while (!f.atEnd()) {
        const char c = f.get();
        int64_t v = 0;
        switch (c) {
            case 'R':
                p.reset();
                p.active = true;
                if (readInt(f, v)) p.row = clampInt(v);
                break;
            case 'C':
                if (readInt(f, v)) p.col = clampInt(v);
                if (p.row >= 1 && p.row <= kMaxRow && p.col >= 1 && p.col <= kMaxCol) {
                    const EffectiveAttributes a = placeAttributes(*m_ctx.store.levelPtr(m_level), p.row, p.col);
                    p.style = a.style;
                    p.flags = a.cellFlags;
                    p.formulaFlags = a.formulaFlags;
                }
                break;
            case 'P':
                if (readInt(f, v)) storeIfFits(p.flags, v);
                break;
            case 'Y':
                if (readInt(f, v)) storeIfFits(p.style, v);
                break;
            case 'J':
                if (readInt(f, v)) storeIfFits(p.formulaFlags, v);
                break;
            case 'T':
                f.readQuoted(p.comment, kMaxTextLength);
                break;
            case 'M':
                readInt(f, v);
                if (!f.accept('{') || !referenceList(err)) return fail(kReadPointReferenceList, err);
                // A count that disagrees with the list means the list cannot be trusted as it stands.
                if (v != static_cast<int64_t>(p.refs.size())) p.refsOverflow = true;
                break;
            case 'E':
                if (!arrayArea(f, err)) return false;
                break;
            case 'G':
                if (!tableRecord(f, err)) return false;
                break;
            case ';':
                return completeCell(f.rest(), err);
            default:
                // Not a field: the rest of the record is of no use.
                p.active = false;
                m_tokens.skipRecord();
                return true;
        }
    }
    return true;
}

bool LevelReader::referenceList(ErrStat&) {
    Pending& p = *m_pending;
    Token item;
    std::vector<int64_t> v;
    for (;;) {
        if (!listToken(item)) return false;
        const char end = integerList(item.text, v);
        if (end == 0 || v.size() < 2) return false;
        if (p.refs.size() < kMaxStoredReferences) {
            p.refs.push_back(StoredReference{clampInt(v[0]), clampInt(v[1]), v.size() > 2 ? clampInt(v[2]) : 0});
        } else {
            p.refsOverflow = true;
        }
        if (end == '}') return true;
    }
}

bool LevelReader::arrayArea(FieldCursor& f, ErrStat& err) {
    Pending& p = *m_pending;
    int64_t n = 0;
    if (!f.readInteger(n) || n < 0 || n > kMaxArrayElements) return fail(kReadPointArrayCount, err);
    if (!f.accept('{')) return fail(kReadPointArrayOpen, err);
    p.values.assign(static_cast<std::size_t>(n) + 1, 0.0);
    Token item;
    for (int64_t k = 0; k <= n; ++k) {
        const bool last = k == n;
        if (!listToken(item)) return fail(last ? kReadPointArrayClose : kReadPointArraySeparator, err);
        FieldCursor v(item.text);
        double value = 0.0;
        if (!v.readNumber(value)) return fail(last ? kReadPointArrayClose : kReadPointArraySeparator, err);
        p.values[static_cast<std::size_t>(k)] = value;
        if (!v.accept(last ? '}' : '|')) return fail(last ? kReadPointArrayClose : kReadPointArraySeparator, err);
    }
    return true;
}

// The lists are gathered into the pending cell; the table is built when the cell is complete.
bool LevelReader::tableRecord(FieldCursor& f, ErrStat& err) {
    StoredTable& table = m_pending->table;
    const char sub = f.get();
    if (!f.accept('{')) return true;
    Token item;
    if (sub == 'n') {
        if (!listToken(item) || readTableCounts(item.text, table) != '}') return fail(kReadPointTableOpen, err);
        return true;
    }
    std::vector<StoredTable::Heading> unknown;
    std::vector<StoredTable::Heading>& headings =
        sub == 'c' ? table.columnNames : (sub == 's' ? table.rowNames : unknown);
    const int point = sub == 'a' ? kReadPointColumnList : kReadPointHeadingList;
    for (;;) {
        if (!listToken(item)) return fail(point, err);
        const char end = sub == 'a' ? readTableWord(item.text, table.words) : readTableHeading(item.text, headings);
        if (end == '}') return true;
        if (end != '|') return fail(point, err);
    }
}

// Only a table cell takes a table; the table records of any other cell are dropped.
bool LevelReader::tableObject(CellRec& cell, ErrStat& err) {
    const StoredTable& stored = m_pending->table;
    if (!stored.present || formulaflag::objectKind(cell.formula->flags) != ObjectKind::Table) return true;
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    TableDescriptor* table = buildStoredTable(rec, stored, rec.defaults.precision, err);
    if (table == nullptr) return !err.failed();
    if (m_ctx.store.attachTable(&cell, table, err)) return true;
    ErrStat ignored;
    freeTableDescriptor(rec, table, ignored);
    return false;
}

bool LevelReader::completeCell(std::string_view text, ErrStat& err) {
    Pending& p = *m_pending;
    p.active = false;
    if (p.row < 1 || p.row > kMaxRow || p.col < 1 || p.col > kMaxCol) return true;
    const auto type = static_cast<CellType>(p.flags & cellflag::kTypeMask);
    // A record repeating a place replaces the cell this load made there (the level started empty):
    // "Protect Cell" guards what a user does, not the reader overwriting its own work.
    ErrStat looked;
    if (CellRec* earlier = m_ctx.store.findCell(p.row, p.col, m_level, looked); earlier && !earlier->isPlaceholder()) {
        earlier->set(cellflag::kProtectCell, false);
    }
    ErrStat made;
    CellRec* cell = m_ctx.store.makeCell(p.row, p.col, m_level, type, OverlapCheck::Skip, made);
    if (made.failed()) return err = made, err.trace(kLevelReaderOrigin), false;
    // Path and visited marks belong to a test that was running when the file was written.
    cell->flags = static_cast<uint16_t>(p.flags & ~(cellflag::kOnPath | cellflag::kRangeDef));
    cell->style = p.style;
    LevelRec& rec = *m_ctx.store.levelPtr(m_level);
    if (type == CellType::Label || type == CellType::Undefined) {
        heapFreeText(rec, cell->text, err);
        cell->text = heapText(rec, text.substr(0, kMaxTextLength), err);
        return !err.failed() || (err.trace(kLevelReaderOrigin), false);
    }
    if (cell->formula == nullptr) return true;
    cell->formula->flags = p.formulaFlags & ~formulaflag::kVisited;
    return formulaCell(*cell, text, err);
}

bool LevelReader::formulaCell(CellRec& cell, std::string_view text, ErrStat& err) {
    Pending& p = *m_pending;
    const bool formula = cell.isFormula();
    if (formula && !p.comment.empty()) m_ctx.store.setTag(&cell, p.comment, err);
    if (formula && !err.failed()) tableObject(cell, err);
    if (formula && !err.failed() && p.values.size() > 1) {
        m_ctx.store.setArraySize(&cell, static_cast<int>(p.values.size()) - 1, err);
        if (!err.failed()) {
            m_ctx.store.setArrayElements(&cell, p.values.data(), 1, static_cast<int>(p.values.size()) - 1, err);
        }
    }
    if (err.failed()) return err.trace(kLevelReaderOrigin), false;
    std::string compiled;
    if (m_convert && !p.refsOverflow && convertStoredForm(text, p.refs, formula, compiled)) {
        if (keepStoredForm(cell, compiled, err)) return true;
        if (err.failed()) return err.trace(kLevelReaderOrigin), false;
    }
    // Compiled as if typed; a failure only marks the cell, so one bad formula never stops a load.
    ErrStat compiling;
    m_ctx.formulas.compiler().compile(cell, text, text, CompileOptions{false, false}, compiling);
    cell.set(cellflag::kRecalcPending);
    if (cell.has(cellflag::kRangeDef)) ++m_tally->rangeCells;
    return true;
}

// The stored text converted exactly: the value and references from the file stand as they are.
bool LevelReader::keepStoredForm(CellRec& cell, const std::string& compiled, ErrStat& err) {
    Pending& p = *m_pending;
    CellStore& store = m_ctx.store;
    std::vector<CellRec*> list;
    list.reserve(p.refs.size());
    for (const StoredReference& r : p.refs) {
        CellRec* target = store.findCell(r.row, r.col, m_level, err);
        if (err.failed()) return false;
        if (target == &cell) return false;  // compiling reports it
        if (target == nullptr) {
            target = store.makeCell(r.row, r.col, m_level, CellType::Undefined, OverlapCheck::Skip, err);
            if (err.failed()) return false;
        }
        list.push_back(target);
    }
    if (!list.empty()) store.setReferences(&cell, list, err);
    LevelRec& rec = *store.levelPtr(m_level);
    char*& slot = cell.isFormula() ? cell.text : cell.formula->tag;
    heapFreeText(rec, slot, err);
    if (!err.failed()) slot = heapText(rec, compiled, err);
    if (err.failed()) return false;
    const bool rangeCell = (p.flags & cellflag::kRangeDef) != 0;
    if (cell.isFormula()) {
        cell.formula->value = p.values.empty() ? 0.0 : p.values[0];
        store.noteValue(cell);
        cell.set(cellflag::kRecalcPending, formulaflag::objectKind(cell.formula->flags) == ObjectKind::Curve);
        if (rangeCell) {
            store.hooks().joinRangeList(store, cell);
            ++m_tally->rangeCells;
        }
    } else {
        cell.set(cellflag::kRecalcPending);
    }
    return true;
}

namespace {

void recomputeLevel(FileContext& ctx, int level, bool ranges) {
    const LevelRec* rec = ctx.store.levelPtr(level);
    if (rec == nullptr) return;
    std::vector<CellRec*> cells;
    for (LevelCursor it(*rec); !it.done(); it.advance()) {
        CellRec* c = it.get();
        if (!c->formulaLike()) continue;
        const bool rangeCell = c->has(cellflag::kRangeDef);
        if (ranges ? rangeCell : (!rangeCell && c->has(cellflag::kRecalcPending))) cells.push_back(c);
    }
    Recalculator& recalc = ctx.formulas.recalculator();
    for (CellRec* c : cells) recalc.notify(*c, NotifyMode::CellAndChain);
}

}  // namespace

void finishLoad(FileContext& ctx, const LoadTally& tally, bool complete) {
    // Bringing cells up to date marks them for display; what the file said is what stays stored.
    std::vector<CellRec*> unforced;
    for (int level : tally.levels) {
        ErrStat ignored;
        ctx.store.rebuildDependents(level, ignored);
        if (const LevelRec* rec = ctx.store.levelPtr(level)) {
            for (LevelCursor it(*rec); !it.done(); it.advance()) {
                if (!it.get()->has(cellflag::kForceDisplay)) unforced.push_back(it.get());
            }
        }
    }
    for (int level : tally.levels) recomputeLevel(ctx, level, false);
    bool ranges = complete && tally.rangeCells > 0;
    if (ranges && tally.rangeCells > kRangeQuestionThreshold) {
        ranges = ctx.platform.messageBox(kRangeCaption, kRangeQuestion, BoxIcon::Question, BoxButtons::YesNo) ==
                 BoxAnswer::Yes;
    }
    if (ranges) {
        for (int level : tally.levels) recomputeLevel(ctx, level, true);
    }
    for (CellRec* c : unforced) c->set(cellflag::kForceDisplay, false);
    for (int level : tally.levels) {
        if (LevelRec* rec = ctx.store.levelPtr(level)) rec->changed = false;
    }
    ctx.store.scratch().repaintPending = true;
    ctx.platform.changed();
}

bool readLevelFile(FileContext& ctx, BlockReader& reader, int level, bool& cancelled, ErrStat& err) {
    err.enter();
    cancelled = false;
    RecordScanner scanner(reader);
    TokenSource tokens(scanner);
    LevelReader levelReader(ctx, tokens, !reader.plain());
    LoadTally tally;
    const bool ok = levelReader.read(level, tally, cancelled, err);
    if (!ok) err.trace(kLevelFileOrigin);
    if (!ok || cancelled) {
        // Cells read before a failure stay; their links must still be sound.
        if (!ok) finishLoad(ctx, tally, false);
        return ok;
    }
    finishLoad(ctx, tally, true);
    if (!ctx.store.levelEmpty(level) && !ctx.protection.mayAddCells(level)) {
        resetLevel(ctx.store, level, ctx.defaults);
        cancelled = true;
    }
    return true;
}

}  // namespace qx
