#pragma once
// Integers read from files go into narrower fields only when they fit; one that does not is ignored,
// never wrapped (a pass count of -1 must not become 65,535 passes).
#include <cstdint>
#include <limits>

namespace qx {

template <class Field>
bool fitsField(int64_t v) {
    return v >= static_cast<int64_t>(std::numeric_limits<Field>::min()) &&
           (v < 0 || static_cast<uint64_t>(v) <= static_cast<uint64_t>(std::numeric_limits<Field>::max()));
}

// Stores `v` when it fits `field`; returns whether it did.
template <class Field>
bool storeIfFits(Field& field, int64_t v) {
    if (!fitsField<Field>(v)) return false;
    field = static_cast<Field>(v);
    return true;
}

}  // namespace qx
