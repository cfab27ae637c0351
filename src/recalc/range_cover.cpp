#include "recalc/range_cover.h"

#include <algorithm>
#include <climits>

#include "formula/bracket_match.h"
#include "formula/lexer.h"

namespace qx {
namespace {

// One address part: its value when it is an integer literal ($ and a sign allowed), else unknown.
struct Part {
    bool present = false;
    bool literal = false;
    int value = 0;
};

Part readLiteral(const char* s, int from, int to) {
    Part part;
    int p = from;
    while (p < to && isBlank(s[p])) ++p;
    if (p == to) return part;
    part.present = true;
    if (s[p] == '$') ++p;
    while (p < to && isBlank(s[p])) ++p;
    const bool negative = p < to && s[p] == '-';
    if (p < to && (s[p] == '+' || s[p] == '-')) ++p;
    const int digits = p;
    long long v = 0;
    while (p < to && isDigit(s[p]) && p - digits < 10) v = v * 10 + (s[p++] - '0');
    if (p == digits || (p < to && isDigit(s[p]))) return part;
    while (p < to && isBlank(s[p])) ++p;
    if (p != to) return part;
    part.literal = true;
    part.value = static_cast<int>(std::clamp<long long>(negative ? -v : v, INT_MIN, INT_MAX));
    return part;
}

// The end of the part starting at `pos`: the next ',' or terminator outside brackets and strings; -1
// when the text ends first.
int partEnd(const char* s, int pos, bool firstCorner) {
    for (;;) {
        const char c = s[pos];
        if (c == '\0') return -1;
        if (c == ',' || c == ']' || c == ';' || c == '{' || (firstCorner && c == '^')) return pos;
        if (c == '(' || c == '[') {
            const int partner = matchBracket(s, pos);
            if (partner <= pos) return -1;
            pos = partner + 1;
        } else if (c == '"') {
            const int end = stringEnd(s, pos);
            if (end <= pos) return -1;
            pos = end;
        } else {
            ++pos;
        }
    }
}

struct Corner {
    Part row, col, level;
    int end = -1;  // the character that ended it
};

// Reads row, column, element and level parts from `pos` (after '[' or '^'); end -1 when it is no address.
Corner readCorner(const char* s, int pos, bool firstCorner) {
    Corner corner;
    Part* parts[4] = {&corner.row, &corner.col, nullptr, &corner.level};
    for (int k = 0; k < 4; ++k) {
        const int end = partEnd(s, pos, firstCorner);
        if (end < 0) return corner;
        if (parts[k] != nullptr) *parts[k] = readLiteral(s, pos, end);
        if (s[end] != ',' || k == 3) {
            if (k == 0) return corner;  // an address has a column
            corner.end = end;
            return corner;
        }
        pos = end + 1;
    }
    return corner;
}

void span(const Part& a, const Part& b, int fallback, int widest, int& first, int& last) {
    if (!a.present && !b.present) {
        first = last = fallback;
    } else if (!a.literal || !b.literal) {
        first = INT_MIN;
        last = widest;
    } else {
        first = std::min(a.value, b.value);
        last = std::max(a.value, b.value);
    }
}

// The operand an assignment at `pos` stores into is a register.
bool assignsRegister(const char* s, int pos) {
    int end = pos - 1;
    while (end >= 0 && isBlank(s[end])) --end;
    return end >= 2 && s[end] == ']' && registerAt(s, end - 2) >= 0;
}

// The length of the assignment operator at `pos`, 0 when none starts there; comparisons are passed whole.
int assignmentLength(const char* s, int pos, int& skip) {
    const char c = s[pos];
    skip = 1;
    if ((c == '<' || c == '>') && s[pos + 1] == c) return s[pos + 2] == '=' ? 3 : (skip = 2, 0);
    if ((c == '=' || c == '!' || c == '<' || c == '>') && s[pos + 1] == '=') return skip = 2, 0;
    return isAssignment(s, pos) ? (c == '=' ? 1 : 2) : 0;
}

}  // namespace

bool readsOnlyLevelCells(const char* text, int level, const std::vector<CoverBox>& boxes) {
    if (text == nullptr) return false;
    for (const CoverBox& box : boxes) {
        if (box.firstLevel != level || box.lastLevel != level) return false;
    }
    int value = 0;
    for (int at = 0; text[at] != '\0';) {
        const char c = text[at];
        if (c == '[' && registerAt(text, at) >= 0) {
            at += 3;
        } else if (isDigit(c) || (c == '.' && isDigit(text[at + 1]))) {
            at = std::max(at + 1, numberTextEnd(text, at));
        } else if (c == '\'' && scanCharacter(text, at, value)) {
            at += 3;
        } else if (c == '"' || isNameStart(c)) {
            return false;
        } else {
            int skip = 1;
            const int length = assignmentLength(text, at, skip);
            if (length > 0 && !assignsRegister(text, at)) return false;
            at += length > 0 ? length : skip;
        }
    }
    return true;
}

std::vector<CoverBox> coverBoxes(const char* text, int level) {
    std::vector<CoverBox> boxes;
    if (text == nullptr) return boxes;
    for (int at = 0; text[at] != '\0'; ++at) {
        if (text[at] != '[' || registerAt(text, at) >= 0) continue;
        const Corner a = readCorner(text, at + 1, true);
        if (a.end < 0 || !a.row.present || !a.col.present) continue;
        Corner b = a;
        if (text[a.end] == '^') {
            b = readCorner(text, a.end + 1, false);
            if (b.end < 0 || !b.row.present || !b.col.present) b = a;
        }
        CoverBox box;
        span(a.row, b.row, 0, INT_MAX, box.firstRow, box.lastRow);
        span(a.col, b.col, 0, INT_MAX, box.firstCol, box.lastCol);
        Part levelA = a.level;
        Part levelB = b.level;
        if (!levelA.present) levelA = Part{true, true, level};
        if (!levelB.present) levelB = Part{true, true, level};
        span(levelA, levelB, level, INT_MAX, box.firstLevel, box.lastLevel);
        boxes.push_back(box);  // addresses inside the corners are read too: the scan goes on into them
    }
    return boxes;
}

}  // namespace qx
