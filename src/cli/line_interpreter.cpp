#include "cli/line_interpreter.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "core/err_report.h"
#include "core/scope_exit.h"

namespace qx {
namespace {

const Verb* findVerb(std::string_view name) {
    for (const Verb& verb : cliVerbs()) {
        if (verb.name == name) return &verb;
    }
    return nullptr;
}

}  // namespace

std::string_view trimArgument(std::string_view s) {
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> argumentWords(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t start = s.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(s.find_first_of(" \t", start), s.size());
        out.push_back(s.substr(start, end - start));
        pos = end;
    }
    return out;
}

bool wholeNumber(std::string_view word, int& out) {
    const auto r = std::from_chars(word.data(), word.data() + word.size(), out);
    return r.ec == std::errc() && r.ptr == word.data() + word.size();
}

LineInterpreter::LineInterpreter(Session& session, HeadlessPlatform& platform, std::ostream& out,
                                 std::ostream& problems)
    : m_session(session), m_platform(platform), m_out(out), m_problems(problems) {}

void LineInterpreter::printLine(std::string_view text) {
    m_out << text << '\n';
}

void LineInterpreter::printFailure(ErrStat& err) {
    printLine(oneLine(true, err, m_session.scratch()));
    err.clear();
}

void LineInterpreter::reportProblem(std::string_view reason) {
    m_hadProblem = true;
    if (!m_source.empty()) m_problems << m_source << ':' << m_lineNumber << ": ";
    m_problems << reason << '\n';
}

void LineInterpreter::reportProblem(ErrStat& err) {
    reportProblem(oneLine(true, err, m_session.scratch()));
    err.clear();
}

void LineInterpreter::reportNotAvailable() {
    reportProblem("not available yet");
}

void LineInterpreter::printOutcome(CommandOutcome outcome, ErrStat& err) {
    switch (outcome) {
        case CommandOutcome::NotAvailable:
            reportNotAvailable();
            break;
        case CommandOutcome::Failed:
            printFailure(err);
            break;
        case CommandOutcome::Done:
        case CommandOutcome::Unknown:
            break;
    }
}

bool LineInterpreter::runLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view trimmed = trimArgument(line);
    if (trimmed.empty() || trimmed.front() == '#') return !m_stopped;

    std::size_t verbStart = line.find_first_not_of(" \t");
    std::size_t verbEnd = line.find_first_of(" \t", verbStart);
    std::string_view word = line.substr(verbStart, verbEnd == std::string_view::npos ? line.npos : verbEnd - verbStart);
    if (const Verb* verb = findVerb(word)) {
        std::string_view args = verbEnd == std::string_view::npos ? std::string_view() : line.substr(verbEnd + 1);
        verb->run(*this, args);
        return !m_stopped;
    }
    // A menu command; its short name may hold blanks ("( [ ] )").
    ErrStat err;
    CommandOutcome outcome = m_session.dispatch(trimmed, err);
    if (outcome == CommandOutcome::Unknown) {
        reportProblem("unknown command: " + std::string(word));
    } else {
        printOutcome(outcome, err);
    }
    return !m_stopped;
}

bool LineInterpreter::runStream(std::istream& in, std::string_view source) {
    m_source = source;
    m_lineNumber = 0;
    std::string line;
    ScriptContext& scripts = m_session.formulas().evaluator().scripts();
    while (!m_stopped && std::getline(in, line)) {
        ++m_lineNumber;
        // A stop request ends the line's script calls, and no later line's.
        scripts.beginAction();
        m_lineRunning.store(true);
        const ScopeExit idle([this, &scripts] {
            m_lineRunning.store(false);
            scripts.endAction();
        });
        runLine(line);
    }
    m_source.clear();
    return !m_stopped;
}

}  // namespace qx
