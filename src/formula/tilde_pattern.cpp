#include "formula/tilde_pattern.h"

#include <string>

namespace qx {

namespace {

std::string folded(std::string_view s, bool ignoreCase) {
    std::string out(s);
    if (!ignoreCase) return out;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

bool tildeMatch(std::string_view patternIn, std::string_view textIn, bool ignoreCase) {
    if (patternIn.empty() || textIn.empty() || patternIn.size() > kMaxPatternText || textIn.size() > kMaxPatternText) {
        return false;
    }
    const std::string pattern = folded(patternIn, ignoreCase);
    const std::string text = folded(textIn, ignoreCase);
    const std::size_t firstTilde = pattern.find('~');
    if (firstTilde == std::string::npos) return pattern == text;
    const std::string_view head = std::string_view(pattern).substr(0, firstTilde);
    if (text.compare(0, head.size(), head) != 0) return false;
    std::size_t at = head.size();
    std::size_t seg = firstTilde + 1;
    for (;;) {
        const std::size_t next = pattern.find('~', seg);
        if (next == std::string::npos) break;
        const std::string_view part = std::string_view(pattern).substr(seg, next - seg);
        const std::size_t found = text.find(part, at);
        if (found == std::string::npos) return false;
        at = found + part.size();
        seg = next + 1;
    }
    const std::string_view tail = std::string_view(pattern).substr(seg);
    return text.size() >= at + tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace qx
