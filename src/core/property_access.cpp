#include "core/property_access.h"

#include <array>

#include "core/attributes.h"
#include "core/formula_flags.h"
#include "core/level_fonts.h"
#include "core/style_word.h"
#include "core/slot.h"

namespace qx {

namespace {

struct Target {
    CellStore& store;
    CellRec& cell;
    const CircularTest& isCircular;

    uint32_t& formulaFlags() { return cell.formula->flags; }
    uint32_t formulaFlags() const { return cell.formula->flags; }
};

// Which cell types a property exists for, and which of them may change it.
enum TypeSet : uint8_t {
    kNone = 0,
    kFormula = 1,
    kLabel = 2,
    kVariableLabel = 4,
    kFormulaLike = kFormula | kVariableLabel,
    kAnyType = kFormula | kLabel | kVariableLabel,
};

using Reader = int64_t (*)(const Target&);
// Returns true when the value was accepted and stored.
using Writer = bool (*)(Target&, int32_t);

struct Property {
    uint8_t readTypes;
    uint8_t writeTypes;
    Reader read;
    Writer write;
};

bool inRange(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi;
}

bool refuse(Target&, int32_t) {
    return false;
}

// Fields replaced as a whole: a write clears the old value before setting the new one.
template <int (*Get)(uint32_t), uint32_t (*With)(uint32_t, int), int32_t Lo, int32_t Hi>
struct FormulaField {
    static int64_t read(const Target& t) { return Get(t.formulaFlags()); }
    static bool write(Target& t, int32_t v) {
        if (!inRange(v, Lo, Hi)) return false;
        t.formulaFlags() = With(t.formulaFlags(), v);
        return true;
    }
};

template <int (*Get)(uint32_t), uint32_t (*With)(uint32_t, int), int32_t Lo, int32_t Hi>
struct StyleField {
    static int64_t read(const Target& t) { return Get(t.cell.style); }
    static bool write(Target& t, int32_t v) {
        if (!inRange(v, Lo, Hi)) return false;
        t.cell.style = With(t.cell.style, v);
        return true;
    }
};

template <bool (*Get)(uint32_t), uint32_t (*With)(uint32_t, bool)>
struct StyleBit {
    static int64_t read(const Target& t) { return Get(t.cell.style) ? 1 : 0; }
    static bool write(Target& t, int32_t v) {
        if (!inRange(v, 0, 1)) return false;
        t.cell.style = With(t.cell.style, v == 1);
        return true;
    }
};

template <uint16_t Flag>
struct CellFlag {
    static int64_t read(const Target& t) { return t.cell.has(Flag) ? 1 : 0; }
    static bool write(Target& t, int32_t v) {
        if (!inRange(v, 0, 1)) return false;
        t.cell.set(Flag, v == 1);
        return true;
    }
};

int64_t readType(const Target& t) {
    return static_cast<int64_t>(t.cell.type());
}
int64_t readRow(const Target& t) {
    return t.cell.row;
}
int64_t readColumn(const Target& t) {
    return t.cell.col;
}
int64_t readLevel(const Target& t) {
    return t.cell.level;
}
int64_t readDependents(const Target& t) {
    return t.cell.dependents;
}
int64_t readNothing(const Target&) {
    return -1;
}

int64_t readArraySize(const Target& t) {
    return t.cell.formula->arrayCount();
}
bool writeArraySize(Target& t, int32_t v) {
    if (!inRange(v, 0, kMaxArrayElements)) return false;
    ErrStat err;
    t.store.setArraySize(&t.cell, v, err);
    return !err.failed();
}

// Display settings apply only to plain numbers in a format this system knows.
bool numberFormatEditable(const Target& t) {
    constexpr int kHighestFormat = 26;
    return formulaflag::objectKind(t.formulaFlags()) == ObjectKind::Number &&
           formulaflag::displayFormat(t.formulaFlags()) <= kHighestFormat;
}

int64_t readObjectKind(const Target& t) {
    return static_cast<int64_t>(formulaflag::objectKind(t.formulaFlags()));
}
bool writeObjectKind(Target& t, int32_t v) {
    // A triangle is made only by the functions that compute one.
    if (!inRange(v, 0, 9) || v == static_cast<int32_t>(ObjectKind::Triangle)) return false;
    t.formulaFlags() = formulaflag::withObjectKind(t.formulaFlags(), static_cast<ObjectKind>(v));
    return true;
}

int64_t readDisplayFormat(const Target& t) {
    return formulaflag::displayFormat(t.formulaFlags());
}
bool writeDisplayFormat(Target& t, int32_t v) {
    constexpr int kDecimal = 0, kComma = 2, kBearing = 25, kStation = 26;
    if (!numberFormatEditable(t) || !(inRange(v, 0, 15) || v == kBearing || v == kStation)) return false;
    uint32_t f = formulaflag::withDisplayFormat(t.formulaFlags(), v);
    // Only Decimal and Comma keep a precision of their own.
    if (v != kDecimal && v != kComma) f = formulaflag::withPrecisionCode(f, 0);
    t.formulaFlags() = f;
    return true;
}

int64_t readPrecision(const Target& t) {
    return effectivePrecision(t.store, &t.cell, t.cell.row, t.cell.col, t.cell.level);
}
bool writePrecision(Target& t, int32_t v) {
    if (!numberFormatEditable(t) || !inRange(v, 0, 15)) return false;
    t.formulaFlags() = formulaflag::withPrecisionCode(t.formulaFlags(), v);
    return true;
}

int64_t readErrorMark(const Target& t) {
    return formulaflag::errorMark(t.formulaFlags()) ? 1 : 0;
}
bool writeErrorMark(Target& t, int32_t v) {
    if (!inRange(v, 0, 1)) return false;
    t.formulaFlags() = formulaflag::withErrorMark(t.formulaFlags(), v == 1);
    return true;
}

int64_t readOption(const Target& t) {
    return formulaflag::option(t.formulaFlags()) ? 1 : 0;
}
bool writeOption(Target& t, int32_t v) {
    if (!inRange(v, 0, 1)) return false;
    t.formulaFlags() = formulaflag::withOption(t.formulaFlags(), v == 1);
    return true;
}

// Removing "Prevent Recalc" leaves the cell to be computed again; a circular one cannot be.
bool writePrevent(Target& t, int32_t v) {
    if (!inRange(v, 0, 1)) return false;
    if (v == 1) {
        t.cell.set(cellflag::kPreventRecalc);
        return true;
    }
    t.cell.set(cellflag::kPreventRecalc, false);
    t.cell.set(cellflag::kRecalcPending);
    if (t.isCircular && t.isCircular(t.cell)) t.formulaFlags() = formulaflag::withErrorMark(t.formulaFlags(), true);
    return true;
}

// A Label keeps its pending mark beside the dependents count.
int64_t readPending(const Target& t) {
    if (t.cell.isLabel()) return t.cell.dependentsMark ? 1 : 0;
    return t.cell.has(cellflag::kRecalcPending) ? 1 : 0;
}
bool writePending(Target& t, int32_t v) {
    if (!inRange(v, 0, 1)) return false;
    if (t.cell.isLabel()) {
        t.cell.dependentsMark = v == 1;
    } else {
        t.cell.set(cellflag::kRecalcPending, v == 1);
    }
    return true;
}

int64_t readStyle(const Target& t) {
    return t.cell.style;
}
bool writeStyle(Target& t, int32_t v) {
    if (v < 0) return false;
    t.cell.style = style::withTextStyle(t.cell.style, static_cast<uint32_t>(v));
    return true;
}

int64_t readSizeCode(const Target& t) {
    return style::sizeCode(t.cell.style);
}
bool writeSize(Target& t, int32_t v) {
    const int code = inRange(v, style::kMinPoints, style::kMaxPoints) ? v - style::kSizeCodeOffset : 0;
    t.cell.style = style::withSizeCode(t.cell.style, code);
    return true;
}

bool writeColourOrBlack(Target& t, int32_t v) {
    t.cell.style = style::withColour(t.cell.style, inRange(v, 1, 15) ? v : 0);
    return true;
}

int64_t readFont(const Target& t) {
    return style::font(t.cell.style);
}
bool writeFont(Target& t, int32_t v) {
    const LevelRec* level = t.store.levelOf(t.cell);
    const int count = level ? levelFontCount(*level) : 0;
    t.cell.style = style::withFont(t.cell.style, inRange(v, 1, count - 1) ? v : 0);
    return true;
}

using ColourField = StyleField<style::colour, style::withColour, 0, 15>;
using JustifyField = StyleField<style::justification, style::withJustification, 0, 3>;
using AlignField = StyleField<style::alignment, style::withAlignment, 0, 2>;
using WrapBit = StyleBit<style::lineWrap, style::withLineWrap>;
using BoldBit = StyleBit<style::bold, style::withBold>;
using ItalicBit = StyleBit<style::italic, style::withItalic>;
using UnderlineBit = StyleBit<style::underline, style::withUnderline>;
using AngleMode = FormulaField<formulaflag::angleMode, formulaflag::withAngleMode, 0, 3>;
using AngleType = FormulaField<formulaflag::angleType, formulaflag::withAngleType, 0, 9>;
using Hide = CellFlag<cellflag::kHideDisplay>;
using Protect = CellFlag<cellflag::kProtectCell>;
using ForceRecalc = CellFlag<cellflag::kForceRecalc>;
using Prevent = CellFlag<cellflag::kPreventRecalc>;
using ForceDisplay = CellFlag<cellflag::kForceDisplay>;
using RangeDef = CellFlag<cellflag::kRangeDef>;

const std::array<Property, kPropertyCount> kProperties = {{
    /* 0 */ {kAnyType, kNone, readType, refuse},
    /* 1 */ {kAnyType, kNone, readRow, refuse},
    /* 2 */ {kAnyType, kNone, readColumn, refuse},
    /* 3 */ {kFormula, kFormula, readArraySize, writeArraySize},
    /* 4 */ {kAnyType, kNone, readLevel, refuse},
    /* 5 */ {kAnyType, kNone, readDependents, refuse},
    /* 6 */ {kFormulaLike, kFormula, readObjectKind, writeObjectKind},
    /* 7 */ {kFormulaLike, kFormula, readDisplayFormat, writeDisplayFormat},
    /* 8 */ {kAnyType, kFormula, readPrecision, writePrecision},
    /* 9 */ {kFormulaLike, kFormulaLike, readErrorMark, writeErrorMark},
    /* 10 */ {kFormulaLike, kFormula, AngleMode::read, AngleMode::write},
    /* 11 */ {kFormulaLike, kFormula, AngleType::read, AngleType::write},
    /* 12 */ {kFormulaLike, kFormula, readOption, writeOption},
    /* 13 */ {kAnyType, kAnyType, ColourField::read, ColourField::write},
    /* 14 */ {kAnyType, kAnyType, JustifyField::read, JustifyField::write},
    /* 15 */ {kAnyType, kAnyType, Hide::read, Hide::write},
    /* 16 */ {kAnyType, kAnyType, Protect::read, Protect::write},
    /* 17 */ {kNone, kNone, readNothing, refuse},
    /* 18 */ {kFormulaLike, kFormulaLike, ForceRecalc::read, ForceRecalc::write},
    /* 19 */ {kFormulaLike, kFormulaLike, Prevent::read, writePrevent},
    /* 20 */ {kFormulaLike, kFormulaLike, ForceDisplay::read, ForceDisplay::write},
    /* 21 */ {kAnyType, kAnyType, readPending, writePending},
    /* 22 */ {kFormula, kNone, RangeDef::read, refuse},
    /* 23 */ {kAnyType, kAnyType, AlignField::read, AlignField::write},
    /* 24 */ {kAnyType, kAnyType, WrapBit::read, WrapBit::write},
    /* 25 */ {kAnyType, kAnyType, BoldBit::read, BoldBit::write},
    /* 26 */ {kAnyType, kAnyType, ItalicBit::read, ItalicBit::write},
    /* 27 */ {kAnyType, kAnyType, UnderlineBit::read, UnderlineBit::write},
    /* 28 */ {kAnyType, kAnyType, readStyle, writeStyle},
    /* 29 */ {kAnyType, kAnyType, readSizeCode, writeSize},
    /* 30 */ {kAnyType, kAnyType, ColourField::read, writeColourOrBlack},
    /* 31 */ {kAnyType, kAnyType, readFont, writeFont},
}};

uint8_t typeBit(const CellRec& cell) {
    switch (cell.type()) {
        case CellType::Formula:
            return kFormula;
        case CellType::Label:
            return kLabel;
        case CellType::VariableLabel:
            return kVariableLabel;
        case CellType::Undefined:
            break;
    }
    return kNone;
}

}  // namespace

int64_t cellProperty(CellStore& store, CellRec* cell, int property, int32_t value, const CircularTest& isCircular) {
    if (cell == nullptr || property < 0 || property >= kPropertyCount) return -1;
    if (cell->isPlaceholder()) return property == 0 ? readType(Target{store, *cell, isCircular}) : -1;
    const Property& p = slot(kProperties, property);
    const uint8_t type = typeBit(*cell);
    // A Formula or Variable Label always owns a formula record; one that lost it has no attributes to give.
    if ((p.readTypes & type) == 0 || ((type & kFormulaLike) != 0 && cell->formula == nullptr)) return -1;
    Target target{store, *cell, isCircular};
    if (value == kPropertyRead) return p.read(target);
    if ((p.writeTypes & type) != 0 && p.write(target, value)) {
        if (LevelRec* level = store.levelOf(*cell)) level->changed = true;
        store.scratch().repaintPending = true;
        store.hooks().recalcMarked(store, *cell);
    }
    return p.read(target);
}

}  // namespace qx
