#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formula_fixture.h"

namespace qx {
namespace {

using test::FormulaFixture;

// Random entries built from the characters formulas are made of: every one must end in a stored
// cell or a reported failure, never a crash, a hang or a damaged dependency count.
TEST(EntryRandom, RandomEntriesNeverBreakTheWorksheet) {
    static const std::string kPieces[] = {
        "+",     "-",     "*",       "/",        "%",       "**",       "<<",        ">>",   "&&",  "||",
        "?",     ":",     ";",       "=",        "+=",      "!",        "(",         ")",    "[",   "]",
        "{",     "}",     "^",       ",",        "$",       "#",        "@",         "~",    "'",   "\"",
        " ",     "0",     "1",       "2",        "9",       "0x1F",     "017",       "1e+3", ".5",  "1.#INF",
        "[1,1]", "[2,2]", "[1,2,1]", "[1,1,,2]", "[$1,$2]", "[1,1^3,3", "{[$]+[@]}", "[#]",  "[@]", "[*]",
        "[-]",   "sin(",  "@Sum(",   "x",        "e",       "\x01",     "\x7f",      "\xe9", "'A'", "'('",
    };
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> pieceOf(0, static_cast<int>(std::size(kPieces)) - 1);
    std::uniform_int_distribution<int> lengthOf(0, 255);
    std::uniform_int_distribution<int> placeOf(1, 4);
    static const char kStarts[] = {'+', '-', '(', '[', '"', '\'', '.', '1', '@', '=', 'a', ' '};
    std::uniform_int_distribution<int> startOf(0, static_cast<int>(sizeof kStarts) - 1);
    FormulaFixture fx;
    for (int round = 0; round < 4000; ++round) {
        std::string entry(1, kStarts[startOf(rng)]);
        const auto target = static_cast<std::size_t>(lengthOf(rng));
        while (entry.size() < target) entry += kPieces[pieceOf(rng)];
        entry.resize(std::min(entry.size(), target == 0 ? std::size_t{1} : target));
        ErrStat err;
        fx.engine.entry().storeEntry(entry, placeOf(rng), placeOf(rng), 1 + round % 2, EntryOptions{}, err);
        if (round % 200 == 0) {
            EXPECT_EQ(fx.store.checkDependents(1), "") << entry;
            EXPECT_EQ(fx.store.checkDependents(2), "") << entry;
        }
    }
    EXPECT_EQ(fx.store.checkDependents(1), "");
}

}  // namespace
}  // namespace qx
