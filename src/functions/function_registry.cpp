#include "functions/function_registry.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/cell_store.h"
#include "core/err_report.h"
#include "formula/compiled_text.h"
#include "formula/formula_codes.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"

namespace qx {

using namespace origins::functions;

namespace {

// A failure a family raised itself: one of its own checks, its argument readers' or the toolkit's. A
// failing argument expression or a call inside one keeps its own origin.
bool raisedByFamily(const ErrStat& err) {
    if (err.savedLetter != kLetterA) return false;
    if (err.savedModule == kModuleEntry) return err.savedRoutine >= kFirstToolkitRoutine;
    return err.savedModule >= kModuleArguments && err.savedModule <= kLastFamilyModule;
}

// A piece of the call's text as the user wrote it: a cell's own formula holds its cell addresses compiled.
std::string readable(FunctionCall& fc, int from, int to) {
    const CallRecord& call = fc.record();
    std::string piece(call.text + from, static_cast<std::size_t>(std::max(to - from, 0)));
    if (call.cell == nullptr || call.text != call.cell->text || piece.find('~') == std::string::npos) return piece;
    ErrStat ignored;
    std::string expanded =
        expandCompiled(*call.cell, piece.c_str(), TextOffsets{}, fc.services().store.highestLevel(), ignored);
    return ignored.failed() ? piece : expanded;
}

// The report quotes the call up to where its arguments were read. The position stays the name's, where
// the edit bar puts its cursor; the cell's error mark follows the outcome of its evaluation.
void recordFamilyFailure(FunctionCall& fc, ErrStat& err) {
    const CallRecord& call = fc.record();
    const int end = call.closeParen + 1;
    const int current = std::clamp(fc.cursor(), call.namePos, end);
    const std::string scanned = readable(fc, call.namePos, current);
    const std::string text = scanned + readable(fc, current, end);
    const FormulaScan scan{text, 0, scanned.size(), text.size(), nullptr};
    recordFormulaError(scan, err.savedModule, err.savedRoutine, err.savedPoint, err.savedCode, call.namePos, err,
                       fc.services().store.scratch());
}

}  // namespace

int compareNames(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        // Bytes from 128 sort before plain ASCII, on every platform whatever the signedness of char.
        const int x = static_cast<int8_t>(a[i]);
        const int y = static_cast<int8_t>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int lookupFunction(std::span<const FunctionEntry> table, std::string_view name) {
    int low = 0;
    int high = static_cast<int>(table.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int c = compareNames(name, table[static_cast<std::size_t>(middle)].name);
        if (c == 0) return middle + 1;
        if (c < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return 0;
}

std::span<const FunctionEntry> builtinFamily(FamilyId family) {
    switch (family) {
        case FamilyId::String:
            return stringFamily();
        case FamilyId::StringCopy:
            return stringCopyFamily();
        case FamilyId::Math:
            return mathFamily();
        case FamilyId::Trig:
            return trigFamily();
        case FamilyId::CellInfo:
            return cellInfoFamily();
        case FamilyId::Finance:
            return financeFamily();
        case FamilyId::Date:
            return dateFamily();
        case FamilyId::Graphics:
            return graphicsFamily();
        case FamilyId::Tables:
            return tableFamily();
        default:
            return {};
    }
}

FunctionRegistry::FunctionRegistry(FunctionServices services) : m_services(services) {
    for (int i = 0; i < kFamilyCount; ++i) {
        m_families[static_cast<std::size_t>(i)] = builtinFamily(static_cast<FamilyId>(i));
    }
}

void FunctionRegistry::installFamily(FamilyId family, std::span<const FunctionEntry> table) {
    m_families[static_cast<std::size_t>(family)] = table;
}

std::span<const FunctionEntry> FunctionRegistry::family(FamilyId family) const {
    return m_families[static_cast<std::size_t>(family)];
}

double FunctionRegistry::call(CallRecord& call, ErrStat& err) {
    err.enter();
    const std::string_view name(call.text + call.namePos, static_cast<std::size_t>(call.nameEnd - call.namePos));
    for (const auto& table : m_families) {
        const int number = lookupFunction(table, name);
        if (number == 0) continue;
        const FunctionImpl impl = table[static_cast<std::size_t>(number - 1)].impl;
        if (impl == nullptr) break;  // a name registered before its family is written
        FunctionCall fc(call, m_services, number);
        err.savedPoint = 0;  // what fails from here on is this call's own failure or one inside it
        const double value = impl(fc, err);
        if (err.failed()) {
            if (raisedByFamily(err)) recordFamilyFailure(fc, err);
            err.detail = number;  // which function failed
        }
        err.trace(kDispatch);
        return value;
    }
    if (m_scripts != nullptr) {
        const double value = m_scripts->callScript(call, err);
        err.trace(kDispatch);
        return value;
    }
    err.position = call.namePos;
    err.fail(kDispatch, 1, Msg::UndefinedFunction);
    return 0.0;
}

}  // namespace qx
