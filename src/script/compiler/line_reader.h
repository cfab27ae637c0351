#pragma once
// The compiler's line reader: one source line at a time, with tabs as blanks, blanks outside
// strings removed, comments dropped and the positions of string literals noted.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/err_stat.h"

namespace qx {

// A string literal: positions of its opening and closing double quotes.
struct StringSpan {
    std::size_t open = 0;
    std::size_t close = 0;
};

struct SourceLine {
    std::string text;
    std::vector<StringSpan> strings;
};

enum class LineRead { Line, End, Error };

// The longest source line; the rest of a longer physical line is read as the next line.
inline constexpr std::size_t kMaxSourceLine = 255;

class LineReader {
  public:
    explicit LineReader(std::string source) : m_source(std::move(source)) {}

    // The next line, possibly empty. On Error (a string still open at the end of the line) `line`
    // holds what was read and the reader has moved on to the following line.
    LineRead next(SourceLine& line, ErrStat& err);

    // The number of the last line read, counted from 1.
    int lineNumber() const { return m_lineNumber; }

  private:
    std::string_view physicalLine();

    std::string m_source;
    std::size_t m_at = 0;
    int m_lineNumber = 0;
    bool m_inBlockComment = false;  // a block comment runs on across lines
};

// Whether `at` lies inside one of the (ordered) string literals, quotes included.
bool insideString(const std::vector<StringSpan>& strings, std::size_t at);

// A character constant such as '"' or '{' starts at `at`: its character is no quote or bracket.
inline bool isCharacterConstant(std::string_view text, std::size_t at) {
    return text[at] == '\'' && at + 2 < text.size() && text[at + 2] == '\'';
}

}  // namespace qx
