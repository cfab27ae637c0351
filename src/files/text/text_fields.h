#pragma once
// The pieces the text, CSV and DIF readers and writers share: the number test, the entry text of an
// imported number, splitting a line into fields and reading lines from a file.
#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

constexpr std::size_t kTextLineLimit = 255;  // text and DIF lines
constexpr std::size_t kCsvLineLimit = 2048;
constexpr std::size_t kTextFieldLimit = 254;
constexpr std::size_t kCsvFieldLimit = 253;

// Blanks, an optional '+', '-' or '.', digits, an optional '.', digits, an optional exponent 'e' or 'E'
// with a mandatory sign and digits, blanks; at least one mantissa digit. "1e5" fails, "1e+5" passes.
bool passesNumberTest(std::string_view text);

// The formula text a field that passes the number test is entered as: '+' and the number. Leading
// zeros of the integer part go (one stays before '.'), because the formula language reads them as
// octal: "0123" gives "+123", "-012" "+-12", "007.5" "+7.5".
std::string importedNumberText(std::string_view number);

// The fields of a text-import line: separated by blanks; a field opened by '"' runs to the next '"'
// (or the end) and may hold blanks. Each field is cut to kTextFieldLimit characters.
struct TextField {
    std::string text;
    bool quoted = false;
};
std::vector<TextField> splitTextLine(std::string_view line);

// A CSV line without its trailing commas and blanks (an empty quoted field with its comma counts
// as one unit), split on commas outside quotes. Inside quotes "" is one quote; outside quotes a ""
// pair is one blank. Each field is cut to kCsvFieldLimit characters, trailing blanks removed.
std::vector<std::string> splitCsvLine(std::string_view line);

// A line feed (with an optional carriage return before it) ends a line; any other byte below 32
// becomes a blank and bytes from 127 up are kept. A line longer than the limit is cut there and the
// rest of it dropped, so it never becomes a line of its own.
class TextLineReader {
  public:
    TextLineReader(std::istream& in, std::size_t limit) : m_in(in), m_limit(limit) {}
    // False at the end of the file (a last line without a line feed is still a line).
    bool next(std::string& line);
    // True when the stream failed for another reason than its end.
    bool failed() const { return m_in.bad(); }
    // Lines read so far.
    int lineNumber() const { return m_line; }

  private:
    std::istream& m_in;
    std::size_t m_limit;
    int m_line = 0;
};

// The text without blanks at either end.
std::string_view trimmedField(std::string_view text);

}  // namespace qx
