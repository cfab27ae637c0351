#pragma once
// Randomized tests run a third of their rounds in the sanitizer build: there each round costs 10 to 20
// times as much (most of it fresh pages for each new workbook), and the ci build runs every round.

namespace qx::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kRoundsDivisor = 3;
#else
inline constexpr int kRoundsDivisor = 1;
#endif

constexpr int rounds(int full) { return full / kRoundsDivisor > 0 ? full / kRoundsDivisor : 1; }

}  // namespace qx::test
