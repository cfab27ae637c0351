#include <string>
#include <tuple>

#include "cell_store_fixture.h"

namespace qx::testing {
namespace {

using RefsTest = StoreTest;

std::vector<std::pair<int, int>> places(std::span<CellRec* const> cells) {
    std::vector<std::pair<int, int>> out;
    for (const CellRec* cell : cells) out.emplace_back(cell->row, cell->col);
    return out;
}

TEST_F(RefsTest, SetReferencesLimitsAndTypes) {
    CellRec* user = formula(1, 1);
    CellRec* text = label(1, 2);
    CellRec* elsewhere = label(1, 1, "x", 2);
    std::vector<CellRec*> many(64, text);
    struct Case {
        CellRec* cell;
        std::vector<CellRec*> list;
        int point, code;
    };
    const Case cases[] = {{nullptr, {text}, 1, 75},
                          {user, many, 2, 10},
                          {user, {}, 2, 36},
                          {text, {text}, 3, 19},
                          {user, {text, nullptr}, 4, 75},
                          {user, {text, elsewhere}, 5, 8}};
    for (const Case& c : cases) {
        store.setReferences(c.cell, c.list, err);
        EXPECT_EQ(std::tuple(err.point, err.code, err.module, err.routine), std::tuple(c.point, c.code, 4, 4));
    }
    EXPECT_EQ(user->formula->refCount, 0u);
    many.pop_back();
    store.linkReferences(user, many, err);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(user->formula->refCount, 63u);
    EXPECT_EQ(text->dependents, 63u);
    expectSound();
}

TEST_F(RefsTest, GetReference) {
    CellRec* a = label(1, 1);
    CellRec* b = label(1, 2);
    CellRec* user = formula(2, 1, {a, b});
    const std::tuple<const CellRec*, int, CellRec*, int> cases[] = {{user, 1, a, 0},       {user, 2, b, 0},
                                                                    {user, 0, nullptr, 3}, {user, 3, nullptr, 3},
                                                                    {a, 1, nullptr, 2},    {nullptr, 1, nullptr, 1}};
    for (const auto& [cell, k, found, point] : cases) {
        EXPECT_EQ(store.getReference(cell, k, err), found);
        EXPECT_EQ(err.point, point) << k;
    }
}

TEST_F(RefsTest, DependentsComeInRowColumnOrder) {
    CellRec* target = label(100, 1);
    const std::pair<int, int> made[] = {{300, 5}, {2, 9}, {150, 2}, {2, 3}, {150, 1}, {99, 255}};
    for (auto [row, col] : made) formula(row, col, {target});
    EXPECT_EQ(places(store.dependentsOf(*target)),
              (std::vector<std::pair<int, int>>{{2, 3}, {2, 9}, {99, 255}, {150, 1}, {150, 2}, {300, 5}}));
    store.moveCell(300, 5, 1, 1, 1, 1, err);  // keeping the order after edits is left to the random edits
    EXPECT_EQ(places(store.dependentsOf(*target)).front(), (std::pair<int, int>{1, 1}));
}

TEST_F(RefsTest, APlaceholderLivesWhileAnyListHoldsIt) {
    CellRec* holder = store.makeCell(3, 3, 1, CellType::Undefined, err);
    CellRec* other = formula(5, 4, {holder});
    // Re-entering the same formula: the new list names the placeholder the old list held.
    store.linkReferences(other, std::vector<CellRec*>{holder}, err);
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(std::tuple(at(3, 3), holder->dependents), std::tuple(holder, 1u));
    CellRec* kept = label(3, 4);
    CellRec* user = formula(4, 4, {holder, kept});
    scratch.repaintPending = false;
    store.releaseReferences(user, err);
    EXPECT_EQ(std::tuple(at(3, 3), holder->dependents), std::tuple(holder, 1u));
    store.releaseReferences(other, err);
    EXPECT_EQ(at(3, 3), nullptr);
    EXPECT_TRUE(scratch.repaintPending);
    EXPECT_EQ(std::tuple(at(3, 4), kept->dependents), std::tuple(kept, 0u));
    expectSound();
}

TEST_F(RefsTest, DeletingAReferencedCellLeavesAPlaceholderThatFormulasStillReach) {
    CellRec* target = formula(10, 10);
    CellRec* quiet = formula(11, 1, {target});
    quiet->set(cellflag::kPreventRecalc);
    CellRec* loud = formula(12, 1, {target, target});
    store.deleteBlock(1, 10, 10, 10, 10, NotifyMode::None, true, err);
    ASSERT_FALSE(err.failed());
    CellRec* holder = at(10, 10);
    ASSERT_TRUE(holder != nullptr && holder->isPlaceholder());
    EXPECT_NE(holder, target);
    EXPECT_EQ(holder->dependents, 3u);
    EXPECT_EQ(quiet->formula->refs[0], holder);  // "Prevent Recalc" cells are re-pointed too
    EXPECT_EQ(std::tuple(loud->formula->refs[0], loud->formula->refs[1]), std::tuple(holder, holder));
    EXPECT_FALSE(scratch.includePrevent);
    EXPECT_EQ(target->dependents, 0u);
    EXPECT_EQ(level().undoNewer, target);
    expectSound();
    store.deleteCellNow(at(10, 10), err);
    EXPECT_EQ(at(10, 10), holder);  // still referenced: it stays
}

TEST_F(RefsTest, FortyThousandDependentsSurviveDeletingTheirCell) {
    CellRec* target = label(1, 1, "shared");
    for (int i = 0; i < 40000; ++i) formula(2 + i / 4, 1 + i % 4, {target});
    ASSERT_EQ(target->dependents, 40000u);
    store.deleteBlock(1, 1, 1, 1, 1, NotifyMode::None, false, err);
    ASSERT_FALSE(err.failed());
    CellRec* holder = at(1, 1);
    ASSERT_TRUE(holder != nullptr && holder->isPlaceholder());
    EXPECT_EQ(holder->dependents, 40000u);
    EXPECT_EQ(at(10001, 4)->formula->refs[0], holder);
    EXPECT_EQ(store.dependentsOf(*holder).size(), 40000u);
    expectSound();
}

TEST_F(RefsTest, DeleteForUndoLeavesEntryForms) {
    CellRec* number = formula(1, 1);
    number->formula->value = 12.5;
    CellRec* text = label(1, 2, "words");
    CellRec* quoted = label(1, 3, "'already");
    CellRec* variable = store.makeCell(1, 4, 1, CellType::VariableLabel, err);
    store.hooks().enterText(store, *variable, "[1,1]", err);
    CellRec* ranged = formula(1, 5);
    ranged->set(cellflag::kRangeDef);
    store.deleteBlock(1, 1, 1, 1, 5, NotifyMode::None, false, err);
    ASSERT_FALSE(err.failed());
    EXPECT_EQ(number->formula->value, 0.0);
    EXPECT_TRUE(number->formula->errorMark());
    EXPECT_TRUE(variable->isLabel() && variable->formula == nullptr);
    std::vector<std::string_view> texts;
    for (CellRec* c : {number, text, quoted, variable}) texts.push_back(c->textView());
    EXPECT_EQ(texts, (std::vector<std::string_view>{"+1", "'words", "'already", "\"[1,1]"}));
    EXPECT_FALSE(ranged->has(cellflag::kRangeDef));
    // Newest first: the chain holds the row from its last column back.
    std::vector<CellRec*> chain;
    for (CellRec* c = level().undoNewer; c; c = c->next) chain.push_back(c);
    EXPECT_EQ(chain, (std::vector<CellRec*>{ranged, variable, quoted, text, number}));
    EXPECT_TRUE(store.levelEmpty(1));
}

TEST_F(RefsTest, DeleteBlockRotatesChainsAndStopsBeforeProtectedCells) {
    label(1, 1, "first");
    store.deleteBlock(1, 1, 1, 1, 1, NotifyMode::None, false, err);
    CellRec* firstChain = level().undoNewer;
    label(2, 1, "second");
    store.deleteBlock(1, 2, 1, 2, 1, NotifyMode::None, false, err);
    EXPECT_EQ(level().undoOlder, firstChain);
    CellRec* secondChain = level().undoNewer;

    label(3, 1, "free");
    label(3, 2, "locked")->set(cellflag::kProtectCell);
    store.deleteBlock(1, 3, 1, 3, 2, NotifyMode::None, false, err);
    EXPECT_EQ(err.code, 40);
    EXPECT_EQ(columnsOf(3), (std::vector<int>{1, 2}));
    EXPECT_EQ(std::tuple(level().undoNewer, level().undoOlder), std::tuple(secondChain, firstChain));
    scratch.repaintPending = false;
    store.deleteBlock(1, 5, 5, 4, 4, NotifyMode::None, true, err);  // an empty rectangle changes nothing
    EXPECT_FALSE(err.failed());
    EXPECT_EQ(level().undoNewer, secondChain);
    EXPECT_TRUE(scratch.repaintPending);
}

TEST_F(RefsTest, CopyPlacesContentAndConvertsPlaceholders) {
    CellRec* source = formula(1, 1);
    source->formula->value = 4.5;
    source->formula->flags = formulaflag::kErrorMark | 0x100;
    store.setTag(source, "note", err);
    store.setArraySize(source, 2, err);
    CellRec* copy = store.copyCell(source, 1, 5, 5, 4, 4, 0, err);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->textView(), "+1");
    EXPECT_EQ(std::tuple(copy->formula->value, copy->formula->flags), std::tuple(4.5, 0x100u));  // error mark dropped
    EXPECT_EQ(store.getTag(copy), "note");
    EXPECT_EQ(copy->formula->arrayCount(), 2u);
    EXPECT_NE(copy->formula->array, source->formula->array);
    EXPECT_EQ(copy->dependents, 0u);

