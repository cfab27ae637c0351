#pragma once
// The script compiler: one source file (.s) into one Script Library (.slb) beside it, with the
// message list the user reads and, on request, the same messages in a .log file.
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qx {

struct CompileRequest {
    std::string directory;  // empty: the current directory
    std::string name;       // the source file's name
    bool writeLog = false;
};

// Whether the library at this canonical path is attached; an attached library is not recompiled.
using AttachedQuery = std::function<bool(const std::string& canonicalPath)>;

struct CompileOutcome {
    std::vector<std::string> rows;  // the message list, in order
    int errors = 0;
    int warnings = 0;
    int scripts = 0;       // records written
    bool refused = false;  // the library is attached: nothing was compiled
};

// The library's file name for a source name: its extension replaced by ".slb".
std::string libraryNameFor(const std::string& sourceName);

CompileOutcome compileScript(const CompileRequest& request, Platform& platform, const AttachedQuery& isAttached);

}  // namespace qx
