#include "core/messages.h"

#include <algorithm>
#include <array>

namespace qx {
namespace {

#define QX_MESSAGE_TEXT(name, code, text) text,
#define QX_MESSAGE_CODE(name, code, text) code,

// A table's texts in list order, and a check that the list numbers its entries 0, 1, 2, ...
// without a gap or a repeat, so an enumerator's value is its text's index.
#define QX_MESSAGE_TABLE(table, list)                              \
    constexpr std::string_view table[] = {list(QX_MESSAGE_TEXT)};  \
    constexpr bool table##Numbered() {                             \
        constexpr int32_t codes[] = {list(QX_MESSAGE_CODE)};       \
        for (std::size_t i = 0; i < std::size(codes); ++i)         \
            if (codes[i] != static_cast<int32_t>(i)) return false; \
        return true;                                               \
    }                                                              \
    static_assert(table##Numbered(), #list " must number its entries in order");

QX_MESSAGE_TABLE(kGeneralMessages, QX_GENERAL_MESSAGES)
QX_MESSAGE_TABLE(kWMessages, QX_W_MESSAGES)
QX_MESSAGE_TABLE(kMathMessages, QX_L05_MESSAGES)
QX_MESSAGE_TABLE(kGeometryMessages, QX_L06_MESSAGES)
QX_MESSAGE_TABLE(kMatrixMessages, QX_L07_MESSAGES)
QX_MESSAGE_TABLE(kStatisticsMessages, QX_S_MESSAGES)

#undef QX_MESSAGE_TABLE
#undef QX_MESSAGE_CODE
#undef QX_MESSAGE_TEXT

static_assert(std::size(kGeneralMessages) == kGeneralMessageCount);
static_assert(std::size(kWMessages) == kWMessageCount);

constexpr std::size_t longestOf(std::span<const std::string_view> table) {
    std::size_t longest = 0;
    for (auto text : table) longest = std::max(longest, text.size());
    return longest;
}

constexpr std::size_t kLongestGeneral = longestOf(kGeneralMessages);

}  // namespace

std::span<const std::string_view> messageTable(MessageTable table) {
    switch (table) {
        case MessageTable::General:
            return kGeneralMessages;
        case MessageTable::W:
            return kWMessages;
        case MessageTable::Math:
            return kMathMessages;
        case MessageTable::Geometry:
            return kGeometryMessages;
        case MessageTable::Matrix:
            return kMatrixMessages;
        case MessageTable::Statistics:
            break;
    }
    return kStatisticsMessages;
}

std::string_view tableMessage(MessageTable table, int32_t code) {
    auto entries = messageTable(table);
    if (code < 0 || static_cast<std::size_t>(code) >= entries.size()) return entries[0];
    return entries[static_cast<std::size_t>(code)];
}

std::size_t longestGeneralMessage() {
    return kLongestGeneral;
}

}  // namespace qx
