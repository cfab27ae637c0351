#pragma once
// Each folder lists its routines' error origins once, as an X-macro list of (name, letter, module,
// routine). The list gives both the constants the code stamps and a table of them with their names, so
// a routine added to the list is in the table too, and a test can find two routines sharing an origin.
#include "core/err_stat.h"

namespace qx {

struct NamedOrigin {
    const char* name;
    Origin origin;
};

}  // namespace qx

#define QX_ORIGIN_CONSTANT(name, letter, module, routine) inline constexpr ::qx::Origin name{letter, module, routine};
#define QX_ORIGIN_ENTRY(name, letter, module, routine) ::qx::NamedOrigin{#name, name},

// Declares the list's constants and `kOriginTable` in the enclosing namespace.
#define QX_DECLARE_ORIGINS(LIST) \
    LIST(QX_ORIGIN_CONSTANT)     \
    inline constexpr ::qx::NamedOrigin kOriginTable[] = {LIST(QX_ORIGIN_ENTRY)};
