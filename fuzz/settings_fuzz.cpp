// libFuzzer target for the settings reader: any input must leave sane bars and a state that
// writes back to a file the reader accepts unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/settings_file.h"

namespace {

struct State {
    qx::AppGlobals app;
    qx::ScratchRecord scratch;
    qx::BarSet bars;
};

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    State s;
    qx::ErrStat err;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const qx::SettingsRead result = qx::parseSettings(bytes, s.app, s.scratch, s.bars, err);
    check(result != qx::SettingsRead::Failed || err.code == 39);
    check(s.bars.places().size() <= static_cast<size_t>(qx::kMaxBars));
    for (int place : s.bars.places()) check(s.bars.bar(place)->buttons.size() <= qx::kMaxBarButtons);
    check(s.scratch.swapAreaSize >= qx::kSwapAreaMin && s.scratch.swapAreaSize <= qx::kSwapAreaMax);

    const std::string written = qx::formatSettings(s.app, s.scratch, s.bars);
    State back;
    check(qx::parseSettings(written, back.app, back.scratch, back.bars, err) == qx::SettingsRead::Complete);
    check(qx::formatSettings(back.app, back.scratch, back.bars) == written);
    return 0;
}
