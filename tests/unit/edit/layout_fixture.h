#pragma once
// A level with the formula language, and the layout commands run on it as the window would.
#include <algorithm>
#include <string>
#include <vector>

#include "edit/layout_change.h"
#include "platform/headless_platform.h"
#include "recalc/recalc.h"
#include "unit/recalc/recalc_fixture.h"

namespace qx::test {

struct LayoutFixture : RecalcFixture {
    // Runs the command at the active cell over the selection; returns the failure code (0 when none).
    int run(int operation, int scope, int direction = 0) {
        LayoutServices services{store, platform, [this](int, int) { return allow; },
                                [this](int level) { recalc.recomputeRangeOperations(level); }};
        ErrStat err;
        store.scratch().repaintPending = false;
        changed = changeLayout(services, window, selection, LayoutRequest{operation, scope, direction, true}, err);
        return err.failed() ? err.savedCode : 0;
    }
    // `count` rows or columns from `at`, the active cell on the first of them.
    int lines(int operation, int scope, int at, int count) {
        const bool rows = scope == layout::kScopeRows;
        window = LayoutWindow{rows ? at : 1, rows ? 1 : at, 1};
        const int last = std::min(at + count - 1, rows ? kMaxRow : kMaxCol);
        selection = LayoutSelection{1, rows ? CellArea{at, 1, last, 1} : CellArea{1, at, 1, last}};
        return run(operation, scope);
    }
    int shiftArea(CellArea area, int direction) {
        window = LayoutWindow{area.firstRow, area.firstCol, 1};
        selection = LayoutSelection{1, area};
        return run(layout::kShift, layout::kScopeSelection, direction);
    }

    void fillAll(const std::vector<Entry>& cells) {
        for (const Entry& e : cells) enter(e.row, e.col, e.text);
    }

    // Row lists and dependents agree with each other after every step.
    void expectSound() {
        EXPECT_EQ(store.checkRows(1), "");
        EXPECT_EQ(store.checkDependents(1), "");
    }

    // Every place of the level as "[r,c]=text", in order.
    std::vector<std::string> places() {
        std::vector<std::string> out;
        for (LevelCursor it(*store.levelPtr(1)); !it.done(); it.advance()) {
            const CellRec* c = it.get();
            const std::string at = "[" + std::to_string(c->row) + "," + std::to_string(c->col) + "]=";
            out.push_back(at + (c->isPlaceholder() ? "?"
                                : c->formula       ? readable(c->row, c->col)
                                                   : text(c->row, c->col)));
        }
        return out;
    }

    HeadlessPlatform platform;
    bool allow = true;
    LayoutWindow window;
    LayoutSelection selection;
    bool changed = false;
};

}  // namespace qx::test
