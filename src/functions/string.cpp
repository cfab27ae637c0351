// Strings: reading numbers from text, finding, comparing and measuring.
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "core/numeric.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

constexpr int kMaxCompared = 255;

bool isDigitChar(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view s, std::size_t i) {
    while (i < s.size() && isDigitChar(s[i])) ++i;
    return i;
}

// Reads a string argument that must be followed by more arguments or end the call.
bool readString(FunctionCall& call, std::string& out, ErrStat& err) {
    StringArgument s = stringArgument(call, true, err);
    if (err.failed()) return false;
    out = std::move(s.text);
    return true;
}

bool ended(FunctionCall& call, ErrStat& err) {
    return requireEnd(call, Msg::WrongParameters, err);
}

int sign(int c) {
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareAtMost(const std::string& a, const std::string& b, int n) {
    const std::size_t limit = static_cast<std::size_t>(n);
    return sign(a.substr(0, std::min(limit, a.size())).compare(b.substr(0, std::min(limit, b.size()))));
}

int comparedCount(double n) {
    return n >= 0.0 && n <= kMaxCompared ? static_cast<int>(n) : kMaxCompared;
}

}  // namespace

// The number at the start of a text: blanks, sign, digits, point, exponent; 0 when there is none.
// Read with this grammar only, never the C library's, which also takes "0x1A", "inf" and "nan".
double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const std::size_t start = i;
    std::size_t end = digitsFrom(s, i);
    bool anyDigit = end > start;
    if (end < s.size() && s[end] == '.') {
        const std::size_t after = digitsFrom(s, end + 1);
        anyDigit = anyDigit || after > end + 1;
        end = after;
    }
    if (!anyDigit) return 0.0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        const std::size_t eEnd = digitsFrom(s, e);
        if (eEnd > e) end = eEnd;
    }
    double value = 0.0;
    const auto r = std::from_chars(s.data() + start, s.data() + end, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) value = std::fabs(value) >= 1.0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

double fnAtof(FunctionCall& call, ErrStat& err) {
    err.enter();
    std::string s;
    if (!readString(call, s, err) || !ended(call, err)) return 0.0;
    return leadingNumber(s);
}

double fnIndex(FunctionCall& call, ErrStat& err) {
    err.enter();
    std::string s;
    if (!readString(call, s, err)) return 0.0;
    double a[2] = {0.0, 1.0};
    boundedArguments(call, a, 1, 2, false, err);
    if (err.failed()) return 0.0;
    if (!(a[0] >= 32 && a[0] <= 255 && a[1] >= 1 && a[1] <= 255)) {
        return callFailure(call, err, kStringFamily, 1, Msg::ParameterOutOfRange);
    }
    const char ch = static_cast<char>(static_cast<unsigned char>(toInt32(a[0])));
    const std::size_t begin = static_cast<std::size_t>(toInt32(a[1])) - 1;
    if (begin >= s.size()) return 0.0;
    const std::size_t found = s.find(ch, begin);
    return found == std::string::npos ? 0.0 : static_cast<double>(found + 1);
}

double fnStrcmp(FunctionCall& call, ErrStat& err) {
    err.enter();
    std::string a;
    std::string b;
    if (!readString(call, a, err) || !readString(call, b, err) || !ended(call, err)) return 0.0;
    return compareAtMost(a, b, kMaxCompared);
}

double fnStrncmp(FunctionCall& call, ErrStat& err) {
    err.enter();
    std::string a;
    std::string b;
    if (!readString(call, a, err) || !readString(call, b, err)) return 0.0;
    const double n = numericArgument(call, err);
    if (err.failed() || !ended(call, err)) return 0.0;
    return compareAtMost(a, b, comparedCount(n));
}

double fnStrlen(FunctionCall& call, ErrStat& err) {
    err.enter();
    std::string s;
    if (!readString(call, s, err) || !ended(call, err)) return 0.0;
    return static_cast<double>(s.size());
}

namespace {

constexpr FunctionEntry kStringTable[] = {
    {"atof", 224, "atof ( string )", fnAtof},
    {"index", 225, "index ( string, ch, <begin> )", fnIndex},
    {"strcmp", 228, "strcmp ( string1, string2 )", fnStrcmp},
    {"strlen", 232, "strlen ( string )", fnStrlen},
    {"strncmp", 229, "strncmp ( string1, string2, n )", fnStrncmp},
};

}  // namespace

std::span<const FunctionEntry> stringFamily() {
    return kStringTable;
}

}  // namespace qx
