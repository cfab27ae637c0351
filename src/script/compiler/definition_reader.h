#pragma once
// Reads one script definition: name, parameter list, local declarations and body.
#include "core/err_stat.h"
#include "script/compiler/line_reader.h"
#include "script/compiler/script_source.h"

namespace qx {

enum class DefinitionRead { Script, End, Error };

class DefinitionReader {
  public:
    explicit DefinitionReader(LineReader& lines) : m_lines(lines) {}

    // Hands back a line that ends the directives: the first definition starts on it.
    void pushBack(SourceLine line) {
        m_line = std::move(line);
        m_at = 0;
        m_place = {m_lines.lineNumber(), m_line.text};
    }

    // The next definition. On Error, `err` holds it and `place()` the line to show; reading goes on
    // after the line (or, for errors found once the body was read, after the body).
    DefinitionRead read(ScriptSource& script, ErrStat& err);

    const SourcePlace& place() const { return m_place; }

  private:
    bool nextLine(ErrStat& err);
    bool nextNonEmpty(ErrStat& err);
    bool readName(ScriptSource& script, ErrStat& err);
    bool readHeader(ScriptSource& script, std::string& header, ErrStat& err);
    bool readBody(ScriptSource& script, ErrStat& err);
    bool appendBodyPart(ScriptSource& script, std::size_t from, std::size_t to, ErrStat& pending);
    bool atLineEnd() const { return m_at >= m_line.text.size(); }
    void skipLine() { m_at = m_line.text.size(); }
    DefinitionRead fail(ErrStat& err);

    LineReader& m_lines;
    SourceLine m_line;
    std::size_t m_at = 0;
    bool m_ended = false;
    SourcePlace m_place;
};

// Checks the header parts once the body was read: parameter list shape and the declaration groups.
bool checkHeaderText(const ScriptSource& script, ErrStat& err);

}  // namespace qx
