#pragma once
// Finding the partner of a bracket, of a '?' (its ':') or of a ':' (its ';'), skipping strings and
// character constants. Shared by the compiler, the evaluator, the function families and scripts.

namespace qx {

// The at most 16 string constants of a text are recognised, pairing quotes from the left.
constexpr int kMaxStringsMatched = 16;

// Returns the partner's position, or `pos` itself when there is none (also when pos lies inside a string).
int matchBracket(const char* text, int pos);

}  // namespace qx
