#pragma once
// What a running script's expressions read and write: the frame of one activation (its arguments, its
// locals and its return value) and the chain of frames of the scripts running now.
#include <atomic>
#include <cstdint>
#include <vector>

#include "core/err_stat.h"

namespace qx {

// Most parameters, and most local-list numbers, one script declares.
constexpr int kMaxScriptParameters = 32;
// Deepest nesting of script activations: far above honest use, low enough that a script calling itself
// without end stops with a message instead of exhausting the stack.
constexpr int kMaxScriptCallDepth = 256;

// A passed-in cell is held by its place, not by its record: the script may delete or move the record
// while it runs, so every use looks the place up again.
struct FrameCell {
    int row = 0;
    int col = 0;
    int level = 0;
};

// A passed-in value array: a view of the caller's doubles (an Array Area's elements after the count, or
// a value array of the calling script). Element i (1-based) is data[i - 1].
struct FrameArray {
    double* data = nullptr;
    uint16_t size = 0;
    // An Array Area is held by its cell's place instead (level 0: a script's own array): computing or
    // resizing the cell replaces the area, so every use takes it from liveArray.
    FrameCell area{};
};

class CellStore;

// The array as it is now: a script's own array as held; an Array Area looked up at its place, no longer
// than when it was passed, and empty when the cell or its area is gone.
FrameArray liveArray(const CellStore& store, const FrameArray& held);

// A passed-in string: a view of a string variable of the calling script. Character i (1-based) is
// data[i - 1]; data[size] is the terminator, which a script never writes.
struct FrameString {
    char* data = nullptr;
    uint16_t size = 0;
};

// A local value array of dimension n: n doubles, zero at the start of the call.
struct LocalArray {
    std::vector<double> values;
    FrameArray view() { return {values.data(), static_cast<uint16_t>(values.size())}; }
};

// A local string of dimension n: n characters and a terminator, empty at the start of the call.
struct LocalString {
    std::vector<char> chars;
    explicit LocalString(uint16_t size = 0) : chars(size + 1u, '\0') {}
    FrameString view() { return {chars.data(), static_cast<uint16_t>(chars.size() - 1)}; }
};

// One activation of a script. The four passed-in kinds are numbered from 1 in the body ('#1', '~#1',
// '#*1', '$#1'), as are the locals ('#$1', '$$1').
struct ScriptFrame {
    std::vector<double> values;
    std::vector<FrameCell> cells;
    std::vector<FrameArray> arrays;
    std::vector<FrameString> strings;
    std::vector<LocalArray> localArrays;
    std::vector<LocalString> localStrings;
    ScriptFrame* previous = nullptr;  // the frame that was current when this one became current
    int entry = -1;                   // the script's Script Index entry
    double returnValue = 0.0;         // written by "return"; the value of the call
};

// Whether a running script may store into a cell of a level: the level's password protection, which
// lives above the formula language.
class ScriptStoreCheck {
  public:
    virtual ~ScriptStoreCheck() = default;
    virtual bool scriptMayStore(int level) = 0;
};

// Which frame is current, how deeply scripts are nested, and the request to stop the running script.
// One per session; the evaluator holds it, so every part that runs expressions reaches the same one.
class ScriptContext {
  public:
    ScriptFrame* current() const { return m_current; }
    bool running() const { return m_current != nullptr; }
    int depth() const { return m_depth; }

    // Makes `frame` current, its previous frame being the one current so far. Fails ("script or function
    // calls are nested too deeply") when kMaxScriptCallDepth activations are live already.
    bool enter(ScriptFrame& frame, ErrStat& err);
    // Makes the frame that was current before `frame` current again.
    void leave(ScriptFrame& frame);

    // Safe from a signal handler and from another thread: the runner polls it at every statement and
    // loop turn and stops the running script.
    void requestCancel() noexcept { m_cancel.store(true, std::memory_order_relaxed); }
    bool cancelRequested() const noexcept { return m_cancel.load(std::memory_order_relaxed); }
    // Outside a front-end action a stop request outlives the script it stopped only until the next
    // outermost call begins.
    void clearCancel() noexcept { m_cancel.store(false, std::memory_order_relaxed); }

    // One front-end action (a command line, a desktop operation) may call scripts many times, say from
    // every cell of a recalculation: a stop request ends them all, and the next action starts afresh.
    void beginAction() noexcept {
        if (m_actions++ == 0) clearCancel();
    }
    void endAction() noexcept {
        if (m_actions > 0) --m_actions;
    }
    bool inAction() const { return m_actions > 0; }

    // A store into a cell refused by the level's protection stores nothing; the toolkit error number
    // says why. Without a check every store is allowed.
    void setStoreCheck(ScriptStoreCheck* check) { m_storeCheck = check; }
    bool mayStore(int level) const {
        return !running() || m_storeCheck == nullptr || m_storeCheck->scriptMayStore(level);
    }

  private:
    static_assert(std::atomic<bool>::is_always_lock_free, "the stop request must be settable from a signal handler");
    ScriptFrame* m_current = nullptr;
    ScriptStoreCheck* m_storeCheck = nullptr;
    int m_depth = 0;
    int m_actions = 0;
    std::atomic<bool> m_cancel{false};
};

}  // namespace qx
