#include "formula/compiled_text.h"

#include <cstring>
#include <vector>

#include "formula/formula_codes.h"
#include "formula/lexer.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;

namespace {

// Reads an unsigned decimal of at most five digits; -1 when there is none.
int readSmallNumber(const char* text, int& pos) {
    if (!isDigit(text[pos])) return -1;
    int value = 0;
    int digits = 0;
    while (isDigit(text[pos])) {
        if (++digits > 5) return -1;
        value = value * 10 + (text[pos++] - '0');
    }
    return value;
}

std::string absMark(int flags, int bit) {
    return (flags & bit) ? "$" : "";
}

char sanitized(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 32 || u >= 127) ? '^' : c;
}

// Which part of an address a digit run belongs to; kNotAddress inside parentheses and braces.
constexpr int kNotAddress = -1;
constexpr int kRowPart = 0;
constexpr int kColumnPart = 1;
constexpr int kLevelPart = 3;

bool startsPart(char c) {
    return c == '[' || c == ',' || c == '^';
}
bool endsPart(char c) {
    return c == ',' || c == ']' || c == '^' || c == ';' || c == '{';
}

class Expander {
  public:
    Expander(const CellRec& cell, const char* text, TextOffsets off, int maxLevel, ErrStat& err)
        : m_cell(cell), m_text(text), m_off(off), m_maxLevel(maxLevel), m_err(err) {}

    std::string run() {
        int i = 0;
        while (m_text[i] != '\0') {
            i = step(i);
            if (i < 0) return m_out;
        }
        return m_out;
    }

  private:
    int step(int i) {
        const char c = m_text[i];
        int code = 0;
        if (c == '"') return copyString(i);
        if (scanCharacter(m_text, i, code)) return copyRaw(i, 3);
        if (registerAt(m_text, i) >= 0) return copyRaw(i, 3);
        if (c == '~') return writeAddress(m_cell, m_text, i, m_off, m_maxLevel, m_out, m_err);
        trackNesting(c);
        if (m_off.any() && isDigit(c) && i > 0 && startsPart(m_text[i - 1]) && !m_parts.empty() &&
            m_parts.back() != kNotAddress) {
            return shiftLiteral(i);
        }
        m_out.push_back(sanitized(c));
        return i + 1;
    }

    void trackNesting(char c) {
        switch (c) {
            case '[':
                m_parts.push_back(kRowPart);
                break;
            case '(':
            case '{':
                m_parts.push_back(kNotAddress);
                break;
            case ']':
            case ')':
            case '}':
                if (!m_parts.empty()) m_parts.pop_back();
                break;
            case ',':
                if (!m_parts.empty() && m_parts.back() != kNotAddress) ++m_parts.back();
                break;
            case '^':
                if (!m_parts.empty() && m_parts.back() != kNotAddress) m_parts.back() = kRowPart;
                break;
            default:
                break;
        }
    }

    int copyString(int i) {
        int end = stringEnd(m_text, i);
        if (end < 0) end = static_cast<int>(std::strlen(m_text));
        return copyRaw(i, end - i);
    }

    int copyRaw(int i, int count) {
        for (int k = 0; k < count; ++k) m_out.push_back(sanitized(m_text[i + k]));
        return i + count;
    }

    // An integer literal that is a whole address part moves with the copy; the element part stays.
    int shiftLiteral(int i) {
        int end = i;
        int value = 0;
        while (isDigit(m_text[end])) {
            if (value < 10000000) value = value * 10 + (m_text[end] - '0');
            ++end;
        }
        const int part = m_parts.back();
        if (!endsPart(m_text[end]) || (part != kRowPart && part != kColumnPart && part != kLevelPart)) {
            return copyRaw(i, end - i);
        }
        if (part == kRowPart) {
            value += m_off.row;
            if (value < 1 || value > kMaxRow) {
                m_err.position = i;
                return m_err.fail(kExpandOrigin, 1, Msg::RowOutOfRange), -1;
            }
        } else if (part == kColumnPart) {
            value += m_off.col;
        } else {
            value = m_maxLevel > 0 ? wrapInto(value + m_off.level, m_maxLevel) : value;
        }
        m_out += std::to_string(value);
        return end;
    }

    const CellRec& m_cell;
    const char* m_text;
    TextOffsets m_off;
    int m_maxLevel;
    ErrStat& m_err;
    std::string m_out;
    std::vector<int> m_parts;
};

}  // namespace

int wrapInto(int value, int limit) {
    if (limit <= 0) return value;
    int r = (value - 1) % limit;
    if (r < 0) r += limit;
    return r + 1;
}

bool readDirectAddress(const char* text, int pos, DirectAddress& out) {
    int p = pos;
    const int index = readSmallNumber(text, p);
    if (index < 1 || index > kMaxReferences || text[p] != '~') return false;
    ++p;
    const int flags = readSmallNumber(text, p);
    if (flags < 0 || flags > 15) return false;
    int level = 0;
    if (text[p] == '~' && isDigit(text[p + 1])) {
        ++p;
        level = readSmallNumber(text, p);
        if (level < 0 || level >= kMaxLevelCount) return false;
    }
    out = DirectAddress{index, flags, level, p};
    return true;
}

void appendDirectAddress(std::string& out, int index, int flags) {
    out.push_back('~');
    out += std::to_string(index);
    out.push_back('~');
    out += std::to_string(flags);
}

int writeAddress(const CellRec& cell, const char* text, int pos, TextOffsets off, int maxLevel, std::string& out,
                 ErrStat& err) {
    err.enter();
    DirectAddress da;
    const CellRec* found = directTarget(cell.formula, text, pos, da);
    if (found == nullptr) {
        err.position = pos;
        return err.fail(kWriteAddressOrigin, 1, Msg::CorruptedDirectAddress), -1;
    }
    const CellRec& target = *found;
    const int row = (da.flags & absflag::kRow) ? target.row : wrapInto(target.row + off.row, kMaxRow);
    const int col = (da.flags & absflag::kColumn) ? target.col : wrapInto(target.col + off.col, kMaxCol);
    out += "[" + absMark(da.flags, absflag::kRow) + std::to_string(row) + "," + absMark(da.flags, absflag::kColumn) +
           std::to_string(col);
    if (da.level != 0) {
        const int level = (da.flags & absflag::kLevel) ? da.level : wrapInto(da.level + off.level, maxLevel);
        out += ",," + absMark(da.flags, absflag::kLevel) + std::to_string(level);
    }
    out += "]";
    return da.end;
}

std::string expandCompiled(const CellRec& cell, const char* text, TextOffsets off, int maxLevel, ErrStat& err) {
    err.enter();
    if (text == nullptr) return {};
    std::string out = Expander(cell, text, off, maxLevel, err).run();
    err.trace(kExpandOrigin);
    return out;
}

}  // namespace qx
