#include "functions/view_objects.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "formula/bracket_match.h"
#include "formula/compiled_text.h"
#include "formula/lexer.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

bool oneOf(ObjectKind k, std::initializer_list<ObjectKind> kinds) {
    for (ObjectKind x : kinds) {
        if (x == k) return true;
    }
    return false;
}

// Graphs and views that stand for their own sources when another one lists them (a profile view does not).
bool expandable(ObjectKind k) {
    return oneOf(k, {ObjectKind::Viewport, ObjectKind::PlanView, ObjectKind::SectionView, ObjectKind::XYGraph,
                     ObjectKind::LineGraph, ObjectKind::BarGraph});
}

bool isSeries(const FormulaRec& f) {
    return formulaflag::objectKind(f.flags) == ObjectKind::Number && f.arrayCount() >= 1;
}

// One argument list being read; the text is a copy, so reading never writes into a stored formula.
struct Frame {
    CellRec* owner = nullptr;
    std::string text;
    int pos = 0;  // on the '(' or ',' before the next argument
    int close = 0;
    RegisterBlock regs;
};

Frame frameOf(const SourceText& s) {
    Frame f;
    f.owner = s.owner;
    f.text.assign(s.text, static_cast<std::size_t>(s.close) + 1);
    f.pos = s.open;
    f.close = s.close;
    f.regs = s.regs;
    return f;
}

// The cell named by the address at `pos` ('[' or a compiled '~'); leaves `pos` after it.
bool readSource(Evaluator& evaluator, CellStore& store, Frame& f, int& pos, CellRec*& cell, ErrStat& err) {
    char* text = f.text.data();
    if (text[pos] == '~') {
        DirectAddress da;
        const CellRec* target = directTarget(f.owner ? f.owner->formula : nullptr, text, pos, da);
        if (target == nullptr) return err.fail(kCollectSources, 2, Msg::CorruptedDirectAddress);
        cell = const_cast<CellRec*>(target);
        pos = da.end;
        return true;
    }
    if (text[pos] != '[') return err.fail(kCollectSources, 3, Msg::IllegalCellAddress);
    const CellAddress a = evaluator.parseAddress(f.owner, text, pos, false, f.regs, err);
    if (err.failed()) return err.trace(kCollectSources), false;
    if (text[pos] != ']') return err.fail(kCollectSources, 4, Msg::MissingBracket);
    ++pos;
    cell = store.findCell(a.row, a.col, a.hasLevel ? a.level : evaluator.levelFor(f.owner), err);
    if (err.failed()) return err.trace(kCollectSources), false;
    return true;
}

}  // namespace

bool isGraphOrView(ObjectKind kind) {
    return expandable(kind) || kind == ObjectKind::ProfileView;
}

bool acceptsSource(ObjectKind view, const FormulaRec& source) {
    const ObjectKind k = formulaflag::objectKind(source.flags);
    switch (view) {
        case ObjectKind::Viewport:
        case ObjectKind::PlanView:
            return oneOf(k, {ObjectKind::Coordinate, ObjectKind::Segment, ObjectKind::Polygon, ObjectKind::Curve,
                             ObjectKind::Text, ObjectKind::Profile, ObjectKind::CrossSection});
        case ObjectKind::ProfileView:
            return k == ObjectKind::Profile;
        case ObjectKind::SectionView:
            return k == ObjectKind::CrossSection || k == ObjectKind::CrossSectionPart;
        case ObjectKind::XYGraph:
            return oneOf(k, {ObjectKind::Coordinate, ObjectKind::Segment, ObjectKind::Curve, ObjectKind::Polygon}) ||
                   isSeries(source);
        case ObjectKind::LineGraph:
        case ObjectKind::BarGraph:
            return isSeries(source);
        default:
            return false;
    }
}

ViewSettings defaultViewSettings(ObjectKind kind) {
    ViewSettings s{};
    s[5] = 1.0;
    s[6] = 1.0;
    s[18] = 0.1;
    s[19] = kind == ObjectKind::PlanView      ? 1.0
            : kind == ObjectKind::ProfileView ? 2.0
            : kind == ObjectKind::SectionView ? 3.0
                                              : 0.0;
    return s;
}

