#pragma once
// State that several subsystems share within one session.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

constexpr int kFunctionKeyCount = 17;
constexpr int32_t kSwapAreaMin = 8192;
constexpr int32_t kSwapAreaMax = 131072;
constexpr int32_t kSwapAreaDefault = 32768;
constexpr std::string_view kBlankFunctionKeyLabel = "       ";  // seven blanks

constexpr int32_t clampSwapAreaSize(int64_t bytes) {
    return bytes < kSwapAreaMin ? kSwapAreaMin : (bytes > kSwapAreaMax ? kSwapAreaMax : static_cast<int32_t>(bytes));
}

inline std::array<std::string, kFunctionKeyCount> blankFunctionKeyLabels() {
    std::array<std::string, kFunctionKeyCount> labels;
    labels.fill(std::string(kBlankFunctionKeyLabel));
    return labels;
}

struct ScratchRecord {
    bool includePrevent = false;  // the dependents search also returns "Prevent Recalc" cells
    bool repaintPending = false;
    ErrStat spare;  // for code that has no ErrStat of its own
    int32_t swapAreaSize = kSwapAreaDefault;
    int32_t toolkitError = 0;  // pending toolkit error code (general table)
    // The first formula error's text: scanned part and the rest.
    bool formulaErrorCaptured = false;
    std::string captureScanned;
    std::string captureRest;
    std::array<std::string, kFunctionKeyCount> functionKeyLabels = blankFunctionKeyLabels();
};

}  // namespace qx
