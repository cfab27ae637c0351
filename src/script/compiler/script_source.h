#pragma once
// What the compiler holds of one script while it reads it, and where in the source it read it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/err_stat.h"
#include "script/compiler/line_reader.h"

namespace qx {

// Longest body, header text and declaration texts; the body limit is the largest record a
// reader takes.
inline constexpr std::size_t kMaxBody = 32767;
inline constexpr std::size_t kMaxHeaderText = 2050;
inline constexpr std::size_t kMaxDeclarationText = 1024;
// Body lines and string literals a script may have; the line table's entry 0 is its count.
inline constexpr std::size_t kMaxBodyLines = 4095;
inline constexpr std::size_t kMaxStringLiterals = 512;
// Names longer than this do not fit a library reader's name field.
inline constexpr std::size_t kMaxScriptName = 31;

// A source line as a report shows it.
struct SourcePlace {
    int number = 0;
    std::string text;
};

struct ScriptSource {
    std::string name;
    std::string passedIn;  // from '(' through its ')'
    std::string locals;    // the local declarations between ')' and '{'
    std::string body;      // from '{' through its '}'
    std::vector<StringSpan> strings;
    std::vector<uint16_t> lineChars;  // characters each body line gave, first line first
    int firstBodyLine = 0;
    SourcePlace header;  // the line holding the '{' that ends the header
};

// The source line holding body position `at`, with that line's part of the body.
SourcePlace bodyPlace(const ScriptSource& script, std::size_t at);

}  // namespace qx
