#include "script/compiler/definition_reader.h"

#include <cctype>

#include "core/qx_assert.h"
#include "script/compiler/compile_error.h"
#include "script/compiler/origins.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '@';
}

bool isTypeKeyword(std::string_view text) {
    return text.starts_with("val:") || text.starts_with("chr:") || text.starts_with("cel:");
}

}  // namespace

SourcePlace bodyPlace(const ScriptSource& script, std::size_t at) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < script.lineChars.size(); ++k) {
        const std::size_t chars = script.lineChars[k];
        if (at < start + chars || k + 1 == script.lineChars.size()) {
            const std::size_t from = std::min(start, script.body.size());
            return {script.firstBodyLine + static_cast<int>(k),
                    script.body.substr(from, std::min<std::size_t>(chars, kMaxSourceLine + 1))};
        }
        start += chars;
    }
    return {script.firstBodyLine, {}};
}

bool DefinitionReader::nextLine(ErrStat& err) {
    const LineRead r = m_lines.next(m_line, err);
    if (r == LineRead::End) m_ended = true;
    if (r != LineRead::End) m_place = {m_lines.lineNumber(), m_line.text};
    // A line that failed is reported once and not read again as a definition.
    m_at = r == LineRead::Error ? m_line.text.size() : 0;
    return r == LineRead::Line;
}

bool DefinitionReader::nextNonEmpty(ErrStat& err) {
    while (atLineEnd()) {
        if (m_ended || !nextLine(err)) return false;
    }
    return true;
}

DefinitionRead DefinitionReader::fail(ErrStat& err) {
    QX_ASSERT(err.failed());
    return DefinitionRead::Error;
}

bool DefinitionReader::readName(ScriptSource& script, ErrStat& err) {
    if (!isNameStart(m_line.text[m_at])) {
        skipLine();
        return compileFail(err, kDefinitionStep, 2, CompilerMsg::IllegalFunctionName);
    }
    const std::size_t start = m_at;
    while (!atLineEnd() && isNameChar(m_line.text[m_at])) ++m_at;
    script.name = m_line.text.substr(start, m_at - start);
    if (script.name.size() > kMaxScriptName) {
        skipLine();
        return compileFail(err, kDefinitionStep, 44, CompilerMsg::IllegalFunctionName);
    }
    if (!nextNonEmpty(err)) {
        return err.failed() || compileFail(err, kDefinitionStep, 3, CompilerMsg::MissingParameterList);
    }
    if (m_line.text[m_at] != '(') {
        skipLine();
        return compileFail(err, kDefinitionStep, 8, CompilerMsg::MissingOpeningParen);
    }
    return true;
}

bool DefinitionReader::readHeader(ScriptSource& script, std::string& header, ErrStat& err) {
    for (;;) {
        if (!nextNonEmpty(err)) {
            return err.failed() || compileFail(err, kDefinitionStep, 7, CompilerMsg::MissingOpeningBrace);
        }
        const std::string_view text = m_line.text;
        for (; m_at < text.size(); ++m_at) {
            const bool quoted = insideString(m_line.strings, m_at);
            if (!quoted && isCharacterConstant(text, m_at)) {
                header.append(text.substr(m_at, 3));
                m_at += 2;
                continue;
            }
            if (!quoted && text[m_at] == '{') {
                script.header = m_place;
                return true;
            }
            if (!quoted && text[m_at] == '}') {
                skipLine();
                return compileFail(err, kDefinitionStep, 4, CompilerMsg::MissingOpeningBrace);
            }
            header += text[m_at];
            if (header.size() >= kMaxHeaderText) {
                skipLine();
                return compileFail(err, kDefinitionStep, 6, CompilerMsg::FunctionTooLarge);
            }
        }
    }
}

// Copies line characters [from, to) to the body with their string literals. A body past a limit
// keeps being read to its end, so one error is reported rather than one per remaining line.
bool DefinitionReader::appendBodyPart(ScriptSource& script, std::size_t from, std::size_t to, ErrStat& pending) {
    if (pending.failed()) return false;
    if (script.body.size() + (to - from) > kMaxBody) {
        return compileFail(pending, kLineReaderStep, 1, CompilerMsg::FunctionTooLarge);
    }
    const std::size_t base = script.body.size();
    for (const StringSpan& s : m_line.strings) {
        if (s.open < from || s.open >= to) continue;
        if (script.strings.size() == kMaxStringLiterals) {
            return compileFail(pending, kLineReaderStep, 4, CompilerMsg::FunctionTooLarge);
        }
        script.strings.push_back({s.open - from + base, s.close - from + base});
    }
    script.body.append(m_line.text, from, to - from);
    return true;
}

