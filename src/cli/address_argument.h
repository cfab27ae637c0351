#pragma once
// Cell addresses typed as command arguments: [R,C], [R,C,E], [R,C,,L], [R,C,E,L] with integer
// parts, and ranges [R1,C1]^[R2,C2] (or [R1,C1^R2,C2]). Range errors follow the formula
// address rules: the first out-of-range part is remembered and raised once the address is read.
#include <cstddef>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

struct AddressArgument {
    int row = 0;
    int col = 0;
    int element = 0;  // 0: none given
    int level = 0;    // 0: the active level
};

// Reads one address starting at text[pos] (blanks skipped); `pos` ends after it.
bool parseAddressArgument(std::string_view text, std::size_t& pos, int highestLevel, AddressArgument& out,
                          ErrStat& err);

// Reads a whole argument that must be exactly one address.
bool parseAddressOnly(std::string_view text, int highestLevel, AddressArgument& out, ErrStat& err);

// Reads a whole argument that must be exactly one range; both corners name the same level.
bool parseRangeOnly(std::string_view text, int highestLevel, AddressArgument& first, AddressArgument& second,
                    ErrStat& err);

}  // namespace qx
