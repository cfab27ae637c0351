#include "display/display_format.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "core/number_text.h"
#include "display/bearing_format.h"
#include "display/datevalue.h"
#include "display/origins.h"

namespace qx {

using namespace origins::display;
namespace {

// Hex, Octal and Binary show the value truncated to 32 bits, negatives in two's complement.
constexpr double kBitsLow = -2147483647.0;
constexpr double kBitsHigh = 4294967295.0;
constexpr int kRoundingDigits = 15;  // beyond this a double has no digits left to round

// What a format produced: its text, or a marker that fills the width.
struct Shown {
    std::string text;
    char marker = 0;
};

Shown tooWide() {
    return {{}, '*'};
}
Shown cannotShow() {
    return {{}, '!'};
}

Shown fitOrStar(std::string text, int width) {
    if (static_cast<int>(text.size()) > width) return tooWide();
    return {std::move(text)};
}

bool readsAsZero(std::string_view text) {
    for (char c : text) {
        if (c == 'e') break;
        if (c >= '1' && c <= '9') return false;
    }
    return true;
}

// Halves away from zero, as the rounding function of the formulas does.
double roundDecimals(double x, int n) {
    if (n > kRoundingDigits) return x;
    const double a = std::fabs(x) + 1e-15;
    const double whole = std::trunc(a);
    const double scale = std::pow(10.0, n);
    const double fraction = (a - whole) + 5.0 / (scale * 10.0);
    const double r = whole + std::trunc(fraction * scale) / scale;
    return x < 0 ? -r : r;
}

// Thousands separators in the integer digits; '$' between the sign and the digits for Currency.
std::string groupThousands(std::string_view text, bool dollar) {
    const bool negative = !text.empty() && text.front() == '-';
    std::string body(negative ? text.substr(1) : text);
    std::size_t digits = 0;
    while (digits < body.size() && body[digits] >= '0' && body[digits] <= '9') ++digits;
    for (std::size_t at = digits; at > 3; at -= 3) body.insert(at - 3, 1, ',');
    return std::string(negative ? "-" : "") + (dollar ? "$" : "") + body;
}

std::optional<uint32_t> truncatedBits(double v) {
    if (!(v >= kBitsLow && v < kBitsHigh)) return std::nullopt;
    const double t = std::trunc(v);
    if (t < 0) return static_cast<uint32_t>(static_cast<int32_t>(t));
    return static_cast<uint32_t>(t);
}

std::string unsignedText(uint32_t bits, int base) {
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, bits, base);
    std::string s(buf, res.ptr);
    for (char& c : s) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

Shown decimalText(double v, const NumberFormat& f) {
    std::string t = fixedOrGeneralText(v, f.precision, f.mode);
    if (static_cast<int>(t.size()) <= f.width) return {std::move(t)};
    return fitOrStar(formatExponent(v, f.precision), f.width);
}

Shown radixText(double v, const NumberFormat& f, int base, const char* prefix) {
    const std::optional<uint32_t> bits = truncatedBits(v);
    if (!bits) return tooWide();
    return fitOrStar(prefix + unsignedText(*bits, base), f.width);
}

Shown binaryText(double v, const NumberFormat& f) {
    const std::optional<uint32_t> bits = truncatedBits(v);
    if (!bits) return tooWide();
    std::string t;
    for (int bit = 31; bit >= 0; --bit) {
        t += ((*bits >> bit) & 1u) ? '1' : '0';
        if (bit % 8 == 0 && bit > 0) t += ' ';
    }
    for (int group = 0; group < 3 && t.compare(0, 9, "00000000 ") == 0; ++group) t.erase(0, 9);
    return fitOrStar(std::move(t), f.width);
}

Shown percentText(double v, const NumberFormat& f) {
    const double scaled = v * 100.0;
    if (isInfinite(scaled)) return fitOrStar(infinityText(scaled), f.width);
    const double rounded = roundDecimals(scaled, f.precision) + 0.0;
    return fitOrStar(fixedOrGeneralText(rounded, f.precision, f.mode) + "%", f.width);
}

Shown dateText(double v, const NumberFormat& f) {
    const std::optional<DateTimeParts> parts = decodeDatevalue(v, f.millennium);
    if (!parts) return cannotShow();
    std::string t = dateFormatText(f.code, *parts);
    if (t.empty()) return cannotShow();
    if (static_cast<int>(t.size()) > f.width) t.resize(static_cast<std::size_t>(f.width));
    return {std::move(t)};
}

Shown bearing(double v, const NumberFormat& f) {
    std::optional<std::string> t = bearingText(v, f.precision != 0);
    if (!t) return cannotShow();
    return fitOrStar(std::move(*t), f.width);
}

// Hundreds '+' units: 150 is 1+50. Placed so its '+' stands at the alignment column.
Shown stationText(double v, const NumberFormat& f) {
    std::string t = formatFixed(std::fabs(v), f.precision);
    const std::size_t point = t.find('.');
    std::size_t integerDigits = point == std::string::npos ? t.size() : point;
    if (integerDigits < 3) {
        t.insert(0, 3 - integerDigits, '0');
        integerDigits = 3;
    }
    t.insert(integerDigits - 2, 1, '+');
    if (v < 0) t.insert(0, 1, '-');
    if (f.alignColumn > 0) {
        const auto plus = static_cast<int>(t.find('+'));
        if (f.alignColumn - 1 > plus) t.insert(0, static_cast<std::size_t>(f.alignColumn - 1 - plus), ' ');
    }
    return fitOrStar(std::move(t), f.width);
}

Shown formatBody(double v, const NumberFormat& f) {
    switch (static_cast<DisplayCode>(f.code)) {
        case DisplayCode::Decimal:
            return decimalText(v, f);
        case DisplayCode::Scientific:
            return fitOrStar(formatExponent(v, 0), f.width);
        case DisplayCode::Comma:
            return fitOrStar(groupThousands(fixedOrGeneralText(v, f.precision, 0), false), f.width);
        case DisplayCode::Hex:
            return radixText(v, f, 16, "0x");
        case DisplayCode::Octal:
            return radixText(v, f, 8, "0");
        case DisplayCode::Binary:
            return binaryText(v, f);
        case DisplayCode::Percent:
            return percentText(v, f);
        case DisplayCode::Currency:
            return fitOrStar(groupThousands(fixedOrGeneralText(v, 2, 0), true), f.width);
        case DisplayCode::DateTime:
        case DisplayCode::Date:
        case DisplayCode::MdyDate:
        case DisplayCode::YmdDate:
        case DisplayCode::AmPmTime:
        case DisplayCode::MilitaryTime:
        case DisplayCode::Month:
        case DisplayCode::DayOfWeek:
            return dateText(v, f);
        case DisplayCode::Bearing:
            return bearing(v, f);
        case DisplayCode::Station:
            return stationText(v, f);
    }
    return cannotShow();
}

}  // namespace

bool isInfinite(double value) {
    return !(value < kInfinityLimit && value > -kInfinityLimit);
}

std::string infinityText(double value) {
    return value >= kInfinityLimit ? "+1.#INF" : "-1.#INF";
}

std::string markerFill(char marker, int width) {
    return std::string(static_cast<std::size_t>(width), marker);
}

std::string justifyText(std::string_view text, int width, Justify justify) {
    const auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) return std::string(text.substr(0, w));
    const std::size_t pad = w - text.size();
    const std::size_t before = justify == Justify::Left ? 0 : justify == Justify::Center ? pad / 2 : pad;
    return std::string(before, ' ') + std::string(text) + std::string(pad - before, ' ');
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string fixedOrGeneralText(double value, int precision, int mode) {
    std::string t = mode == 1 ? formatExponent(value, precision) : formatFixed(value, precision);
    if (value != 0.0 && readsAsZero(t)) t = formatGeneral(value, precision);
    return t;
}

std::string formatNumber(double value, const NumberFormat& fmt, ErrStat& err) {
    err.enter();
    if (fmt.width < 1 || fmt.width > kMaxDisplayWidth)
        return err.fail(kFormatNumberOrigin, 1, L05::InputOutOfRange), "";
    if (fmt.precision < 0) return err.fail(kFormatNumberOrigin, 2, L05::InputOutOfRange), "";
    if (isInfinite(value)) {
        const std::string inf = infinityText(value);
        if (static_cast<int>(inf.size()) > fmt.width) return markerFill('*', fmt.width);
        return justifyText(inf, fmt.width, fmt.justify);
    }
    if (fmt.precision >= fmt.width) return markerFill('*', fmt.width);
    // Negative zero would otherwise print as "-0.00".
    const Shown shown = formatBody(value + 0.0, fmt);
    if (shown.marker != 0) return markerFill(shown.marker, fmt.width);
    const bool aligned = fmt.code == static_cast<int>(DisplayCode::Station) && fmt.alignColumn > 0;
    return justifyText(shown.text, fmt.width, aligned ? Justify::Left : fmt.justify);
}

}  // namespace qx
