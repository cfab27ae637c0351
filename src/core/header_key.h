#pragma once
// The one-byte key that scrambles the headers of native files and of script libraries.
// Readers and writers of both must agree on it, so it lives below every file format.
#include <cstdint>

namespace qx {

inline constexpr uint8_t kHeaderKey = 23;

}  // namespace qx
