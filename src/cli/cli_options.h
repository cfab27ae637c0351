#pragma once
// quorix-cli [--answer=yes|no|cancel] [--levels N] [--settings PATH] [SCRIPT...] | --help | --version
#include <optional>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace qx {

enum class CliAction { Run, Help, Version };

struct CliOptions {
    CliAction action = CliAction::Run;
    PolicyAnswer answer = PolicyAnswer::Yes;
    int levels = 33;
    std::optional<std::string> settingsPath;
    std::vector<std::string> scripts;  // empty: standard input; "-" stands for it among others
};

// The exit statuses, as the usage text and the README list them.
enum class ExitStatus : int {
    Clean = 0,
    StartFailed = 1,
    Usage = 2,     // a bad option or an unreadable script
    Problems = 3,  // a line not understood, or a file operation that failed
};

// Fills `options` from argv; on a bad argument returns false and sets `problem` to a one-line reason.
// "--help" or "--version" ends the reading: what follows them is not looked at.
bool parseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& problem);

// What --help prints: usage, options, the verbs one a line, the exit statuses.
std::string usageText();

}  // namespace qx
