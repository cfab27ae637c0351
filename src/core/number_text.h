#pragma once
// Numbers as text, independent of the user's locale, matching C-locale printf output.
// Infinities and NaN print as "+1.#INF" / "-1.#INF" (NaN by its sign bit).
#include <string>

namespace qx {

// printf "%.*f"; a negative precision means 6, as in printf.
std::string formatFixed(double value, int precision);
// printf "%.*e"
std::string formatExponent(double value, int precision);
// printf "%.*g"
std::string formatGeneral(double value, int precision);
// printf "%.15g", the form used wherever a value is printed in full.
inline std::string formatG15(double value) {
    return formatGeneral(value, 15);
}

// "+1.#INF" or "-1.#INF" for a non-finite value.
const char* nonFiniteText(double value);

}  // namespace qx
