#pragma once
// The record text of native files: cutting the decoded character stream into tokens, reading
// the fields of a token, and keeping written text inside the characters the grammar allows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/block_stream.h"

namespace qx {

inline constexpr std::size_t kMaxTokenLength = 2048;

// Failure points of the level reader; each carries code 39 unless a more specific one is set.
enum LevelReadPoint : int32_t {
    kReadPointLevelRange = 1,
    kReadPointFontTable = 4,
    kReadPointSizeList = 5,
    kReadPointArrayCount = 6,
    kReadPointArrayOpen = 7,
    kReadPointArraySeparator = 8,
    kReadPointArrayClose = 9,
    kReadPointTableOpen = 10,
    kReadPointHeadingList = 11,
    kReadPointColumnList = 12,
    kReadPointTextTrailer = 20,
    kReadPointMissingSemicolon = 21,
};

struct Token {
    std::string text;
    bool recordStart = false;  // a record mark came right before it
    bool failed = false;       // it was longer than kMaxTokenLength; its text was discarded
};

// Cuts the stream into tokens:
// - "~~" before a token is skipped and marks a record start; "~~" after a character ends the
//   token and is consumed; a single '~' is ordinary text;
// - '{' ends a token and belongs to it, and so do '}' and '|' outside quotes; a '"' toggles
//   quotes; a ';' outside quotes starts a cell's text, which runs to the next record mark.
// A number token ("12,4.5e3|") ends at the same characters, so it needs no rule of its own.
class RecordScanner {
  public:
    explicit RecordScanner(BlockReader& reader) : m_reader(reader) {}

    // The next token; false at the end of data.
    bool next(Token& token);
    // The next call to next() returns the first token of the following record.
    void skipRecord() { m_skipping = true; }

  private:
    bool scan(Token& token);

    BlockReader& m_reader;
    bool m_afterMark = false;
    bool m_skipping = false;
};

// Reads the fields of one token from left to right.
class FieldCursor {
  public:
    explicit FieldCursor(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    char get() { return atEnd() ? '\0' : m_text[m_pos++]; }
    bool accept(char c);
    std::string_view rest() const { return m_text.substr(m_pos); }
    std::size_t position() const { return m_pos; }

    // An optionally signed decimal integer; saturates at the 64-bit range.
    bool readInteger(int64_t& value);
    // A decimal or exponential number, or a signed "1.#INF"; magnitudes beyond 1.7e308 read as
    // +/-1.7e308 and those too small for a double as 0.
    bool readNumber(double& value);
    // A '"', the text up to the next '"' (cut at maxLength), and that '"'.
    bool readQuoted(std::string& text, std::size_t maxLength);

  private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// What a stored text is, for the character rules applied before it is written.
enum class StoredText {
    Label,          // every '~' too
    Formula,        // a '~' only where it would join a record mark
    VariableLabel,  // as Formula
    Undefined,      // as Formula
    Quoted,         // comments, titles, headings, directories: every '~', and '"' becomes '\''
};

// The text as it may be written: bytes below 32 and from 127 become '^', and no "~~" can come
// out of it, not even with the record mark that follows a cell's text.
std::string storedText(std::string_view text, StoredText kind);

}  // namespace qx
