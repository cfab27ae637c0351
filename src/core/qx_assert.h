#pragma once
// Internal invariants. A failed QX_ASSERT is a programming error, never a user's mistake: it names the
// place and stops. Checked in debug builds and wherever the build sets QX_ASSERTIONS (the ci build).
#include <cstdio>
#include <cstdlib>

namespace qx {

[[noreturn]] inline void assertionFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: internal invariant failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace qx

#if defined(QX_ASSERTIONS) || !defined(NDEBUG)
#define QX_ASSERT(condition) ((condition) ? void(0) : ::qx::assertionFailed(#condition, __FILE__, __LINE__))
#else
#define QX_ASSERT(condition) void(sizeof(condition))
#endif
