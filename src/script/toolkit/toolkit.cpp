#include "script/toolkit/toolkit.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/messages.h"
#include "core/qx_assert.h"
#include "script/toolkit/origins.h"
#include "script/toolkit/toolkit_call.h"

namespace qx {

using namespace origins::toolkit;

int ToolkitFiles::put(std::FILE* file) {
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i] == nullptr) {
            m_slots[i] = file;
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::FILE* ToolkitFiles::file(int slot) const {
    if (slot < 1 || slot > kToolkitFileSlots) return nullptr;
    return m_slots[static_cast<std::size_t>(slot - 1)];
}

bool ToolkitFiles::close(int slot) {
    if (slot < 1 || slot > kToolkitFileSlots) return false;
    std::FILE*& f = m_slots[static_cast<std::size_t>(slot - 1)];
    if (f == nullptr) return false;
    const int rc = std::fclose(f);
    f = nullptr;
    return rc == 0;
}

void ToolkitFiles::closeAll() {
    for (int slot = 1; slot <= kToolkitFileSlots; ++slot) close(slot);
}

int32_t Toolkit::errorNumber() const {
    if (m_scratch.toolkitError != 0 || m_state.libraryError == 0) return m_scratch.toolkitError;
    return m_state.libraryError + kLibraryErrorBase;
}

void Toolkit::clearErrors() {
    m_scratch.toolkitError = 0;
    m_state.libraryError = 0;
}

std::string errorListText(int32_t number, int targetSize) {
    if (number > kLibraryErrorBase) {
        // The run-time library's own texts run long; a short target gets the number instead.
        if (targetSize < 95) return "System Level Error: " + std::to_string(number - kLibraryErrorBase);
        return std::strerror(number - kLibraryErrorBase);
    }
    if (number >= 1) return std::string(tableMessage(MessageTable::General, number));
    return "no error";
}

Toolkit& toolkitOf(FunctionCall& call) {
    Toolkit* tk = call.services().toolkit;
    QX_ASSERT(tk != nullptr);  // the family is installed only together with its toolkit
    return *tk;
}

double malformedCall(FunctionCall& call, int32_t point, ErrStat& err) {
    return callFailure(call, err, kToolkitCall, point, Msg::WrongParameters);
}

bool toolkitNumbers(FunctionCall& call, double* values, int count, ErrStat& err) {
    const int n = argumentList(call, values, count, err);
    if (err.failed()) return err.trace(kToolkitCall), false;
    if (n != count || !call.ended()) return malformedCall(call, 1, err), false;
    return true;
}

int toInteger(double value) {
    if (std::isnan(value) || value <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(value);
}

bool inRanges(std::initializer_list<Range> ranges) {
    for (auto it = ranges.end(); it != ranges.begin();) {
        --it;
        if (it->value < it->low || it->value > it->high) return false;
    }
    return true;
}

StringArgument toolkitString(FunctionCall& call, ErrStat& err) {
    StringArgument s = stringArgument(call, true, err);
    err.trace(kToolkitCall);
    return s;
}

}  // namespace qx
