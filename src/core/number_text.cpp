#include "core/number_text.h"

#include <charconv>
#include <cmath>

namespace qx {
namespace {

constexpr int kDefaultPrecision = 6;
// Sign, 309 integer digits of DBL_MAX, point, exponent part and slack.
constexpr std::size_t kFixedOverhead = 330;

std::string format(double value, int precision, std::chars_format fmt) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    if (precision < 0) precision = kDefaultPrecision;
    std::string out(kFixedOverhead + static_cast<std::size_t>(precision), '\0');
    auto res = std::to_chars(out.data(), out.data() + out.size(), value, fmt, precision);
    if (res.ec != std::errc{}) return {};
    out.resize(static_cast<std::size_t>(res.ptr - out.data()));
    return out;
}

}  // namespace

const char* nonFiniteText(double value) {
    return std::signbit(value) ? "-1.#INF" : "+1.#INF";
}

std::string formatFixed(double value, int precision) {
    return format(value, precision, std::chars_format::fixed);
}

std::string formatExponent(double value, int precision) {
    return format(value, precision, std::chars_format::scientific);
}

std::string formatGeneral(double value, int precision) {
    return format(value, precision, std::chars_format::general);
}

}  // namespace qx
