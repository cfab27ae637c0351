// libFuzzer target for the text, CSV and DIF readers: the first byte picks the kind, the rest is the
// file. Any input ends in an import or a designed failure, and the level's rows and dependency links
// stay sound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/cell_store.h"
#include "files/level_reader.h"
#include "files/text/text_import.h"
#include "formula/formula_engine.h"
#include "platform/headless_platform.h"
#include "recalc/recalc.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

struct Book {
    Book() : store(3, qx::LevelDefaults{}, "", scratch), engine(store) {}
    qx::ScratchRecord scratch;
    qx::CellStore store;
    qx::FormulaEngine engine;
    qx::ChainRecalculator recalc{engine};
    qx::HeadlessPlatform platform;
    qx::PlainProtection protection;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static Book book;
    if (!book.store.levelEmpty(1)) qx::resetLevel(book.store, 1, qx::LevelDefaults{});
    book.platform.clearBoxes();
    const qx::TextKind kinds[] = {qx::TextKind::Text, qx::TextKind::Csv, qx::TextKind::Dif};
    const qx::TextKind kind = kinds[data[0] % 3];
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    qx::FileContext ctx{book.store, book.engine, book.platform, book.protection, qx::LevelDefaults{}};
    qx::ImportOutcome outcome;
    qx::ErrStat err;
    const int start = 1 + data[0] / 3 % 4;
    qx::importText(ctx, kind, in, qx::ImportStart{1, start, start}, outcome, err);
    check(!err.failed() || err.savedCode == 39 || err.savedCode == 1);
    check(book.store.checkRows(1).empty());
    check(book.store.checkDependents(1).empty());
    return 0;
}
