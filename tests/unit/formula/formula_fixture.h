#pragma once
// A cell store with the formula language installed, and short helpers for entering and evaluating.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "formula/formula_engine.h"

namespace qx::test {

struct ValueCase {
    const char* text;
    double value;
};

struct Outcome {
    double value = 0.0;
    int code = 0;  // 0: no failure
    int position = 0;
};

class FormulaFixture {
  public:
    FormulaFixture() : store(33, LevelDefaults{}, "", scratch), engine(store) {}

    Outcome enter(int row, int col, const std::string& text, int level = 1, EntryOptions options = {}) {
        ErrStat err;
        engine.entry().storeEntry(text, row, col, level, options, err);
        Outcome o;
        o.code = err.failed() ? err.savedCode : 0;
        o.position = err.failed() ? err.savedPosition : 0;
        CellRec* c = cell(row, col, level);
        if (c != nullptr && c->formula != nullptr) o.value = c->formula->value;
        return o;
    }

    struct Entry {
        int row;
        int col;
        std::string text;
    };
    void fill(std::initializer_list<Entry> entries, int level = 1) {
        for (const Entry& e : entries) enter(e.row, e.col, e.text, level);
    }

    // Evaluates text without a calling cell, as a whole formula. The whole error record is for failures
    // that keep a library's own first error.
    ErrStat evalErr(const std::string& text, double* value = nullptr) {
        std::string buffer = text;
        ErrStat err;
        const double v = engine.evaluator().evaluateFormula(nullptr, buffer.data(), err);
        if (value != nullptr) *value = v;
        return err;
    }

    Outcome eval(const std::string& text) {
        Outcome o;
        const ErrStat err = evalErr(text, &o.value);
        o.code = err.failed() ? err.code : 0;
        o.position = err.failed() ? err.position : 0;
        return o;
    }

    // Each text evaluates without failing to its value, within `tolerance`.
    template <std::size_t N>
    void expectValues(const ValueCase (&cases)[N], double tolerance = 0.0) {
        for (const ValueCase& c : cases) {
            const Outcome o = eval(c.text);
            EXPECT_EQ(o.code, 0) << c.text;
            EXPECT_NEAR(o.value, c.value, tolerance) << c.text;
        }
    }

    CellRec* cell(int row, int col, int level = 1) {
        ErrStat err;
        return store.findCell(row, col, level, err);
    }

    double value(int row, int col, int level = 1) {
        CellRec* c = cell(row, col, level);
        return (c && c->formula) ? c->formula->value : 0.0;
    }

    bool failed(int row, int col, int level = 1) {
        CellRec* c = cell(row, col, level);
        return c && c->formula && c->formula->errorMark();
    }

    std::string text(int row, int col, int level = 1) {
        CellRec* c = cell(row, col, level);
        return c ? std::string(c->textView()) : std::string();
    }

    std::string readable(int row, int col, int level = 1) {
        CellRec* c = cell(row, col, level);
        ErrStat err;
        return c ? engine.readableText(*c, TextOffsets{}, err) : std::string();
    }

    ScratchRecord scratch;
    CellStore store;
    FormulaEngine engine;
};

}  // namespace qx::test