    CellRec* holder = store.makeCell(6, 6, 1, CellType::Undefined, err);
    CellRec* user = formula(7, 7, {holder});
    CellRec* text = label(1, 2, std::string("a\x01~b\x7f") + "\xe9");
    CellRec* converted = store.copyCell(text, 1, 6, 6, 5, 4, 0, err);
    EXPECT_EQ(converted, holder);
    EXPECT_TRUE(converted->isLabel());
    EXPECT_EQ(converted->textView(), "a^^b^^");  // bad bytes become '^'
    EXPECT_EQ(converted->dependents, 1u);
    EXPECT_EQ(user->formula->refs[0], converted);
    for (auto [from, code] : {std::pair<CellRec*, int>{text, 80}, {nullptr, 75}}) {  // 80: over a real cell
        EXPECT_EQ(store.copyCell(from, 1, 1, 1, 0, 0, 0, err), nullptr);
        EXPECT_EQ(err.code, code);
    }
    expectSound();
}

TEST_F(RefsTest, DetachedCopyStaysOutOfTheRows) {
    CellRec* source = formula(3, 4);
    source->formula->value = 9;
    CellRec* copy = store.detachedCopy(source, 0, err);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::tuple(copy->level, copy->row, copy->col, copy->next), std::tuple(0, 3, 4, nullptr));
    EXPECT_EQ(copy->formula->value, 0.0);
    EXPECT_TRUE(copy->formula->errorMark());
    EXPECT_EQ(copy->textView(), "+1");
    EXPECT_TRUE(store.levelEmpty(0));
    CellRec* text = store.detachedCopy(label(3, 5, "hello"), 0, err);
    EXPECT_EQ(text->textView(), "hello");
    text->next = copy;
    store.purgeChain(text, err);
    EXPECT_FALSE(err.failed());
}