bool DefinitionReader::readBody(ScriptSource& script, ErrStat& err) {
    ErrStat pending;
    SourcePlace pendingPlace;
    script.firstBodyLine = m_place.number;
    int depth = 0;
    for (;;) {
        const std::size_t from = m_at;
        const std::string_view text = m_line.text;
        bool closed = false;
        for (; m_at < text.size() && !closed; ++m_at) {
            if (insideString(m_line.strings, m_at)) continue;
            if (isCharacterConstant(text, m_at)) {
                m_at += 2;
            } else if (text[m_at] == '{') {
                ++depth;
            } else if (text[m_at] == '}') {
                closed = --depth == 0;
            }
        }
        const bool hadPending = pending.failed();
        if (script.lineChars.size() == kMaxBodyLines) {
            compileFail(pending, kLineReaderStep, 3, CompilerMsg::FunctionTooLarge);
        } else if (appendBodyPart(script, from, m_at, pending)) {
            script.lineChars.push_back(static_cast<uint16_t>(m_at - from));
        }
        if (pending.failed() && !hadPending) pendingPlace = m_place;
        if (closed) {
            skipLine();  // text after the closing brace is ignored
            break;
        }
        ErrStat lineErr;
        if (m_ended) return compileFail(err, kDefinitionStep, 21, CompilerMsg::MissingClosingBrace);
        const bool read = nextLine(lineErr);
        if (m_ended) return compileFail(err, kDefinitionStep, 21, CompilerMsg::MissingClosingBrace);
        if (!read) {
            m_at = 0;  // the body goes on with what the line held
            if (!pending.failed()) {
                pending = lineErr;
                pendingPlace = m_place;
            }
        }
    }
    if (pending.failed()) {
        err = pending;
        m_place = pendingPlace;
        return false;
    }
    return true;
}

DefinitionRead DefinitionReader::read(ScriptSource& script, ErrStat& err) {
    err.enter();
    script = ScriptSource{};
    if (!nextNonEmpty(err)) return err.failed() ? fail(err) : DefinitionRead::End;
    if (!readName(script, err)) return fail(err);
    std::string header;
    if (!readHeader(script, header, err)) return fail(err);
    std::size_t depth = 0;
    std::size_t close = std::string::npos;
    for (std::size_t i = 0; i < header.size() && close == std::string::npos; ++i) {
        if (isCharacterConstant(header, i)) {
            i += 2;
        } else if (header[i] == '(') {
            ++depth;
        } else if (header[i] == ')' && depth > 0 && --depth == 0) {
            close = i;
        }
    }
    if (!readBody(script, err)) return fail(err);
    if (close == std::string::npos) {
        m_place = script.header;
        return compileFail(err, kDefinitionStep, 10, CompilerMsg::MissingClosingParen), fail(err);
    }
    script.passedIn = header.substr(0, close + 1);
    script.locals = header.substr(close + 1);
    if (!checkHeaderText(script, err)) {
        m_place = script.header;
        return fail(err);
    }
    return DefinitionRead::Script;
}

bool checkHeaderText(const ScriptSource& script, ErrStat& err) {
    if (script.passedIn.size() >= kMaxDeclarationText) {
        return compileFail(err, kDefinitionStep, 26, CompilerMsg::TooManyPassedIn);
    }
    const std::string_view locals = script.locals;
    if (locals.empty()) return true;
    if (locals.front() == ';') return compileFail(err, kDefinitionStep, 24, CompilerMsg::ParameterListSyntax);
    if (locals.size() >= kMaxDeclarationText) return compileFail(err, kDefinitionStep, 25, CompilerMsg::TooManyLocals);
    if (locals.size() < 6) return compileFail(err, kDefinitionStep, 11, CompilerMsg::ParameterListSyntax);
    if (locals.back() != ';') return compileFail(err, kDefinitionStep, 12, CompilerMsg::ParameterListSyntax);
    for (std::size_t start = 0; start < locals.size();) {
        const std::size_t end = locals.find(';', start);
        const std::string_view group = locals.substr(start, end - start);
        if (!isTypeKeyword(group)) return compileFail(err, kDefinitionStep, 15, CompilerMsg::IllegalDataType);
        if (group.size() < 5) return compileFail(err, kDefinitionStep, 14, CompilerMsg::ParameterListSyntax);
        // A second type keyword inside a group: the ';' that should end the first is missing.
        for (std::size_t comma = group.find(','); comma != std::string_view::npos; comma = group.find(',', comma + 1)) {
            if (isTypeKeyword(group.substr(comma + 1))) {
                return compileFail(err, kDefinitionStep, 13, CompilerMsg::ParameterListSyntax);
            }
        }
        start = end + 1;
    }
    return true;
}

}  // namespace qx
