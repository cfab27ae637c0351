#pragma once
// Calling an attached script from a formula or another script: find it (loading its body), begin the
// call (call weights, run count, a frame with the arguments bound by kind and the locals allocated),
// run the body, and end the call.
#include "core/err_stat.h"
#include "formula/evaluator.h"
#include "formula/script_frame.h"
#include "functions/function_registry.h"
#include "script/runtime/script_libraries.h"
#include "script/runtime/statement_runner.h"

namespace qx {

class ScriptCalls final : public ScriptCaller {
  public:
    // `services` reads the call's arguments; the evaluator's script context holds the current frame.
    ScriptCalls(ScriptLibraries& libraries, FunctionServices& services, Evaluator& evaluator, Platform* platform);

    double callScript(CallRecord& call, ErrStat& err) override;

    // Counts the call (weights, run count) and fills `frame` from the call's arguments and the script's
    // local list. On failure the run count is already counted: endCall undoes it.
    bool beginCall(int entry, CallRecord& call, ScriptFrame& frame, ErrStat& err);
    // Ends one activation of `entry`; after a failed run every run count is cleared unless some other
    // activation is still live.
    void endCall(int entry, bool failed);
    // "Clear run counts": skipped (false) while a script runs, since their bodies must not move.
    bool clearRunCounts();

  private:
    bool bindArguments(int entry, CallRecord& call, ScriptFrame& frame, ErrStat& err);

    ScriptLibraries& m_libraries;
    FunctionServices& m_services;
    Evaluator& m_evaluator;
    StatementRunner m_runner;
};

}  // namespace qx
