#pragma once
// How the capture operations see the cells of a selection.
#include <optional>

#include "core/cell_records.h"
#include "core/object_kind.h"

namespace qx {

class CellStore;

enum class CellClass { Formula, Label, Missing };

const CellRec* cellAt(const CellStore& store, int row, int col, int level);
CellClass classOf(const CellRec* cell);
// A Formula not in error gives its value; every other cell gives 0.
double dataValue(const CellRec* cell);
std::optional<ObjectKind> objectKindOf(const CellRec* cell);  // none for a cell that is not a Formula

}  // namespace qx

#include <new>

#include "core/err_stat.h"

namespace qx {

// Runs `f`; running out of memory inside it becomes the message `code` at `origin`.
template <MessageCode Code, class F>
auto memoryGuarded(ErrStat& err, Origin origin, Code code, F f) -> decltype(f()) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        err.fail(origin, 99, code);
        return decltype(f()){};
    }
}

}  // namespace qx
