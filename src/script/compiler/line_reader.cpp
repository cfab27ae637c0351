#include "script/compiler/line_reader.h"

#include <algorithm>

#include "script/compiler/compile_error.h"
#include "script/compiler/origins.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

bool endsLine(unsigned char c) {
    return (c < 32 && c != '\t') || c > 126;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool insideString(const std::vector<StringSpan>& strings, std::size_t at) {
    auto it = std::upper_bound(strings.begin(), strings.end(), at,
                               [](std::size_t pos, const StringSpan& s) { return pos < s.open; });
    return it != strings.begin() && at <= std::prev(it)->close;
}

std::string_view LineReader::physicalLine() {
    const std::size_t start = m_at;
    while (m_at < m_source.size() && m_at - start < kMaxSourceLine) {
        if (endsLine(static_cast<unsigned char>(m_source[m_at]))) break;
        ++m_at;
    }
    std::string_view line(m_source.data() + start, m_at - start);
    if (m_at < m_source.size() && endsLine(static_cast<unsigned char>(m_source[m_at]))) {
        // A line break read in text mode: "\r\n" is one.
        if (m_source[m_at] == '\r' && m_at + 1 < m_source.size() && m_source[m_at + 1] == '\n') ++m_at;
        ++m_at;
    }
    return line;
}

LineRead LineReader::next(SourceLine& line, ErrStat& err) {
    err.enter();
    line.text.clear();
    line.strings.clear();
    if (m_at >= m_source.size()) return LineRead::End;
    std::string raw(physicalLine());
    std::replace(raw.begin(), raw.end(), '\t', ' ');
    ++m_lineNumber;
    const std::string_view text = trimmed(raw);

    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (m_inBlockComment) {
            if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
                m_inBlockComment = false;
                ++i;
            }
            continue;
        }
        if (inString) {
            line.text += c;
            if (c == '"') {
                line.strings.back().close = line.text.size() - 1;
                inString = false;
            }
            continue;
        }
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') break;
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            m_inBlockComment = true;
            ++i;
            continue;
        }
        if (c == ' ') continue;
        if (isCharacterConstant(text, i)) {
            line.text.append(text.substr(i, 3));
            i += 2;
            continue;
        }
        if (c == '"') {
            inString = true;
            line.strings.push_back({line.text.size(), line.text.size()});
        }
        line.text += c;
    }
    if (inString) {
        line.strings.pop_back();
        return compileFail(err, kLineReaderStep, 2, CompilerMsg::MissingQuote), LineRead::Error;
    }
    return LineRead::Line;
}

}  // namespace qx
