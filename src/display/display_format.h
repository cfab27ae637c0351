#pragma once
// The one formatter through which every number the user sees becomes text.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

enum class DisplayCode : int {
    Decimal = 0,
    Scientific = 1,
    Comma = 2,
    Hex = 3,
    Octal = 4,
    Binary = 5,
    Percent = 6,
    Currency = 7,
    DateTime = 8,
    Date = 9,
    MdyDate = 10,
    YmdDate = 11,
    AmPmTime = 12,
    MilitaryTime = 13,
    Month = 14,
    DayOfWeek = 15,
    Bearing = 25,
    Station = 26,
};

constexpr bool isValidDisplayCode(int code) {
    return (code >= 0 && code <= 15) || code == 25 || code == 26;
}

// Texts are at most this wide; a wider request is refused rather than allocated.
constexpr int kMaxDisplayWidth = 255;
// Values at or beyond this magnitude show as "+1.#INF" / "-1.#INF".
constexpr double kInfinityLimit = 1.7e308;
constexpr int kDefaultMillennium = 2000;

enum class Justify : uint8_t { Right, Left, Center };

struct NumberFormat {
    int code = 0;
    int mode = 0;  // 0: fixed-point first; 1: exponent form first (Decimal and Percent)
    int precision = 2;
    int width = 22;
    Justify justify = Justify::Right;
    int alignColumn = 0;                  // Station: 1-based column where its '+' stands; 0 for none
    int millennium = kDefaultMillennium;  // added to datevalue years 0..100
};

// The value as exactly fmt.width characters. A value the format cannot show becomes a row of
// '!', one that does not fit a row of '*'. Only a width outside 1..255 or a negative precision
// is an error (the text is then empty).
std::string formatNumber(double value, const NumberFormat& fmt, ErrStat& err);

// Markers and pieces shared by the cell and object texts.
bool isInfinite(double value);           // at or beyond the limit, or not a number
std::string infinityText(double value);  // "+1.#INF" or "-1.#INF"
std::string markerFill(char marker, int width);
std::string justifyText(std::string_view text, int width, Justify justify);
std::string_view trimBlanks(std::string_view text);

// Fixed-point text (exponent form first in mode 1) falling back to significant digits when the
// decimals would show a non-zero value as zero. Unbounded: the caller tests the width.
std::string fixedOrGeneralText(double value, int precision, int mode);

}  // namespace qx
