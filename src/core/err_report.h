#pragma once
// Turning an ErrStat into what the user sees: a header naming the first error's origin and
// a text from the reporting family's message table; and recording formula errors.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/scratch_record.h"
#include "platform/platform.h"

namespace qx {

// The smallest buffer that every general message fits, terminator included.
std::size_t generalMessageBufferSize();

// The general-table message for 0..102, "unknown error" otherwise; empty when a caller's
// buffer of `bufferSize` bytes is smaller than generalMessageBufferSize().
std::string generalMessage(int32_t code, std::size_t bufferSize);
inline std::string generalMessage(int32_t code) {
    return generalMessage(code, generalMessageBufferSize());
}

struct ComposedError {
    std::string header;
    std::string text;
    int32_t savedPosition = 0;  // the first error's position for letters with a table, else 0
};

// Builds header and text from the saved origin, then clears the whole record. A formula
// error also empties the capture buffers and the pending toolkit error code.
ComposedError compose(bool errorFlag, ErrStat& err, ScratchRecord& scratch);

// Header, one blank, text; empty when either part is empty. Clears the record like compose.
std::string oneLine(bool errorFlag, ErrStat& err, ScratchRecord& scratch);

// Where a formula error was found: the formula text, the start of the expression being
// scanned, the current and end indexes, and the cell being evaluated (may be null).
struct FormulaScan {
    std::string_view text;
    std::size_t start = 0;
    std::size_t current = 0;
    std::size_t end = 0;
    CellRec* cell = nullptr;
};

// Records a failure of an 'F' module. The first formula error since the capture flag was
// cleared keeps its text while the record carries it; every formula error replaces the saved origin.
void recordFormulaError(const FormulaScan& scan, int32_t module, int32_t routine, int32_t point, int32_t code,
                        int32_t errnoValue, ErrStat& err, ScratchRecord& scratch);

// The composed report box: caption is the header, body the text, exclamation icon, OK.
void report(Platform& platform, bool errorFlag, ErrStat& err, ScratchRecord& scratch);
// "Are you sure you want to continue?" with Yes/No; true only for Yes.
bool confirm(Platform& platform, const std::string& text);
void scriptWarning(Platform& platform, const std::string& text);
// The plain box that every other report of the system uses.
BoxAnswer messageBox(Platform& platform, const std::string& text, const std::string& caption, BoxIcon icon,
                     BoxButtons buttons);

}  // namespace qx
