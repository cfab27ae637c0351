#include "script/runtime/script_calls.h"

#include <new>
#include <string_view>

#include "core/scope_exit.h"
#include "formula/lexer.h"
#include "functions/argument_readers.h"
#include "functions/origins.h"
#include "script/runtime/library_origins.h"

namespace qx {

using namespace origins::script_library;
namespace {

// A variable of the calling script written as the whole argument: `prefix` then its number, then ','
// or ')'. Leaves `pos` as the argument readers do: on the ',' or after the ')'.
bool frameVariable(const CallRecord& call, int& pos, std::string_view prefix, int& number) {
    const char* text = call.text;
    int at = skipBlanks(text, pos + 1);
    if (std::string_view(text + at).substr(0, prefix.size()) != prefix) return false;
    at += static_cast<int>(prefix.size());
    number = 0;
    const int digits = at;
    while (text[at] >= '0' && text[at] <= '9' && number < 100000) number = number * 10 + (text[at++] - '0');
    if (at == digits) return false;
    at = skipBlanks(text, at);
    if (text[at] != ',' && text[at] != ')') return false;
    pos = text[at] == ')' ? at + 1 : at;
    return true;
}

template <typename T>
T* slot(std::vector<T>& items, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > items.size()) return nullptr;
    return &items[static_cast<std::size_t>(number - 1)];
}

bool wrongParameters(const CallRecord& call, int32_t point, ErrStat& err) {
    err.position = call.namePos;
    return err.fail(kBindOrigin, point, Msg::WrongParameters);
}

}  // namespace

ScriptCalls::ScriptCalls(ScriptLibraries& libraries, FunctionServices& services, Evaluator& evaluator,
                         Platform* platform)
    : m_libraries(libraries), m_services(services), m_evaluator(evaluator), m_runner(evaluator, platform) {}

double ScriptCalls::callScript(CallRecord& call, ErrStat& err) {
    err.enter();
    const std::string_view name(call.text + call.namePos, static_cast<std::size_t>(call.nameEnd - call.namePos));
    const int entry = m_libraries.find(name, err);
    if (entry < 0) {
        err.position = call.namePos;
        // A name no family and no script knows fails where it always has, in the dispatcher.
        if (!err.failed()) err.fail(origins::functions::kDispatch, 1, Msg::UndefinedFunction);
        err.trace(kCallScriptOrigin);
        return 0.0;
    }
    bool failed = true;
    const ScopeExit end([&] { endCall(entry, failed); });
    try {
        ScriptFrame frame;
        if (!beginCall(entry, call, frame, err)) return err.trace(kCallScriptOrigin), 0.0;
        // The body stays put while its run count is above 0.
        const ScriptIndexEntry& script = m_libraries.script(entry);
        const double value = m_runner.run(call.cell, m_libraries.body(entry), script.bodyLength, frame, err);
        failed = err.failed();
        if (failed) return err.trace(kCallScriptOrigin), 0.0;
        return value;
    } catch (const std::bad_alloc&) {
        err.fail(kCallScriptOrigin, 2, Msg::OutOfMemory);
        return 0.0;
    }
}

bool ScriptCalls::beginCall(int entry, CallRecord& call, ScriptFrame& frame, ErrStat& err) {
    err.enter();
    auto scripts = m_libraries.scripts();
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        ScriptIndexEntry& s = scripts[i];
        if (static_cast<int>(i) == entry) {
            s.callWeight = static_cast<int16_t>(
                s.callWeight < kFreshCallWeight ? kFreshCallWeight : std::min<int>(s.callWeight + 1, kMaxCallWeight));
        } else if (s.unloaded && s.callWeight > 0) {
            --s.callWeight;
        }
    }
    ++m_libraries.script(entry).runCount;
    frame.entry = entry;
    if (!bindArguments(entry, call, frame, err)) return err.trace(kBeginCallOrigin), false;
    const ScriptIndexEntry& s = m_libraries.script(entry);
    frame.localArrays.reserve(s.valueLocals.size());
    for (int16_t dim : s.valueLocals)
        frame.localArrays.push_back(LocalArray{std::vector<double>(static_cast<std::size_t>(dim), 0.0)});
    frame.localStrings.reserve(s.stringLocals.size());
    for (int16_t dim : s.stringLocals) frame.localStrings.emplace_back(static_cast<uint16_t>(dim));
    return true;
}

