// Format expansion of "sprintf" and "MessageBox": what each conversion gives, that values are used
// up exactly, and that no width, precision or argument makes the text outgrow its target.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "script/toolkit/toolkit_format.h"

namespace qx {
namespace {

// Values from two lists; running out fails as a malformed call would.
class ListValues final : public FormatValues {
  public:
    ListValues(std::vector<std::string> texts, std::vector<double> numbers)
        : m_texts(std::move(texts)), m_numbers(std::move(numbers)) {}
    bool text(std::string& out, ErrStat& err) override {
        if (m_nextText >= m_texts.size()) return err.fail(Origin{kLetterA, 1, 1}, 1, Msg::WrongParameters);
        out = m_texts[m_nextText++];
        return true;
    }
    bool number(double& out, ErrStat& err) override {
        if (m_nextNumber >= m_numbers.size()) return err.fail(Origin{kLetterA, 1, 1}, 2, Msg::WrongParameters);
        out = m_numbers[m_nextNumber++];
        return true;
    }
    std::size_t textsUsed() const { return m_nextText; }
    std::size_t numbersUsed() const { return m_nextNumber; }

  private:
    std::vector<std::string> m_texts;
    std::vector<double> m_numbers;
    std::size_t m_nextText = 0;
    std::size_t m_nextNumber = 0;
};

struct FormatCase {
    const char* format;
    std::vector<std::string> texts;
    std::vector<double> numbers;
    std::size_t limit;
    const char* expected;
};

TEST(ToolkitFormat, ExpandsEachConversion) {
    const FormatCase cases[] = {
        {"%5.2f", {}, {3.14159}, 40, " 3.14"},  // a point is present: the blank stays
        {"%5.0f", {}, {7}, 40, "7"},            // no point: blanks go
        {"%.2f", {}, {2.5}, 40, "2.50"},        // width digits are optional
        {"[%3.1f]", {}, {-0.25}, 40, "[-0.2]"},
        {"%d and %f and %5f", {}, {}, 40, "%d and %f and %5f"},
        {"%5.f", {}, {}, 40, "%5.f"},  // precision digits are not
        {"100%", {}, {}, 40, "100%"},
        {"%%s", {"x"}, {}, 40, "%x"},
        {"%s-%s", {"ab", ""}, {}, 40, "ab-"},
        {"%s=%8.3f", {"pi"}, {3.14159265}, 40, "pi=   3.142"},
        {"%0.0f", {}, {1e20}, 40, "100000000000000000000"},
        {"abcdef", {}, {}, 4, "abcd"},
        {"%s", {"0123456789"}, {}, 5, "01234"},
        {"%300.2f", {}, {1}, 6, "  1.00"},  // width held to the target
        {"%2.300f", {}, {1}, 6, "1.0000"},
        {"%999999999999.999999999999f", {}, {1}, 3, "1.0"},
    };
    for (const FormatCase& c : cases) {
        ListValues values(c.texts, c.numbers);
        ErrStat err;
        EXPECT_EQ(expandFormat(c.format, c.limit, values, err), c.expected) << c.format;
        EXPECT_FALSE(err.failed()) << c.format;
        EXPECT_EQ(values.textsUsed(), c.texts.size()) << c.format;
        EXPECT_EQ(values.numbersUsed(), c.numbers.size()) << c.format;
    }
}

TEST(ToolkitFormat, ValuesAreTakenEvenWhenTheTargetIsFull) {
    ListValues values({"a", "b"}, {1, 2});
    ErrStat err;
    EXPECT_EQ(expandFormat("xy%s%s%1.0f%1.0f", 2, values, err), "xy");
    EXPECT_EQ(values.textsUsed(), 2u);
    EXPECT_EQ(values.numbersUsed(), 2u);
}

TEST(ToolkitFormat, AMissingValueFails) {
    ListValues values({"a"}, {});
    ErrStat err;
    expandFormat("%s %s", 40, values, err);
    EXPECT_TRUE(err.is(Msg::WrongParameters));
}

// Random formats and values against small targets: the result never outgrows the target, and every
// conversion the scanner finds takes one value. Under ASan this also proves no write beyond it.
TEST(ToolkitFormat, RandomFormatsStayWithinTheirTarget) {
    std::mt19937 rng(20261207);
    const std::string alphabet = "%%%%sf.f.0123456789 xs-";
    for (int round = 0; round < 20000; ++round) {
        std::string format;
        const int length = static_cast<int>(rng() % 40);
        for (int i = 0; i < length; ++i) format += alphabet[rng() % alphabet.size()];
        std::vector<std::string> texts(20, std::string(rng() % 300, 'w'));
        std::vector<double> numbers;
        for (int i = 0; i < 20; ++i) {
            const double magnitude = std::ldexp(1.0, static_cast<int>(rng() % 2000) - 1000);
            numbers.push_back(rng() % 2 ? magnitude : -magnitude);
        }
        const std::size_t limit = rng() % 300;
        ListValues values(texts, numbers);
        ErrStat err;
        const std::string out = expandFormat(format, limit, values, err);
        ASSERT_LE(out.size(), limit) << format;
        ASSERT_FALSE(err.failed()) << format;
    }
}

}  // namespace
}  // namespace qx
