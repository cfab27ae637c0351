#include "script/toolkit/toolkit_format.h"

#include <algorithm>

#include "core/number_text.h"

namespace qx {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `pos` as a number held at `cap`; leaves `pos` after them.
int readDigits(std::string_view s, std::size_t& pos, int cap) {
    int n = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        n = std::min(cap, n * 10 + (s[pos] - '0'));
        ++pos;
    }
    return n;
}

struct FixedConversion {
    int width = 0;
    int precision = 0;
    std::size_t end = 0;  // just after the 'f'
};

// "%<digits>.<digits>f" at `percent`, the width digits optional.
bool readFixedConversion(std::string_view s, std::size_t percent, int cap, FixedConversion& conv) {
    std::size_t pos = percent + 1;
    conv.width = readDigits(s, pos, cap);
    if (pos >= s.size() || s[pos] != '.') return false;
    const std::size_t precisionStart = ++pos;
    conv.precision = readDigits(s, pos, cap);
    if (pos == precisionStart || pos >= s.size() || s[pos] != 'f') return false;
    conv.end = pos + 1;
    return true;
}

void appendHeld(std::string& out, std::string_view piece, std::size_t limit) {
    if (out.size() < limit) out.append(piece.substr(0, limit - out.size()));
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string formatSpecified(double value, int width, int precision, std::size_t limit) {
    const int cap = static_cast<int>(std::min<std::size_t>(limit, 4096));
    std::string digits = formatFixed(value, std::clamp(precision, 0, cap));
    const auto w = static_cast<std::size_t>(std::clamp(width, 0, cap));
    if (digits.size() < w) digits.insert(0, w - digits.size(), ' ');
    if (digits.find('.') == std::string::npos) return std::string(trimBlanks(digits));
    return digits;
}

std::string expandFormat(std::string_view format, std::size_t limit, FormatValues& values, ErrStat& err) {
    std::string out;
    out.reserve(std::min(limit, format.size()));
    const int cap = static_cast<int>(std::min<std::size_t>(limit, 4096));
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find('%', pos);
        appendHeld(out, format.substr(pos, percent == std::string_view::npos ? percent : percent - pos), limit);
        if (percent == std::string_view::npos) break;
        FixedConversion conv;
        if (percent + 1 < format.size() && format[percent + 1] == 's') {
            std::string text;
            if (!values.text(text, err)) return out;
            appendHeld(out, text, limit);
            pos = percent + 2;
        } else if (readFixedConversion(format, percent, cap, conv)) {
            double value = 0.0;
            if (!values.number(value, err)) return out;
            appendHeld(out, formatSpecified(value, conv.width, conv.precision, limit), limit);
            pos = conv.end;
        } else {
            appendHeld(out, "%", limit);
            pos = percent + 1;
        }
    }
    return out;
}

}  // namespace qx