bool ScriptCalls::bindArguments(int entry, CallRecord& call, ScriptFrame& frame, ErrStat& err) {
    const std::vector<ParamKind>& kinds = m_libraries.script(entry).kinds;
    ScriptFrame* caller = m_evaluator.scripts().current();
    FunctionCall args(call, m_services, 0);
    int pos = call.openParen;
    if (kinds.empty()) {
        if (skipBlanks(call.text, pos + 1) != call.closeParen) return wrongParameters(call, 1, err);
        return true;
    }
    if (skipBlanks(call.text, pos + 1) == call.closeParen) return wrongParameters(call, 2, err);
    for (ParamKind kind : kinds) {
        if (pos > call.closeParen || (call.text[pos] != '(' && call.text[pos] != ',')) {
            return wrongParameters(call, 3, err);
        }
        int number = 0;
        switch (kind) {
            case ParamKind::Value: {
                args.setCursor(pos);
                const double value = numericArgument(args, err);
                if (err.failed()) return false;
                frame.values.push_back(value);
                pos = args.cursor();
                break;
            }
            case ParamKind::ValueArray: {
                if (caller != nullptr && frameVariable(call, pos, "#*", number)) {
                    const FrameArray* array = slot(caller->arrays, number);
                    if (array == nullptr) return wrongParameters(call, 4, err);
                    frame.arrays.push_back(*array);
                } else if (caller != nullptr && frameVariable(call, pos, "#$", number)) {
                    LocalArray* array = slot(caller->localArrays, number);
                    if (array == nullptr) return wrongParameters(call, 5, err);
                    frame.arrays.push_back(array->view());
                } else {
                    args.setCursor(pos);
                    const CellArgument cell = cellArgument(args, err);
                    if (err.failed()) return false;
                    if (cell.cell == nullptr || !cell.cell->formulaLike() || cell.cell->formula->arrayCount() == 0) {
                        return wrongParameters(call, 6, err);
                    }
                    // By place: a later argument may run a script that resizes or deletes the cell.
                    const auto count = static_cast<uint16_t>(cell.cell->formula->arrayCount());
                    frame.arrays.push_back(FrameArray{nullptr, count, FrameCell{cell.row, cell.col, cell.level}});
                    pos = args.cursor();
                }
                break;
            }
            case ParamKind::String: {
                const int at = skipBlanks(call.text, pos + 1);
                if (call.text[at] == '"') {
                    err.position = at;
                    return err.fail(kBindOrigin, 7, Msg::StringConstantBetweenScripts);
                }
                FrameString* passed = nullptr;
                LocalString* local = nullptr;
                if (caller != nullptr && frameVariable(call, pos, "$#", number)) {
                    passed = slot(caller->strings, number);
                } else if (caller != nullptr && frameVariable(call, pos, "$$", number)) {
                    local = slot(caller->localStrings, number);
                }
                if (passed == nullptr && local == nullptr) return wrongParameters(call, 8, err);
                frame.strings.push_back(passed != nullptr ? *passed : local->view());
                break;
            }
            case ParamKind::Cell: {
                if (caller != nullptr && frameVariable(call, pos, "~#", number)) {
                    const FrameCell* cell = slot(caller->cells, number);
                    if (cell == nullptr) return wrongParameters(call, 9, err);
                    frame.cells.push_back(*cell);
                } else {
                    args.setCursor(pos);
                    const CellArgument cell = cellArgument(args, err);
                    if (err.failed()) return false;
                    frame.cells.push_back(FrameCell{cell.row, cell.col, cell.level});
                    pos = args.cursor();
                }
                break;
            }
        }
    }
    // Every argument was taken: the last one's reader has consumed the call's ')'.
    if (pos != call.closeParen + 1) return wrongParameters(call, 10, err);
    return true;
}

void ScriptCalls::endCall(int entry, bool failed) {
    ScriptIndexEntry& s = m_libraries.script(entry);
    if (s.runCount > 0) --s.runCount;
    if (failed) clearRunCounts();
}

bool ScriptCalls::clearRunCounts() {
    if (m_evaluator.scripts().running()) return false;
    m_libraries.clearRunCounts();
    return true;
}

}  // namespace qx
