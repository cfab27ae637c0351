#pragma once
// Committing what the edit bar holds into a cell: the protection check for editing or adding a
// cell, ShortCut Commands, the entry itself, and another try for cells that failed before.
#include <string_view>

#include "core/err_stat.h"

namespace qx {

class Session;

struct CommitOutcome {
    bool stored = false;  // the entry ran (it may still have failed: see the ErrStat)
    bool moved = false;   // a ShortCut Command moved the pointer to row, col
    int row = 0;
    int col = 0;
};

CommitOutcome commitEntry(Session& session, int level, int row, int col, std::string_view text, ErrStat& err);

}  // namespace qx
