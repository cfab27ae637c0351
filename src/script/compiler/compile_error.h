#pragma once
// How every compiler step records an error: the site is the point, the compiler message index the
// code, and a position inside the script body (or -1) tells the report which source line to show.
#include <cstddef>
#include <cstdint>

#include "core/err_stat.h"
#include "script/compiler/compiler_messages.h"

namespace qx {

inline constexpr int32_t kNoBodyPosition = -1;

inline bool compileFail(ErrStat& err, Origin origin, int32_t site, CompilerMsg msg,
                        int32_t position = kNoBodyPosition) {
    err.point = site;
    err.code = static_cast<int32_t>(msg);
    err.position = position;
    err.stamp(origin);
    return false;
}

inline bool compileFailAt(ErrStat& err, Origin origin, int32_t site, CompilerMsg msg, std::size_t position) {
    return compileFail(err, origin, site, msg, static_cast<int32_t>(position));
}

}  // namespace qx
