#pragma once
// Rows, columns, levels and table places are plain ints throughout the engine: they come from formulas,
// files and the user and may be negative or too large until checked. slot() is the one place where such
// a number becomes a container index, so an unchecked one stops at the assertion instead of reading
// beside the container.
#include <cstddef>
#include "core/qx_assert.h"

namespace qx {

template <class Container>
constexpr decltype(auto) slot(Container& container, int index) {
    QX_ASSERT(index >= 0 && static_cast<std::size_t>(index) < std::size(container));
    return container[static_cast<std::size_t>(index)];
}

}  // namespace qx
