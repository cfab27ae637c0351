#include "files/text/text_fields.h"

namespace qx {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where a run of digits starting at `pos` ends.
std::size_t digitsEnd(std::string_view s, std::size_t pos) {
    while (pos < s.size() && isDigit(s[pos])) ++pos;
    return pos;
}

void cutTrailingBlanks(std::string& s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
}

}  // namespace

std::string_view trimmedField(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool passesNumberTest(std::string_view text) {
    const std::string_view s = trimmedField(text);
    std::size_t pos = 0;
    const bool leadingDot = !s.empty() && s.front() == '.';
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-' || s[pos] == '.')) ++pos;
    std::size_t end = digitsEnd(s, pos);
    std::size_t digits = end - pos;
    pos = end;
    // ".5.3" would pass a literal reading of the grammar but is no number the formula language reads.
    if (pos < s.size() && s[pos] == '.' && !leadingDot) {
        end = digitsEnd(s, pos + 1);
        digits += end - pos - 1;
        pos = end;
    }
    if (digits == 0) return false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        if (pos + 1 >= s.size() || (s[pos + 1] != '+' && s[pos + 1] != '-')) return false;
        end = digitsEnd(s, pos + 2);
        if (end == pos + 2) return false;
        pos = end;
    }
    return pos == s.size();
}

std::string importedNumberText(std::string_view number) {
    std::string_view s = trimmedField(number);
    std::string out = "+";
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        if (s.front() == '-') out += '-';
        s.remove_prefix(1);
    }
    while (s.size() > 1 && s.front() == '0' && isDigit(s[1])) s.remove_prefix(1);
    out += s;
    return out;
}

std::vector<TextField> splitTextLine(std::string_view line) {
    std::vector<TextField> fields;
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (pos >= line.size()) break;
        TextField field;
        std::size_t end;
        if (line[pos] == '"') {
            field.quoted = true;
            end = line.find('"', pos + 1);
            if (end == std::string_view::npos) end = line.size();
            field.text = line.substr(pos + 1, end - pos - 1);
            pos = end < line.size() ? end + 1 : end;
        } else {
            end = line.find(' ', pos);
            if (end == std::string_view::npos) end = line.size();
            field.text = line.substr(pos, end - pos);
            pos = end;
        }
        if (field.text.size() > kTextFieldLimit) field.text.resize(kTextFieldLimit);
        fields.push_back(std::move(field));
    }
    return fields;
}

std::vector<std::string> splitCsvLine(std::string_view line) {
    // Trailing empty fields carry nothing; an empty quoted field is only such a unit when it is a
    // whole field, not the end of a quoted text with a doubled quote.
    while (!line.empty()) {
        const std::size_t n = line.size();
        if (n >= 3 && line.substr(n - 3) == "\"\"," && (n == 3 || line[n - 4] == ',')) {
            line.remove_suffix(3);
        } else if (line.back() == ',' || line.back() == ' ') {
            line.remove_suffix(1);
        } else {
            break;
        }
    }
    std::vector<std::string> fields;
    if (line.empty()) return fields;
    std::string field;
    bool quoted = false;
    auto finish = [&] {
        if (field.size() > kCsvFieldLimit) field.resize(kCsvFieldLimit);
        cutTrailingBlanks(field);
        fields.push_back(std::move(field));
        field.clear();
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool pair = c == '"' && i + 1 < line.size() && line[i + 1] == '"';
        if (quoted) {
            if (pair) {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (pair) {
            field += ' ';
            ++i;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            finish();
        } else {
            field += c;
        }
    }
    finish();
    return fields;
}

bool TextLineReader::next(std::string& line) {
    line.clear();
    std::streambuf* buf = m_in.rdbuf();
    if (buf == nullptr) return false;
    using Traits = std::streambuf::traits_type;
    bool any = false;
    while (true) {
        const Traits::int_type got = buf->sbumpc();
        if (Traits::eq_int_type(got, Traits::eof())) break;
        any = true;
        const auto byte = static_cast<unsigned char>(Traits::to_char_type(got));
        if (byte == '\n') break;
        if (byte == '\r' && Traits::eq_int_type(buf->sgetc(), Traits::to_int_type('\n'))) continue;
        if (line.size() < m_limit) line += byte < 32 ? ' ' : static_cast<char>(byte);
    }
    if (!any) return false;
    ++m_line;
    return true;
}

}  // namespace qx
