#pragma once
// quorix-cli [--answer=yes|no|cancel] [--levels N] [--settings PATH] [SCRIPT...]
#include <optional>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace qx {

struct CliOptions {
    PolicyAnswer answer = PolicyAnswer::Yes;
    int levels = 33;
    std::optional<std::string> settingsPath;
    std::vector<std::string> scripts;  // empty: standard input
};

// Fills `options` from argv; on a bad argument returns false and sets `problem` to a one-line reason.
bool parseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& problem);

}  // namespace qx
