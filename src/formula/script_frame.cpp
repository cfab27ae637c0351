#include "formula/script_frame.h"

#include "core/qx_assert.h"
#include "formula/origins.h"

namespace qx {

using namespace origins::formula;

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
