#include <string>
#include <tuple>
#include <utility>

#include "core/cell_heap.h"
#include "core/style_word.h"

#include "cell_store_fixture.h"

namespace qx::testing {
namespace {

using ValuesTest = StoreTest;

TEST_F(ValuesTest, ArrayAreaResizeKeepsAndZeroesElements) {
    for (auto [from, to] : {std::pair{5, 3}, {3, 5}, {4, 0}, {0, 6}, {8191, 2}}) {
        CellRec* cell = formula(1, 1);
        ASSERT_EQ(store.setArraySize(cell, from, err), from);
        std::vector<double> values(from + 1);
        for (int i = 0; i <= from; ++i) values[i] = 10.0 + i;
        if (from > 0) store.setArrayElements(cell, values.data(), 1, from, err);
        ASSERT_EQ(store.setArraySize(cell, to, err), to);
        ASSERT_FALSE(err.failed());
        const double* array = cell->formula->array;
        EXPECT_EQ(cell->formula->arrayCount(), static_cast<uint32_t>(to));
        for (int i = 1; i <= to; ++i) EXPECT_EQ(array[i], i <= from ? 10.0 + i : 0.0) << from << "->" << to;
        EXPECT_EQ(to == 0, array == nullptr);
        store.deleteCellNow(cell, err);
    }
}

TEST_F(ValuesTest, ArrayAreaFailures) {
    CellRec* number = formula(1, 1);
    CellRec* text = label(1, 2);
    const double values[] = {1, 2, 3, 4};
    struct Case {
        CellRec* cell;
        int n, point, code;
    };
    const Case sizes[] = {{number, 8192, 2, 9}, {number, -1, 2, 9}, {text, 3, 3, 19}, {nullptr, 3, 1, 75}};
    for (const Case& c : sizes) {
        EXPECT_EQ(store.setArraySize(c.cell, c.n, err), 0);
        EXPECT_EQ(std::tuple(err.point, err.code, err.routine), std::tuple(c.point, c.code, 8)) << c.n;
    }
    store.setArraySize(number, 2, err);
    struct Elements {
        CellRec* cell;
        int first, last;
    };
    const Elements bad[] = {{nullptr, 0, 1}, {text, 0, 1}, {number, -1, 1}, {number, 2, 1}, {number, 0, 2}};
    for (const Elements& c : bad) {
        store.setArrayElements(c.cell, values, c.first, c.last, err);
        EXPECT_EQ(std::tuple(err.point, err.code), std::tuple(1, 75)) << c.first << ".." << c.last;
    }
    EXPECT_EQ(store.setArrayElements(number, values, 2, 3, err), 3);
    EXPECT_EQ(std::tuple(number->formula->array[1], number->formula->array[2]), std::tuple(3.0, 4.0));
    store.freeArray(number, err);
    EXPECT_EQ(number->formula->array, nullptr);
    EXPECT_EQ(number->formula->arrayCount(), 0u);
}

// Blocks go back to the heap with the size they were taken with, whatever was written into them since.
TEST_F(ValuesTest, TextsAndArrayAreasAreFreedByTheirRecordedSize) {
    LevelRec& level = *store.levelPtr(1);
    for (std::size_t length : {1u, 7u, 253u, 254u, 255u, 4100u, 70000u}) {
        char* text = heapText(level, std::string(length, 'x'), err);
        ASSERT_FALSE(err.failed()) << length;
        EXPECT_EQ(std::string_view(text), std::string(length, 'x'));
        text[length / 2] = '\0';  // a stray NUL must not shrink the block that is freed
        heapFreeText(level, text, err);
        EXPECT_EQ(text, nullptr);
    }
    CellRec* source = formula(1, 1);
    store.setArraySize(source, 600, err);
    source->formula->array[0] = 1;  // element 0 overwritten: copying and freeing still see 600
    CellRec* replaced = store.makeCell(1, 1, 1, CellType::Formula, err);  // carries a copy of the area
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(heapArrayCount(replaced->formula->array), 600);
    store.freeArray(replaced, err);
    EXPECT_FALSE(err.failed());
    store.clearLevel(1);
}

TEST_F(ValuesTest, TagsAreCutQuotedAndOnlyForFormulas) {
    CellRec* cell = formula(2, 2);
    const std::pair<std::string, std::string> cases[] = {
        {"a note", "a note"}, {"say \"hi\"", "say 'hi'"}, {std::string(300, 'x'), std::string(255, 'x')}, {"", ""}};
    for (const auto& [text, stored] : cases) {
        EXPECT_EQ(store.setTag(cell, text, err), static_cast<int>(stored.size()));
        EXPECT_EQ(store.getTag(cell), stored);
        EXPECT_EQ(cell->formula->tag == nullptr, stored.empty());
    }
    store.setTag(cell, "gone soon", err);
    EXPECT_EQ(store.freeTag(cell, err), 1);
    EXPECT_EQ(store.freeTag(cell, err), 0);
    CellRec* text = label(2, 3);
    store.setTag(text, "no", err);
    EXPECT_EQ(err.code, 19);
    EXPECT_EQ(store.getTag(text), "");
    store.setTag(nullptr, "no", err);
    EXPECT_EQ(err.code, 75);
    CellRec* variable = store.makeCell(2, 4, 1, CellType::VariableLabel, err);
    store.hooks().enterText(store, *variable, "[1,1]", err);
    EXPECT_EQ(store.freeTag(variable, err), 0);
    EXPECT_EQ(store.freeVariableLabelText(variable, err), 1);
    EXPECT_EQ(variable->formula->tag, nullptr);
}

TEST_F(ValuesTest, MakeCellChoosesJustification) {
    struct Case {
        CellType existing;  // Undefined: no cell there
        uint32_t existingJustify;
        CellType made;
        uint32_t expected;
    };
    const Case cases[] = {
        {CellType::Undefined, 0, CellType::Label, 1},   {CellType::Undefined, 0, CellType::VariableLabel, 1},
        {CellType::Undefined, 0, CellType::Formula, 3}, {CellType::Label, 2, CellType::Label, 2},
        {CellType::Label, 2, CellType::Formula, 0},     {CellType::Formula, 1, CellType::Formula, 1},
    };
    int row = 1;
    for (const Case& c : cases) {
        ++row;
        if (c.existing != CellType::Undefined) {
            CellRec* old = store.makeCell(row, 1, 1, c.existing, err);
            old->style = style::withJustification(old->style, static_cast<int>(c.existingJustify));
        }
        CellRec* cell = store.makeCell(row, 1, 1, c.made, err);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(style::justification(cell->style), static_cast<int>(c.expected)) << row;
        EXPECT_EQ(cell->type(), c.made);
    }
    level().defaults.style = style::withJustification(0, 2);
    EXPECT_EQ(style::justification(store.makeCell(40, 1, 1, CellType::Formula, err)->style), 2);
}

TEST_F(ValuesTest, MakeCellOverFormulaCarriesArrayTagAndObject) {
    CellRec* old = formula(3, 3);
    store.setArraySize(old, 2, err);
    const double values[] = {7, 8};
    store.setArrayElements(old, values, 0, 1, err);
    store.setTag(old, "kept", err);
    auto* object = static_cast<ObjectRec*>(store.allocate(1, 1, sizeof(ObjectRec), 5, err));
    object->data = static_cast<unsigned char*>(store.allocate(1, 3, 1, 5, err));
    object->size = 3;
    object->data[2] = 42;
    old->formula->object = object;
    old->formula->flags = (5u << 12) | (9u << 19) | formulaflag::kErrorMark | 0x4;

    CellRec* fresh = store.makeCell(3, 3, 1, CellType::Formula, err);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(std::tuple(fresh->formula->arrayCount(), fresh->formula->array[2]), std::tuple(2u, 8.0));
    EXPECT_EQ(store.getTag(fresh), "kept");
    ASSERT_NE(fresh->formula->object, nullptr);
    EXPECT_NE(fresh->formula->object, object);
    EXPECT_EQ(fresh->formula->object->data[2], 42);
    // The object kind and error mark go; a display format beside an object kind goes too.
    EXPECT_EQ(fresh->formula->flags, 0x4u);
    // The overwritten cell waits on the undo chain in its entry form.
    ASSERT_EQ(level().undoNewer, old);
    EXPECT_EQ(old->textView(), "+1");

    EXPECT_EQ(store.makeCell(3, 3, 1, CellType::Label, err)->formula, nullptr);
    CellRec* again = store.makeCell(3, 3, 1, CellType::Formula, err);  // nothing left to carry
    EXPECT_EQ(again->formula->arrayCount(), 0u);
    EXPECT_EQ(store.getTag(again), "");
    expectSound();
}

TEST_F(ValuesTest, MakeCellReusesPlaceholderAndKeepsItsDependents) {
    CellRec* holder = store.makeCell(4, 4, 1, CellType::Undefined, err);
    EXPECT_TRUE(holder->dependentsMark);
    EXPECT_TRUE(holder->has(cellflag::kRecalcPending));
    CellRec* user = formula(5, 5, {holder});
    EXPECT_FALSE(holder->dependentsMark);
    EXPECT_EQ(store.makeCell(4, 4, 1, CellType::Label, err), holder);
    EXPECT_EQ(holder->dependents, 1u);
    EXPECT_EQ(user->formula->refs[0], holder);
    expectSound();
}

TEST_F(ValuesTest, MakeCellRefusesOverlapUnlessLoadingAndProtectedCells) {
    label(6, 1, "wide")->setOverlapped(3);
    EXPECT_EQ(store.makeCell(6, 2, 1, CellType::Label, err), nullptr);
    EXPECT_EQ(std::tuple(err.code, err.point), std::tuple(16, 3));
    EXPECT_NE(store.makeCell(6, 2, 1, CellType::Label, OverlapCheck::Skip, err), nullptr);
    EXPECT_FALSE(err.failed());
    CellRec* locked = label(7, 7, "locked");
    locked->set(cellflag::kProtectCell);
    EXPECT_EQ(store.makeCell(7, 7, 1, CellType::Formula, err), nullptr);
    EXPECT_EQ(err.code, 40);
    EXPECT_EQ(at(7, 7), locked);
    EXPECT_EQ(locked->textView(), "locked");
}

}  // namespace
}  // namespace qx::testing
