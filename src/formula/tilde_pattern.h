#pragma once
// The system's own text patterns: '~' stands for any run of characters.
#include <string_view>

namespace qx {

// Texts and patterns are matched only when both are 1..259 characters long.
constexpr std::size_t kMaxPatternText = 259;

// The pattern's '~'-separated segments must occur in order; a segment before the first '~' starts the
// text and one after the last '~' ends it.
bool tildeMatch(std::string_view pattern, std::string_view text, bool ignoreCase = false);

}  // namespace qx
