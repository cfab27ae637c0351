#include "formula/lexer.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace qx {

namespace {

constexpr const char* kRegisterChars = "#@*$-|%";

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

int hexDigitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Skips the characters of a malformed constant so that it reads as one operand.
int skipDigitsAndPoints(const char* text, int pos) {
    while (isDigit(text[pos]) || text[pos] == '.') ++pos;
    return pos;
}

NumberScan scanHex(const char* text, int pos) {
    int p = pos + 2;
    uint64_t value = 0;
    int digits = 0;
    for (int d = hexDigitValue(text[p]); d >= 0; d = hexDigitValue(text[++p])) {
        value = (value << 4 | static_cast<uint64_t>(d)) & UINT64_C(0xFFFFFFFFF);
        ++digits;
    }
    if (digits == 0) return {NumberScanResult::Ok, 0.0, pos + 1};
    if (text[p] == '.') return {NumberScanResult::Ok, 0.0, skipDigitsAndPoints(text, p)};
    if (digits > 8) value = 0;
    return {NumberScanResult::Ok, static_cast<double>(value), p};
}

NumberScan scanOctal(const char* text, int pos) {
    int p = pos + 1;
    const int limit = (text[p] <= '3') ? 10 : 9;
    uint64_t value = 0;
    int digits = 0;
    while (isOctalDigit(text[p])) {
        if (digits < 11) value = value * 8 + static_cast<uint64_t>(text[p] - '0');
        ++digits;
        ++p;
    }
    if (text[p] == '8' || text[p] == '9' || text[p] == '.')
        return {NumberScanResult::Ok, 0.0, skipDigitsAndPoints(text, p)};
    if (digits > limit) value = 0;
    return {NumberScanResult::Ok, static_cast<double>(value), p};
}

// "#INF" or "##INF" right after a mantissa; returns its length or 0.
int infinityTail(const char* text, int pos) {
    if (text[pos] != '#') return 0;  // the common case needs no string comparison
    if (std::strncmp(text + pos, "#INF", 4) == 0) return 4;
    if (std::strncmp(text + pos, "##INF", 5) == 0) return 5;
    return 0;
}

// A signed exponent: 'e' or 'E', a mandatory sign, digits. Returns its length or 0.
int exponentLength(const char* text, int pos) {
    if (text[pos] != 'e' && text[pos] != 'E') return 0;
    if (text[pos + 1] != '+' && text[pos + 1] != '-') return 0;
    if (!isDigit(text[pos + 2])) return 0;
    int p = pos + 2;
    while (isDigit(text[p])) ++p;
    return p - pos;
}

int mantissaEnd(const char* text, int pos) {
    int p = pos;
    while (isDigit(text[p])) ++p;
    if (text[p] == '.') {
        ++p;
        while (isDigit(text[p])) ++p;
    }
    return p;
}

NumberScan scanDecimal(const char* text, int pos) {
    const int mantEnd = mantissaEnd(text, pos);
    if (int tail = infinityTail(text, mantEnd)) return {NumberScanResult::Ok, kFormulaInfinity, mantEnd + tail};
    const int end = mantEnd + exponentLength(text, mantEnd);
    if (end - pos <= 15) {
        // Up to 15 plain digits fit a double exactly, so summing them gives what the general
        // conversion would, at a fraction of its cost.
        double whole = 0.0;
        int p = pos;
        while (p < end && isDigit(text[p])) whole = whole * 10.0 + (text[p++] - '0');
        if (p == end) return {NumberScanResult::Ok, whole, end};
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text + pos, text + end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Only the exponent can push a mantissa out of range: its sign tells which way.
        value = (end > mantEnd && text[mantEnd + 1] == '-') ? 0.0 : HUGE_VAL;
    } else if (ec != std::errc() || ptr != text + end) {
        value = 0.0;
    }
    return {NumberScanResult::Ok, value, end};
}

}  // namespace

bool isRegisterChar(char c) {
    return c != '\0' && std::strchr(kRegisterChars, c) != nullptr;
}

NumberScan scanNumber(const char* text, int pos) {
    const char c = text[pos];
    if (c == '.' && isDigit(text[pos + 1])) return scanDecimal(text, pos);
    if (!isDigit(c)) return {};
    if (c == '0') {
        const char n = text[pos + 1];
        if (n == 'x' || n == 'X') return scanHex(text, pos);
        if (n == '8' || n == '9') return {};
        if (isOctalDigit(n)) return scanOctal(text, pos);
    }
    return scanDecimal(text, pos);
}

int numberTextEnd(const char* text, int pos) {
    if (text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        int p = pos + 2;
        while (hexDigitValue(text[p]) >= 0) ++p;
        return p;
    }
    const int mantEnd = mantissaEnd(text, pos);
    if (int tail = infinityTail(text, mantEnd)) return mantEnd + tail;
    return mantEnd + exponentLength(text, mantEnd);
}

bool scanCharacter(const char* text, int pos, int& value) {
    if (text[pos] != '\'' || text[pos + 1] == '\0' || text[pos + 2] != '\'') return false;
    value = static_cast<int8_t>(static_cast<unsigned char>(text[pos + 1]));
    return true;
}

int stringEnd(const char* text, int pos) {
    const char* close = std::strchr(text + pos + 1, '"');
    return close ? static_cast<int>(close - text) + 1 : -1;
}

int registerAt(const char* text, int pos) {
    if (text[pos] != '[' || text[pos + 1] == '\0' || text[pos + 2] != ']') return -1;
    switch (text[pos + 1]) {
        case '#':
            return 0;
        case '@':
            return 1;
        case '*':
            return 2;
        case '$':
            return 3;
        case '-':
            return 4;
        case '|':
            return 5;
        case '%':
            return 6;
        default:
            return -1;
    }
}

int nameEnd(const char* text, int pos) {
    while (isNameChar(text[pos])) ++pos;
    return pos;
}

bool isAssignment(const char* text, int pos) {
    const char c = text[pos];
    if (c == '=') return text[pos + 1] != '=';
    if (c == '<' || c == '>') return text[pos + 1] == c && text[pos + 2] == '=';
    if (c == '+' || c == '-' || c == '*' || c == '/' || c == '%' || c == '&' || c == '|') return text[pos + 1] == '=';
    return false;
}

}  // namespace qx