std::span<const double> viewSettings(const FormulaRec& formula) {
    if (formula.array == nullptr || formula.array[0] != kViewSettingCount) return {};
    return {formula.array + 1, static_cast<std::size_t>(kViewSettingCount)};
}

int CollectSources(Evaluator& evaluator, CellStore& store, const SourceText& from, ObjectKind kind,
                   std::vector<CellRec*>& out, ErrStat& err) {
    err.enter();
    const std::size_t first = out.size();
    // Lists are read depth first with a stack of their own: a long chain of views cannot exhaust the call stack.
    std::vector<Frame> lists;
    lists.push_back(frameOf(from));
    std::unordered_set<const CellRec*> expanded{from.owner};
    while (!lists.empty() && out.size() < kMaxViewSources) {
        Frame& f = lists.back();
        const char delimiter = f.pos <= f.close ? f.text[static_cast<std::size_t>(f.pos)] : '\0';
        if (delimiter != '(' && delimiter != ',') {
            lists.pop_back();
            continue;
        }
        int pos = skipBlanks(f.text.data(), f.pos + 1);
        if (delimiter == '(' && f.text[static_cast<std::size_t>(pos)] == ')') {
            lists.pop_back();
            continue;
        }
        CellRec* cell = nullptr;
        if (!readSource(evaluator, store, f, pos, cell, err)) return -1;
        pos = skipBlanks(f.text.data(), pos);
        if (f.text[static_cast<std::size_t>(pos)] == ')') ++pos;
        f.pos = pos;
        if (cell == nullptr) return err.fail(kCollectSources, 5, Msg::EmptyCell), -1;
        if (!cell->isFormula() || cell->formula == nullptr)
            return err.fail(kCollectSources, 6, Msg::IncompatibleCellType), -1;
        const FormulaRec& source = *cell->formula;
        if (source.errorMark()) continue;
        if (acceptsSource(kind, source)) {
            out.push_back(cell);
            continue;
        }
        if (!expandable(formulaflag::objectKind(source.flags))) {
            return err.fail(kCollectSources, 7, Msg::IncompatibleCellType), -1;
        }
        SourceText inner;
        if (expanded.insert(cell).second && formulaArguments(*cell, inner)) lists.push_back(frameOf(inner));
    }
    return static_cast<int>(out.size() - first);
}

bool formulaArguments(CellRec& cell, SourceText& out) {
    if (!cell.isFormula() || cell.text == nullptr) return false;
    const char* text = cell.text;
    for (int pos = 0; text[pos] != '\0'; ++pos) {
        if (text[pos] == '"') {
            const int end = stringEnd(text, pos);
            if (end < 0) return false;
            pos = end - 1;
            continue;
        }
        if (text[pos] != '(') continue;
        const int close = matchBracket(text, pos);
        if (close == pos) return false;
        out = SourceText{&cell, text, pos, close, {}};
        return true;
    }
    return false;
}

bool readView(Evaluator& evaluator, CellStore& store, CellRec& cell, ViewContent& out, ErrStat& err) {
    err.enter();
    out = ViewContent{};
    const FormulaRec* f = cell.isFormula() ? cell.formula : nullptr;
    const std::span<const double> settings = f != nullptr ? viewSettings(*f) : std::span<const double>();
    if (f == nullptr || !isGraphOrView(formulaflag::objectKind(f->flags)) || settings.empty()) {
        return err.fail(kReadView, 1, Msg::IncompatibleCellType);
    }
    out.kind = formulaflag::objectKind(f->flags);
    std::copy(settings.begin(), settings.end(), out.settings.begin());
    SourceText from;
    if (!formulaArguments(cell, from)) return true;
    if (CollectSources(evaluator, store, from, out.kind, out.sources, err) < 0) {
        err.savedPoint = 0;
        return err.fail(kReadView, 2, Msg::IncompatibleCellType);
    }
    return true;
}

}  // namespace qx