TEST_F(RefsTest, MoveOntoPlaceholderCarriesDependentsOver) {
    CellRec* holder = store.makeCell(9, 9, 1, CellType::Undefined, err);
    CellRec* waitsForHolder = formula(1, 1, {holder});
    CellRec* base = label(2, 2, "base");
    CellRec* moving = formula(3, 3, {base});
    CellRec* waitsForMoving = formula(4, 4, {moving, moving});
    struct Recorder : CellStoreHooks {
        CellRec* cell = nullptr;
        NotifyMode mode = NotifyMode::None;
        void notify(CellStore&, CellRec& c, NotifyMode m) override { cell = &c, mode = m; }
    } recorder;
    store.setHooks(&recorder);

    EXPECT_EQ(store.moveCell(3, 3, 1, 9, 9, 1, err), 1);
    store.setHooks(nullptr);
    EXPECT_EQ(std::tuple(at(3, 3), at(9, 9)), std::tuple(nullptr, holder));
    EXPECT_TRUE(holder->isFormula());
    EXPECT_EQ(holder->dependents, 3u);
    EXPECT_EQ(std::tuple(waitsForHolder->formula->refs[0], waitsForMoving->formula->refs[0],
                         waitsForMoving->formula->refs[1]),
              std::tuple(holder, holder, holder));
    EXPECT_EQ(places(store.dependentsOf(*base)), (std::vector<std::pair<int, int>>{{9, 9}}));
    EXPECT_EQ(std::tuple(recorder.cell, recorder.mode), std::tuple(holder, NotifyMode::Edit));
    expectSound();
}

