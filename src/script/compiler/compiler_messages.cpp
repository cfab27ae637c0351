#include "script/compiler/compiler_messages.h"

#include <array>

namespace qx {
namespace {

#define QX_COMPILER_TEXT(name, code, text) std::string_view{text},
constexpr std::array kTexts = {QX_COMPILER_MESSAGES(QX_COMPILER_TEXT)};
#undef QX_COMPILER_TEXT

}  // namespace

std::string_view compilerMessage(int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kTexts.size()) return kTexts[0];
    return kTexts[static_cast<std::size_t>(index)];
}

}  // namespace qx
