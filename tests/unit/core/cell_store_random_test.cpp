// Thousands of random edits against a plain model of places, checking the row lists and
// the dependents bookkeeping after every step.
#include <algorithm>
#include <compare>
#include <map>
#include <random>

#include "cell_store_fixture.h"
#include "unit/sanitizer_rounds.h"

namespace qx::testing {
namespace {

struct Place {
    int level, row, col;
    auto operator<=>(const Place&) const = default;
};

struct ModelCell {
    CellType type = CellType::Undefined;
    std::vector<Place> refs;  // references follow records, so the model keeps them by place
    bool operator==(const ModelCell&) const = default;
};

class RandomEdits : public StoreTest {
  protected:
    std::map<Place, ModelCell> model;
    std::mt19937 rng{20260612};

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    Place randomPlace(int level) { return {level, pick(1, 12), pick(1, 8)}; }
    static bool holds(const ModelCell& cell, const Place& place) {
        return std::find(cell.refs.begin(), cell.refs.end(), place) != cell.refs.end();
    }
    bool referenced(const Place& place) const {
        return std::any_of(model.begin(), model.end(), [&](const auto& entry) { return holds(entry.second, place); });
    }
    bool isReal(const Place& place) const {
        auto it = model.find(place);
        return it != model.end() && it->second.type != CellType::Undefined;
    }

    // A formula's references go: placeholders nobody else needs go with them.
    void releaseModel(const Place& place) {
        std::vector<Place> refs = std::move(model[place].refs);
        model[place].refs.clear();
        for (const Place& ref : refs) {
            auto it = model.find(ref);
            if (it != model.end() && it->second.type == CellType::Undefined && !referenced(ref)) model.erase(it);
        }
    }

    // Deleting a cell: what is still referenced stays as a placeholder.
    void deleteModel(const Place& place) {
        if (!model.contains(place)) return;
        releaseModel(place);
        if (referenced(place)) {
            model[place].type = CellType::Undefined;
        } else {
            model.erase(place);
        }
    }

    CellRec* cellAt(const Place& p) { return at(p.row, p.col, p.level); }
    CellRec* make(const Place& p, CellType type) { return store.makeCell(p.row, p.col, p.level, type, err); }

    void makeFormula(const Place& place) {
        if (isReal(place)) deleteModel(place);
        CellRec* cell = make(place, CellType::Formula);
        ASSERT_NE(cell, nullptr);
        model[place].type = CellType::Formula;
        std::vector<CellRec*> targets;
        const int count = pick(1, 3);
        for (int i = 0; i < count; ++i) {
            Place ref = randomPlace(place.level);
            if (ref == place) continue;
            CellRec* target = cellAt(ref);
            if (target == nullptr) {
                target = make(ref, CellType::Undefined);
                ASSERT_NE(target, nullptr);
                model[ref].type = CellType::Undefined;
            }
            targets.push_back(target);
            model[place].refs.push_back(ref);
        }
        if (!targets.empty()) store.linkReferences(cell, targets, err);
        ASSERT_FALSE(err.failed());
    }

    void makeLabel(const Place& place) {
        if (isReal(place)) deleteModel(place);
        ASSERT_NE(label(place.row, place.col, "t", place.level), nullptr);
        model[place].type = CellType::Label;
    }

    void deleteNow(const Place& place) {
        CellRec* cell = cellAt(place);
        if (cell == nullptr) return;
        store.deleteCellNow(cell, err);
        ASSERT_FALSE(err.failed());
        deleteModel(place);
    }

    void deleteBlock(int level) {
        const int r1 = pick(1, 12), c1 = pick(1, 8);
        const int r2 = std::min(12, r1 + pick(0, 5)), c2 = std::min(8, c1 + pick(0, 7));
        store.deleteBlock(level, r1, c1, r2, c2, NotifyMode::None, false, err);
        ASSERT_FALSE(err.failed());
        for (int r = r1; r <= r2; ++r) {
            for (int c = c1; c <= c2; ++c) deleteModel(Place{level, r, c});
        }
    }

    void move(const Place& from, const Place& to) {
        // A formula moved onto a placeholder it uses would refer to itself: compilers refuse such cycles.
        if (model.contains(from) && model.contains(to) && holds(model[from], to)) return;
        const bool crossing = from.level != to.level;
        const int moved = store.moveCell(from.row, from.col, from.level, to.row, to.col, to.level, err);
        auto source = model.find(from);
        auto target = model.find(to);
        bool expected = source != model.end() && from != to &&
                        (target == model.end() || target->second.type == CellType::Undefined);
        if (expected && crossing &&
            (referenced(from) || !source->second.refs.empty() || source->second.type == CellType::Undefined)) {
            EXPECT_EQ(err.code, 81);
            expected = false;
        }
        ASSERT_EQ(moved, expected ? 1 : (source != model.end() && from == to ? 1 : 0));
        if (!expected) return;
        ModelCell content = source->second;
        model.erase(source);
        model[to] = content;
        for (auto& [place, cell] : model) std::replace(cell.refs.begin(), cell.refs.end(), from, to);
    }

    void compare() {
        for (int level = 1; level <= 2; ++level) {
            ASSERT_EQ(store.checkRows(level), "");
            ASSERT_EQ(store.checkDependents(level), "");
        }
        std::map<Place, ModelCell> seen;
        for (int level = 1; level <= 2; ++level) {
            for (LevelCursor c(*store.levelPtr(level)); !c.done(); c.advance()) {
                CellRec* cell = c.get();
                ModelCell& entry = seen[{level, cell->row, cell->col}];
                entry.type = cell->type();
                for (uint32_t i = 0; cell->formula && i < cell->formula->refCount; ++i) {
                    const CellRec* ref = cell->formula->refs[i];
                    entry.refs.push_back({ref->level, ref->row, ref->col});
                }
            }
        }
        ASSERT_TRUE(seen == model) << "store and model differ";
    }
};

TEST_F(RandomEdits, StoreAgreesWithAPlainModel) {
    for (int step = 0; step < test::rounds(3000); ++step) {
        const int level = pick(1, 4) == 1 ? 2 : 1;
        const Place place = randomPlace(level);
        // Weights: formulas 3, labels 2, single delete 1, block delete 1, move 2, move across levels 1.
        const int op = pick(0, 9);
        if (op <= 2)
            makeFormula(place);
        else if (op <= 4)
            makeLabel(place);
        else if (op == 5)
            deleteNow(place);
        else if (op == 6)
            deleteBlock(level);
        else
            move(place, randomPlace(op <= 8 ? level : 3 - level));
        if (HasFatalFailure()) FAIL() << "step " << step;
        compare();
        if (HasFatalFailure()) FAIL() << "step " << step;
    }
}

}  // namespace
}  // namespace qx::testing
