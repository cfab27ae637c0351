#include "formula/bracket_match.h"

#include <cstring>
#include <vector>
#include "core/slot.h"

namespace qx {

namespace {

// Marks every character that belongs to a string or a character constant.
std::vector<bool> quotedMask(const char* text, int length) {
    std::vector<bool> quoted(static_cast<std::size_t>(length), false);
    int strings = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\'' && i + 2 < length && text[i + 2] == '\'') {
            slot(quoted, i) = slot(quoted, i + 1) = slot(quoted, i + 2) = true;
            i += 2;
        } else if (text[i] == '"' && strings < kMaxStringsMatched) {
            const char* close = std::strchr(text + i + 1, '"');
            if (close == nullptr) return quoted;
            const int end = static_cast<int>(close - text);
            for (int k = i; k <= end; ++k) slot(quoted, k) = true;
            ++strings;
            i = end;
        }
    }
    return quoted;
}

struct Pair {
    char open;
    char close;
    bool forward;
};

bool pairFor(char c, Pair& pair) {
    switch (c) {
        case '(':
            pair = {'(', ')', true};
            return true;
        case ')':
            pair = {')', '(', false};
            return true;
        case '[':
            pair = {'[', ']', true};
            return true;
        case ']':
            pair = {']', '[', false};
            return true;
        case '{':
            pair = {'{', '}', true};
            return true;
        case '}':
            pair = {'}', '{', false};
            return true;
        case '?':
            pair = {'?', ':', true};
            return true;
        case ':':
            pair = {'?', ';', true};
            return true;  // a '?' in between opens a nested conditional
        default:
            return false;
    }
}

}  // namespace

int matchBracket(const char* text, int pos) {
    Pair pair{};
    if (text == nullptr || pos < 0 || !pairFor(text[pos], pair)) return pos;
    const int length = static_cast<int>(std::strlen(text));
    if (pos >= length) return pos;
    const std::vector<bool> quoted = quotedMask(text, length);
    if (slot(quoted, pos)) return pos;
    const int step = pair.forward ? 1 : -1;
    int depth = 0;
    for (int i = pos + step; i >= 0 && i < length; i += step) {
        if (slot(quoted, i)) continue;
        if (text[i] == pair.open) {
            ++depth;
        } else if (text[i] == pair.close) {
            if (depth == 0) return i;
            --depth;
        }
    }
    return pos;
}

}  // namespace qx