// Which moves are allowed is checked against a model by the random edits; this is about the record's heap.
TEST_F(RefsTest, AFreeCellMovedToAnotherLevelBelongsToThatLevel) {
    label(1, 3, "lone");
    ASSERT_EQ(store.moveCell(1, 3, 1, 7, 7, 2, err), 1);
    EXPECT_EQ(at(7, 7, 2)->level, 2);
    store.clearLevel(1);
    EXPECT_EQ(at(7, 7, 2)->textView(), "lone");
    expectSound(2);
}

TEST_F(RefsTest, RebuildRecomputesCountsAndIndex) {
    CellRec* a = label(1, 1);
    CellRec* b = label(1, 2);
    formula(2, 1, {a, b});
    formula(2, 2, {a});
    a->dependents = 7;
    b->dependents = 0;
    EXPECT_NE(store.checkDependents(1), "");
    store.rebuildDependents(1, err);
    EXPECT_EQ(std::tuple(a->dependents, b->dependents), std::tuple(2u, 1u));
    expectSound();
}

// Stands in for the formula layer: records what the store asks of it.
struct FormulaLayer : CellStoreHooks {
    std::vector<std::string> entered;
    std::vector<int> cleared;
    uint32_t refsSeenWhenExpanded = 99;
    bool failEntry = false;

    void enterText(CellStore& store, CellRec& cell, std::string_view text, ErrStat& err) override {
        entered.emplace_back(text);
        CellStoreHooks::enterText(store, cell, text, err);
        if (failEntry) err.fail(Origin{kLetterA, 20, 1}, 9, Msg::SyntaxError);
    }
    std::string formulaText(const CellStore&, const CellRec& cell, int rowOffset, int colOffset, int) override {
        refsSeenWhenExpanded = cell.formula ? cell.formula->refCount : 0;
        return "+[" + std::to_string(1 + rowOffset) + "," + std::to_string(1 + colOffset) + "]";
    }
    void levelCleared(CellStore&, int level) override { cleared.push_back(level); }
};

TEST_F(RefsTest, CopiesAreReenteredWithShiftedTextAndDeletesExpandBeforeReleasing) {
    FormulaLayer layer;
    store.setHooks(&layer);
    CellRec* base = label(1, 1, "base");
    CellRec* source = formula(1, 2, {base});
    CellRec* copy = store.copyCell(source, 1, 4, 5, 3, 3, 0, err);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(layer.entered.back(), "+[4,4]");
    EXPECT_EQ(copy->textView(), "+[4,4]");
    EXPECT_FALSE(copy->formula->errorMark());

    layer.failEntry = true;
    CellRec* failed = store.copyCell(source, 1, 6, 5, 5, 3, 0, err);
    ASSERT_NE(failed, nullptr);
    EXPECT_FALSE(err.failed());
    EXPECT_TRUE(failed->formula->errorMark());

    store.deleteBlock(1, 1, 2, 1, 2, NotifyMode::None, false, err);
    EXPECT_EQ(layer.refsSeenWhenExpanded, 1u);
    EXPECT_EQ(source->textView(), "+[1,1]");
    store.clearLevel(1);
    EXPECT_EQ(layer.cleared, std::vector<int>{1});
    store.setHooks(nullptr);
}

}  // namespace
}  // namespace qx::testing
