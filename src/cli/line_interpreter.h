#pragma once
// The command-line front end's reader: one command per line, output written as the user would
// see it. Kept apart from main() so that tests can drive it with strings.
#include <atomic>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "platform/headless_platform.h"

namespace qx {

class LineInterpreter;

struct Verb {
    std::string_view name;
    // `args` is the rest of the line after the verb and one blank, verbatim.
    void (*run)(LineInterpreter& cli, std::string_view args);
    // For the usage text: the arguments after the name, and what the verb does.
    std::string_view arguments;
    std::string_view summary;
};

// `s` without leading and trailing blanks and tabs.
std::string_view trimArgument(std::string_view s);
// The words of `s`, separated by blanks and tabs.
std::vector<std::string_view> argumentWords(std::string_view s);
// True when the whole word is one integer.
bool wholeNumber(std::string_view word, int& out);

// The verbs quorix-cli understands besides menu commands.
std::span<const Verb> cliVerbs();

class LineInterpreter {
  public:
    // `out` receives what the user would see; `problems` one reason for each line that could not be
    // carried out, so that the output stays clean for pipes.
    LineInterpreter(Session& session, HeadlessPlatform& platform, std::ostream& out, std::ostream& problems);

    // Runs one line; false once reading should stop ("quit").
    bool runLine(std::string_view line);
    // Runs every line of `in`; false when a "quit" stopped it. A non-empty `source` names the
    // stream in problem reports, with the line number ("setup.qxc:3: ...").
    bool runStream(std::istream& in, std::string_view source = {});

    Session& session() { return m_session; }
    HeadlessPlatform& platform() { return m_platform; }
    std::ostream& out() { return m_out; }

    void stop() { m_stopped = true; }
    void printLine(std::string_view text);
    // The composed one-line error (header, one blank, text) as the user would see it; clears the record.
    void printFailure(ErrStat& err);
    void printOutcome(CommandOutcome outcome, ErrStat& err);

    // A line that was not understood, or whose file operation failed: the reason goes to the problem
    // stream and the run is marked as not clean.
    void reportProblem(std::string_view reason);
    // The same with the composed one-line error; clears the record.
    void reportProblem(ErrStat& err);
    void reportNotAvailable();
    // Whether any line so far was reported as a problem.
    bool hadProblem() const { return m_hadProblem; }
    // Set while a line of runStream runs, clear while the next one is read: a signal handler may read
    // it to tell an interrupt of work from one of a user at the prompt.
    const std::atomic<bool>& lineRunning() const { return m_lineRunning; }

  private:
    Session& m_session;
    HeadlessPlatform& m_platform;
    std::ostream& m_out;
    std::ostream& m_problems;
    std::string m_source;
    long m_lineNumber = 0;
    bool m_stopped = false;
    bool m_hadProblem = false;
    std::atomic<bool> m_lineRunning{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");
};

}  // namespace qx
