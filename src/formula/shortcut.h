#pragma once
// ShortCut Commands typed into a cell: "." recomputes it, "=" forms fill its Array Area, "\" searches.
#include <string>
#include <string_view>

#include "core/cell_records.h"

namespace qx {

class FormulaEngine;
class Platform;

struct ShortCutResult {
    bool done = false;
    bool moved = false;  // a search found a cell: make it the current one
    int row = 0;
    int col = 0;
};

class ShortCuts {
  public:
    explicit ShortCuts(FormulaEngine& engine) : m_engine(engine) {}

    // `row`, `col` and `level` name the current place; `current` is the cell there, if any.
    ShortCutResult run(Platform& platform, CellRec* current, int level, int row, int col, std::string_view text);

  private:
    ShortCutResult recompute(CellRec* current);
    ShortCutResult fillArray(Platform& platform, CellRec* current, const std::string& command);
    ShortCutResult search(int level, int row, int col, const std::string& text);

    FormulaEngine& m_engine;
    std::string m_lastSearch;
};

}  // namespace qx
