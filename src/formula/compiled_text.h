#pragma once
// Direct cell addresses inside compiled formula text, and turning compiled text back into readable text.
#include <string>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

// Absolute flags of an address as typed.
namespace absflag {
constexpr int kRow = 8;
constexpr int kColumn = 4;
constexpr int kElement = 2;
constexpr int kLevel = 1;
}  // namespace absflag

// "~N~M" or "~N~M~K": N indexes the reference list from 1, M holds the absolute flags, K an explicit level.
struct DirectAddress {
    int index = 0;
    int flags = 0;
    int level = 0;  // 0: none written
    int end = 0;    // position after the token
};

// Reads the token whose '~' lies just before `pos`. False for an unreadable or out-of-range token.
bool readDirectAddress(const char* text, int pos, DirectAddress& out);

// The cell named by the direct cell address whose '~' is at `pos`, through `f`'s reference list, with the
// token read into `da`. Null for an unreadable token or one the list does not hold.
// Inline: every cell read of a formula passes here.
inline const CellRec* directTarget(const FormulaRec* f, const char* text, int pos, DirectAddress& da) {
    if (f == nullptr || !readDirectAddress(text, pos + 1, da) || static_cast<uint32_t>(da.index) > f->refCount) {
        return nullptr;
    }
    return f->refs[da.index - 1];
}

// Appends "~N~M" to `out`.
void appendDirectAddress(std::string& out, int index, int flags);

// Row, column and level offsets of a copy; all zero for plain display.
struct TextOffsets {
    int row = 0;
    int col = 0;
    int level = 0;
    bool any() const { return row != 0 || col != 0 || level != 0; }
};

// Writes the readable address of the direct cell address whose '~' is at `pos`.
// Returns the position after the token, or -1 with the failure in `err`.
int writeAddress(const CellRec& cell, const char* text, int pos, TextOffsets off, int maxLevel, std::string& out,
                 ErrStat& err);

// Readable text of compiled formula text. Unbounded: display and saving need the whole text even when it
// grew beyond what may be typed. Control bytes and bytes from 127 come out as '^'.
std::string expandCompiled(const CellRec& cell, const char* text, TextOffsets off, int maxLevel, ErrStat& err);

// Keeps `value` in 1..limit by adding or removing whole multiples of `limit`.
int wrapInto(int value, int limit);

}  // namespace qx
