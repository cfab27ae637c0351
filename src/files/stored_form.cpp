#include "files/stored_form.h"

#include <vector>

#include "core/cell_records.h"
#include "formula/compiled_text.h"
#include "formula/lexer.h"

namespace qx {
namespace {

// "[$r,$c]" at pos with '$' optional: the address and its absolute flags, and the position after it.
bool plainAddress(std::string_view s, std::size_t pos, int& row, int& col, int& flags, std::size_t& end) {
    std::size_t p = pos + 1;
    flags = 0;
    auto part = [&](int& value, int absBit, int limit) {
        if (p < s.size() && s[p] == '$') flags |= absBit, ++p;
        const std::size_t start = p;
        value = 0;
        while (p < s.size() && isDigit(s[p]) && p - start < 6) value = value * 10 + (s[p++] - '0');
        return p > start && value >= 1 && value <= limit;
    };
    if (!part(row, absflag::kRow, kMaxRow) || p >= s.size() || s[p++] != ',') return false;
    if (!part(col, absflag::kColumn, kMaxCol) || p >= s.size() || s[p] != ']') return false;
    end = p + 1;
    return true;
}

int findReference(std::span<const StoredReference> refs, int row, int col) {
    for (std::size_t k = 0; k < refs.size(); ++k) {
        if (refs[k].row == row && refs[k].col == col) return static_cast<int>(k);
    }
    return -1;
}

bool listUsable(std::span<const StoredReference> refs) {
    if (refs.size() > static_cast<std::size_t>(kMaxReferences)) return false;
    for (std::size_t k = 0; k < refs.size(); ++k) {
        if (refs[k].level != 0) return false;
        if (findReference(refs.first(k), refs[k].row, refs[k].col) >= 0) return false;
    }
    return true;
}

}  // namespace

bool convertStoredForm(std::string_view text, std::span<const StoredReference> refs, bool formula, std::string& out) {
    out.clear();
    if (!listUsable(refs) || (formula && !text.empty() && text.front() == '+')) return false;
    std::vector<bool> used(refs.size(), false);
    bool inString = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '~') return false;
        if (formula && c == '"') inString = !inString;
        if (formula && !inString && isBlank(c)) return false;
        int row = 0;
        int col = 0;
        int flags = 0;
        std::size_t end = 0;
        if (c != '[' || inString || !plainAddress(text, i, row, col, flags, end)) {
            out.push_back(c);
            ++i;
            continue;
        }
        const int k = findReference(refs, row, col);
        if (k < 0) return false;
        used[static_cast<std::size_t>(k)] = true;
        appendDirectAddress(out, k + 1, flags);
        i = end;
    }
    for (bool u : used) {
        if (!u) return false;
    }
    return true;
}

}  // namespace qx
