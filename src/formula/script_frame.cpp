#include "formula/script_frame.h"

#include <algorithm>

#include "core/cell_store.h"
#include "core/qx_assert.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;

FrameArray liveArray(const CellStore& store, const FrameArray& held) {
    if (held.area.level == 0) return held;
    ErrStat err;
    const CellRec* cell = store.findCell(held.area.row, held.area.col, held.area.level, err);
    FrameArray live{nullptr, 0, held.area};
    if (err.failed() || cell == nullptr || !cell->formulaLike() || cell->formula->array == nullptr) return live;
    live.data = cell->formula->array + 1;
    live.size = static_cast<uint16_t>(std::min<uint32_t>(held.size, cell->formula->arrayCount()));
    return live;
}

bool ScriptContext::enter(ScriptFrame& frame, ErrStat& err) {
    err.enter();
    if (m_depth >= kMaxScriptCallDepth) return err.fail(kScriptEnter, 1, Msg::ScriptNestingTooDeep);
    frame.previous = m_current;
    m_current = &frame;
    ++m_depth;
    return true;
}

void ScriptContext::leave(ScriptFrame& frame) {
    QX_ASSERT(m_current == &frame);
    if (m_current != &frame) return;  // never unwind someone else's frame
    m_current = frame.previous;
    --m_depth;
}

}  // namespace qx
