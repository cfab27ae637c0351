#include "core/formula_flags.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qx {
namespace {

using namespace formulaflag;

struct Field {
    const char* name;
    std::function<uint32_t(uint32_t, int)> set;
    std::function<int(uint32_t)> get;
    int largest;
    uint32_t bits;  // where the field lives
};

// Each field keeps its own value and leaves every other bit of the word alone.
TEST(FormulaFlags, FieldsAreIndependent) {
    const std::vector<Field> fields = {
        {"option", [](uint32_t f, int v) { return withOption(f, v != 0); },
         [](uint32_t f) { return option(f) ? 1 : 0; }, 1, 0x00000001u},
        {"angle mode", withAngleMode, angleMode, 3, 0x00000006u},
        {"angle type", withAngleType, angleType, 31, 0x000000F8u},
        {"precision", withPrecisionCode, precisionCode, 15, 0x00000F00u},
        {"object kind", [](uint32_t f, int v) { return withObjectKind(f, static_cast<ObjectKind>(v)); },
         [](uint32_t f) { return static_cast<int>(objectKind(f)); }, 127, 0x0007F000u},
        {"display format", withDisplayFormat, displayFormat, 127, 0x03F80000u},
        {"visited", [](uint32_t f, int v) { return withVisited(f, v != 0); },
         [](uint32_t f) { return visited(f) ? 1 : 0; }, 1, kVisited},
        {"error mark", [](uint32_t f, int v) { return withErrorMark(f, v != 0); },
         [](uint32_t f) { return errorMark(f) ? 1 : 0; }, 1, kErrorMark},
    };
    for (const Field& field : fields) {
        for (uint32_t background : {0u, 0xFFFFFFFFu, 0xA5A5A5A5u}) {
            for (int v : {0, 1, field.largest}) {
                const uint32_t word = field.set(background, v);
                EXPECT_EQ(field.get(word), v) << field.name;
                EXPECT_EQ(word & ~field.bits, background & ~field.bits) << field.name;
            }
        }
    }
}

TEST(FormulaFlags, PrecisionCodeZeroInherits) {
    EXPECT_FALSE(hasPrecision(withPrecisionCode(0xFFFFFFFFu, 0)));
    EXPECT_EQ(precision(withPrecisionCode(0, 3)), 2);
    EXPECT_EQ(precision(withPrecisionCode(0, 15)), 14);
}

}  // namespace
}  // namespace qx
