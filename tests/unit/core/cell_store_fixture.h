#pragma once
// A fresh store per test, with helpers that build cells the way the entry operation would.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

#include "core/cell_store.h"

namespace qx::testing {

class StoreTest : public ::testing::Test {
  protected:
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "/home/user/docs", scratch};
    ErrStat err;

    CellRec* label(int row, int col, std::string_view text = "x", int level = 1) {
        CellRec* cell = store.makeCell(row, col, level, CellType::Label, err);
        if (cell != nullptr) store.hooks().enterText(store, *cell, text, err);
        return cell;
    }

    // A formula holding counted references, as a compiler leaves it.
    CellRec* formula(int row, int col, std::initializer_list<CellRec*> refs = {}, int level = 1) {
        CellRec* cell = store.makeCell(row, col, level, CellType::Formula, err);
        if (cell == nullptr) return nullptr;
        store.hooks().enterText(store, *cell, "+1", err);
        if (refs.size() > 0) store.linkReferences(cell, std::vector<CellRec*>(refs), err);
        return cell;
    }

    LevelRec& level(int n = 1) { return *store.levelPtr(n); }

    CellRec* at(int row, int col, int level = 1) {
        ErrStat local;
        return store.findCell(row, col, level, local);
    }

    std::vector<int> columnsOf(int row, int level = 1) {
        std::vector<int> cols;
        for (CellRec* cell : store.rowCells(row, level)) cols.push_back(cell->col);
        return cols;
    }

    void expectSound(int level = 1) {
        EXPECT_EQ(store.checkRows(level), "");
        EXPECT_EQ(store.checkDependents(level), "");
    }
};

}  // namespace qx::testing
