#pragma once
// The command-line front end's reader: one command per line, output written as the user would
// see it. Kept apart from main() so that tests can drive it with strings.
#include <istream>
#include <ostream>
#include <span>
#include <string_view>

#include "app/session.h"
#include "platform/headless_platform.h"

namespace qx {

class LineInterpreter;

struct Verb {
    std::string_view name;
    // `args` is the rest of the line after the verb and one blank, verbatim.
    void (*run)(LineInterpreter& cli, std::string_view args);
};

// `s` without leading and trailing blanks and tabs.
std::string_view trimArgument(std::string_view s);

// The verbs quorix-cli understands besides menu commands.
std::span<const Verb> cliVerbs();

class LineInterpreter {
  public:
    LineInterpreter(Session& session, HeadlessPlatform& platform, std::ostream& out);

    // Runs one line; false once reading should stop ("quit").
    bool runLine(std::string_view line);
    // Runs every line of `in`; false when a "quit" stopped it.
    bool runStream(std::istream& in);

    Session& session() { return m_session; }
    HeadlessPlatform& platform() { return m_platform; }
    std::ostream& out() { return m_out; }

    void stop() { m_stopped = true; }
    void printLine(std::string_view text);
    void printNotAvailable();
    // The composed one-line error (header, one blank, text); clears the record.
    void printFailure(ErrStat& err);
    void printOutcome(CommandOutcome outcome, ErrStat& err);

  private:
    Session& m_session;
    HeadlessPlatform& m_platform;
    std::ostream& m_out;
    bool m_stopped = false;
};

}  // namespace qx
