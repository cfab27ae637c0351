#pragma once
// Format expansion for "sprintf" and "MessageBox": "%s" takes the next value as a string and
// "%<width>.<precision>f" (width optional) the next as a number; any other '%' stays. The result never
// grows beyond its target's size, however large the width or precision asked for.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

// Where a format's values come from, in order. A missing or bad value fails through `err`.
class FormatValues {
  public:
    virtual ~FormatValues() = default;
    virtual bool text(std::string& out, ErrStat& err) = 0;
    virtual bool number(double& out, ErrStat& err) = 0;
};

// The expanded format, at most `limit` characters. Every conversion takes its value even when the
// text is already full, so the values are counted the same whatever the target's size.
std::string expandFormat(std::string_view format, std::size_t limit, FormatValues& values, ErrStat& err);

// One number as "%<width>.<precision>f" gives it, with width and precision held to `limit`; a result
// without a '.' loses its leading and trailing blanks.
std::string formatSpecified(double value, int width, int precision, std::size_t limit);

}  // namespace qx
