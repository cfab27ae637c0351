#include "core/button_bars.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

std::vector<std::string> labelsOf(const ButtonBar& bar) {
    std::vector<std::string> out;
    for (const auto& b : bar.buttons) out.push_back(b.label);
    return out;
}

TEST(BarSet, SeventeenthBarTenthButtonRepeatedNamesAndEmptyLabelsAreRefused) {
    BarSet set;
    EXPECT_EQ(set.addBar("Standard mode"), 0);
    EXPECT_EQ(set.addBar(""), 0);
    for (int i = 3; i <= kMaxBars; ++i) EXPECT_EQ(set.addBar("bar" + std::to_string(i)), i);
    EXPECT_EQ(set.addBar("one more"), 0);
    EXPECT_EQ(set.shownBar()->name, "bar16");
    EXPECT_FALSE(set.addButton("", 1));
    for (int i = 0; i < kMaxBarButtons; ++i) EXPECT_TRUE(set.addButton("b" + std::to_string(i), 0));
    EXPECT_FALSE(set.addButton("b9", 0));
    EXPECT_FALSE(set.insertButton(0, "b9", 0));
}

TEST(BarSet, LongNamesAndLabelsAreCut) {
    BarSet set;
    const int place = set.addBar("abcdefghijklmnopqrst");
    EXPECT_EQ(set.bar(place)->name, "abcdefghijklmnop");
    EXPECT_EQ(set.addBar("abcdefghijklmnopXYZ"), 0);  // same name once cut
    ASSERT_TRUE(set.addButton("123456789", 541));
    EXPECT_EQ(set.buttonLabel(place, 0), "12345678");
}

TEST(BarSet, DefaultBarsCannotBeChangedOrDeleted) {
    BarSet set;
    for (std::string_view name : {"Standard mode", "Edit mode"}) {
        ASSERT_TRUE(set.showBar(name));
        EXPECT_FALSE(set.addButton("X", 1));
        EXPECT_FALSE(set.deleteButton(0));
        EXPECT_FALSE(set.moveButton(0, 1));
        EXPECT_EQ(set.deleteBar(set.findBar(name)), name);
        EXPECT_EQ(set.bar(set.findBar(name))->buttons.size(), 9u);
    }
}

TEST(BarSet, ButtonEditsKeepTheOrder) {
    const struct {
        const char* what;
        bool (*edit)(BarSet&);
        bool accepted;
        std::vector<std::string> expected;
    } cases[] = {
        {"insert at front", [](BarSet& s) { return s.insertButton(0, "Z", 9); }, true, {"Z", "A", "B", "C"}},
        {"insert past end", [](BarSet& s) { return s.insertButton(4, "Z", 9); }, false, {"A", "B", "C"}},
        {"delete middle", [](BarSet& s) { return s.deleteButton(1); }, true, {"A", "C"}},
        {"move forward", [](BarSet& s) { return s.moveButton(0, 2); }, true, {"B", "C", "A"}},
        {"move out of range", [](BarSet& s) { return s.moveButton(0, 3); }, false, {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        BarSet set;
        const int place = set.addBar("mine");
        for (const char* l : {"A", "B", "C"}) set.addButton(l, 1);
        EXPECT_EQ(c.edit(set), c.accepted) << c.what;
        EXPECT_EQ(labelsOf(*set.bar(place)), c.expected) << c.what;
    }
}

TEST(BarSet, DeletingTheBarOnShowShowsTheFirstRemaining) {
    BarSet set;
    const int a = set.addBar("a");
    const int b = set.addBar("b");
    EXPECT_EQ(set.deleteBar(a), "b");  // not on show: unchanged
    EXPECT_EQ(set.deleteBar(b), "Standard mode");
    EXPECT_EQ(set.deleteBar(b), "Standard mode");  // already gone
    EXPECT_EQ(set.addBar("c"), a);                 // the first free place is reused
    EXPECT_FALSE(set.showBar("nothing"));
    EXPECT_EQ(set.shownBar()->name, "c");
}

TEST(BarSet, IllegalNameCharactersAreNamed) {
    const struct {
        std::string name;
        char illegal;
    } cases[] = {{"Good one", '\0'}, {"a,b", ','}, {"a|b", '|'},    {"{a", '{'},
                 {"a}", '}'},        {"~~", '~'},  {"tab\t", '\t'}, {"\x7f", '\x7f'}};
    for (const auto& c : cases) EXPECT_EQ(illegalBarNameChar(c.name), c.illegal) << c.name;
}

}  // namespace
}  // namespace qx
