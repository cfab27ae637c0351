// Copying strings into Label cells: strcpy, strcat and their counted forms.
#include <string>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "formula/entry.h"
#include "formula/evaluator.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

constexpr int kMaxCopied = 255;

struct CopyRequest {
    bool append = false;
    bool counted = false;
};

int copiedCount(double n) {
    return n >= 0.0 && n <= kMaxCopied ? static_cast<int>(n) : kMaxCopied;
}

// The old text (when appending) followed by the source up to its first control character.
std::string builtText(const CellRec* target, const std::string& source, int count, bool append) {
    std::string out = append && target != nullptr && target->isLabel() ? std::string(target->textView()) : "";
    for (int i = 0; i < count && i < static_cast<int>(source.size()); ++i) {
        const auto c = static_cast<unsigned char>(source[static_cast<std::size_t>(i)]);
        if (c < 32 || c == 127 || out.size() >= static_cast<std::size_t>(kMaxCopied)) break;
        out += static_cast<char>(c);
    }
    if (out.size() > static_cast<std::size_t>(kMaxCopied)) out.resize(kMaxCopied);
    return out;
}

// An existing Label keeps its record (and the formulas that refer to it); only its text changes.
bool replaceInPlace(CellStore& store, CellRec& label, const std::string& text, ErrStat& err) {
    LevelRec* level = store.levelOf(label);
    if (level == nullptr) return false;
    char* fresh = heapText(*level, text, err);
    if (err.failed()) return false;
    heapFreeText(*level, label.text, err);
    label.text = fresh;
    return !err.failed();
}

bool storeLabel(FunctionCall& call, const StringArgument& target, const std::string& text, ErrStat& err) {
    CellStore& store = call.services().store;
    if (target.cell != nullptr && target.cell->isLabel()) {
        if (!replaceInPlace(store, *target.cell, text, err)) return false;
    } else {
        EntryOptions options;
        options.notifyMode = NotifyMode::None;  // the target's dependents are not recalculated
        options.checkCircular = false;
        call.services().entry.storeEntry("'" + text, target.row, target.col, target.level, options, err);
        if (err.failed()) return false;
    }
    if (LevelRec* level = store.levelPtr(target.level)) level->changed = true;
    store.scratch().repaintPending = true;
    return true;
}

// A script's own character array: the characters go in up to its size; a passed-in one without room
// cannot take them.
void copyIntoScriptString(const StringArgument& target, const std::string& source, int count, bool append) {
    std::string text = append ? target.text : std::string();
    text.append(source.substr(0, static_cast<std::size_t>(count)));
    target.store(text);
}

bool usableTarget(FunctionCall& call, const StringArgument& target, ErrStat& err) {
    if (target.kind == StringKind::ScriptVariable && !target.writable()) {
        return callFailure(call, err, kStringCopy, 7, Msg::IllegalString), false;
    }
    if (target.kind == StringKind::ScriptVariable) return true;
    if (target.kind != StringKind::Cell) return callFailure(call, err, kStringCopy, 1, Msg::IllegalString), false;
    const CellRec* cell = target.cell;
    if (cell != nullptr && cell == call.cell())
        return callFailure(call, err, kStringCopy, 2, Msg::CircularReference), false;
    if (cell != nullptr && (cell->isFormula() || cell->isVariableLabel())) {
        return callFailure(call, err, kStringCopy, 3, Msg::IllegalString), false;
    }
    if (cell != nullptr && cell->has(cellflag::kProtectCell)) {
        return callFailure(call, err, kStringCopy, 4, Msg::ProtectedCell), false;
    }
    return true;
}

double copyString(FunctionCall& call, CopyRequest request, ErrStat& err) {
    err.enter();
    const StringArgument target = stringArgument(call, true, err);
    if (err.failed()) return 0.0;
    if (target.kind == StringKind::Constant) return callFailure(call, err, kStringCopy, 5, Msg::IllegalString);
    const StringArgument source = stringArgument(call, true, err);
    if (err.failed()) return 0.0;
    int count = kMaxCopied;
    if (request.counted) {
        count = copiedCount(numericArgument(call, err));
        if (err.failed()) return 0.0;
    }
    if (!requireEnd(call, Msg::WrongParameters, err) || !usableTarget(call, target, err)) return 0.0;
    if (source.text.empty() || count == 0) return 0.0;
    if (target.kind == StringKind::ScriptVariable) {
        copyIntoScriptString(target, source.text, count, request.append);
        return 0.0;
    }
    // A running script copying into a level that refuses its changes stores nothing.
    if (!call.record().evaluator->scripts().mayStore(target.level)) {
        call.services().store.scratch().toolkitError = codeOf(Msg::ScriptProtectedOperation);
        return 0.0;
    }
    const std::string text = builtText(target.cell, source.text, count, request.append);
    if (!storeLabel(call, target, text, err)) return callFailure(call, err, kStringCopy, 6, Msg::CannotCreateCell);
    return 0.0;
}

}  // namespace

double fnStrcat(FunctionCall& call, ErrStat& err) {
    return copyString(call, {true, false}, err);
}
double fnStrcpy(FunctionCall& call, ErrStat& err) {
    return copyString(call, {false, false}, err);
}
double fnStrncat(FunctionCall& call, ErrStat& err) {
    return copyString(call, {true, true}, err);
}
double fnStrncpy(FunctionCall& call, ErrStat& err) {
    return copyString(call, {false, true}, err);
}

namespace {

constexpr FunctionEntry kStringCopyTable[] = {
    {"strcat", 226, "strcat ( target, string )", fnStrcat},
    {"strcpy", 230, "strcpy ( target, string )", fnStrcpy},
    {"strncat", 227, "strncat ( target, string, n )", fnStrncat},
    {"strncpy", 231, "strncpy ( target, string, n )", fnStrncpy},
};

}  // namespace

std::span<const FunctionEntry> stringCopyFamily() {
    return kStringCopyTable;
}

}  // namespace qx
