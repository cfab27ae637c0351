#include "files/record_scanner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qx {

namespace {

constexpr double kLargest = 1.7e308;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal exponent of the first significant digit of "ddd.ddd" plus `exponent`; used to tell an
// overflow from an underflow when from_chars cannot represent the value.
long long magnitude(std::string_view mantissa, long long exponent) {
    std::size_t point = mantissa.find('.');
    std::size_t intDigits = point == std::string_view::npos ? mantissa.size() : point;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0') continue;
        long long position =
            i < intDigits ? static_cast<long long>(intDigits - i) : -static_cast<long long>(i - intDigits) + 1;
        return position + exponent;
    }
    return std::numeric_limits<long long>::min();
}

}  // namespace

// ---- tokens ----

bool RecordScanner::next(Token& token) {
    while (scan(token)) {
        if (m_skipping && !token.recordStart) continue;
        m_skipping = false;
        return true;
    }
    m_skipping = false;
    return false;
}

bool RecordScanner::scan(Token& token) {
    token.text.clear();
    token.failed = false;
    token.recordStart = m_afterMark;
    m_afterMark = false;
    while (m_reader.peek(0) == '~' && m_reader.peek(1) == '~') {
        m_reader.get();
        m_reader.get();
        token.recordStart = true;
    }
    // A lone '~' left over from an odd fill is not a token.
    if (m_reader.peek(0) == '~' && m_reader.peek(1) < 0) m_reader.get();
    if (m_reader.atEnd()) return false;

    bool quoted = false;
    bool cellText = false;
    for (int c = m_reader.peek(); c >= 0; c = m_reader.peek()) {
        if (c == '~' && m_reader.peek(1) == '~') {
            m_reader.get();
            m_reader.get();
            m_afterMark = true;
            break;
        }
        m_reader.get();
        if (token.failed) continue;
        if (token.text.size() == kMaxTokenLength) {
            token.failed = true;
            token.text.clear();
            continue;
        }
        token.text.push_back(static_cast<char>(c));
        if (cellText) continue;
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == ';') {
            cellText = true;
        } else if (c == '{' || c == '}' || c == '|') {
            break;
        }
    }
    return true;
}

// ---- fields ----

bool FieldCursor::accept(char c) {
    if (peek() != c || atEnd()) return false;
    ++m_pos;
    return true;
}

bool FieldCursor::readInteger(int64_t& value) {
    std::size_t p = m_pos;
    bool negative = false;
    if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-')) negative = m_text[p++] == '-';
    std::size_t digits = p;
    while (p < m_text.size() && isDigit(m_text[p])) ++p;
    if (p == digits) return false;
    // Accumulate negatively so the most negative value is reachable; saturate on overflow.
    int64_t v = 0;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (std::size_t i = digits; i < p; ++i) {
        int d = m_text[i] - '0';
        v = v < (kMin + d) / 10 ? kMin : v * 10 - d;
    }
    value = negative ? v : (v == kMin ? std::numeric_limits<int64_t>::max() : -v);
    m_pos = p;
    return true;
}

bool FieldCursor::readNumber(double& value) {
    std::size_t p = m_pos;
    bool negative = false;
    if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-')) negative = m_text[p++] == '-';
    if (m_text.substr(p, 6) == "1.#INF") {
        value = negative ? -kLargest : kLargest;
        m_pos = p + 6;
        return true;
    }
    std::size_t start = p;
    std::size_t digits = 0;
    while (p < m_text.size() && isDigit(m_text[p])) ++p, ++digits;
    if (p < m_text.size() && m_text[p] == '.') {
        ++p;
        while (p < m_text.size() && isDigit(m_text[p])) ++p, ++digits;
    }
    if (digits == 0) return false;
    std::string_view mantissa = m_text.substr(start, p - start);
    long long exponent = 0;
    if (p < m_text.size() && (m_text[p] == 'e' || m_text[p] == 'E')) {
        FieldCursor exp(m_text.substr(p + 1));
        int64_t e = 0;
        if (exp.readInteger(e)) {
            exponent = std::clamp<int64_t>(e, -100000, 100000);
            p += 1 + exp.position();
        }
    }
    std::string_view number = m_text.substr(start, p - start);
    double v = 0.0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        v = magnitude(mantissa, exponent) > 0 ? kLargest : 0.0;
    } else if (ec != std::errc() || end != number.data() + number.size()) {
        return false;
    }
    if (std::fabs(v) > kLargest) v = kLargest;
    value = negative ? -v : v;
    m_pos = p;
    return true;
}

bool FieldCursor::readQuoted(std::string& text, std::size_t maxLength) {
    if (peek() != '"') return false;
    std::size_t close = m_text.find('"', m_pos + 1);
    if (close == std::string_view::npos) return false;
    text.assign(m_text.substr(m_pos + 1, std::min(close - m_pos - 1, maxLength)));
    m_pos = close + 1;
    return true;
}

// ---- character rules ----

std::string storedText(std::string_view text, StoredText kind) {
    std::string out(text);
    bool everyTilde = kind == StoredText::Label || kind == StoredText::Quoted;
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = static_cast<unsigned char>(out[i]);
        if (c < 32 || c >= 127) {
            out[i] = '^';
        } else if (c == '"' && kind == StoredText::Quoted) {
            out[i] = '\'';
        } else if (c == '~' && (everyTilde || i + 1 == out.size() || text[i + 1] == '~')) {
            out[i] = '^';
        }
    }
    return out;
}

}  // namespace qx
