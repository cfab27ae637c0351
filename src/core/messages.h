#pragma once
// Every message table of the error reports, and the fixed texts of the reporting path.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/message_codes.h"

namespace qx {

enum class MessageTable {
    General,     // letters 'A', 'C', 'F'
    W,           // memory, printing, table objects
    Math,        // library 5: mathematics and trigonometry
    Geometry,    // library 6: coordinate geometry and road layout
    Matrix,      // library 7: matrix algebra
    Statistics,  // letter 'S'
};

std::span<const std::string_view> messageTable(MessageTable table);

// The entry for `code`, or entry 0 when the code is outside the table.
std::string_view tableMessage(MessageTable table, int32_t code);

// Length of the longest general message; a buffer needs one byte more.
std::size_t longestGeneralMessage();

inline constexpr int32_t kGeneralMessageCount = 105;
inline constexpr int32_t kWMessageCount = 11;

inline constexpr std::string_view kUnknownError = "unknown error";
inline constexpr std::string_view kUnsupportedLibraryError = "unsupported library error";
inline constexpr std::string_view kConfirmCaption = "Are you sure you want to continue?";
inline constexpr std::string_view kScriptWarningCaption = "WARNING: Script error detected";

}  // namespace qx
