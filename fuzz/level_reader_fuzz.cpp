// libFuzzer target for the level and workbook readers: any input ends in a loaded workbook or a
// designed failure, and the row lists and dependency links of every level stay sound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/cell_store.h"
#include "files/level_reader.h"
#include "files/workbook_file.h"
#include "formula/formula_engine.h"
#include "platform/headless_platform.h"
#include "recalc/recalc.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

struct Book {
    Book() : store(4, qx::LevelDefaults{}, "", scratch), engine(store) {}
    qx::ScratchRecord scratch;
    qx::CellStore store;
    qx::FormulaEngine engine;
    qx::ChainRecalculator recalc{engine};
    qx::HeadlessPlatform platform;
    qx::PlainProtection protection;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Book book;
    for (int level = 1; level < book.store.levelCount(); ++level) {
        if (!book.store.levelEmpty(level)) qx::resetLevel(book.store, level, qx::LevelDefaults{});
    }
    book.platform.clearBoxes();
    qx::FileContext ctx{book.store, book.engine, book.platform, book.protection, qx::LevelDefaults{}};
    qx::MemoryBlockSource in(std::string_view(reinterpret_cast<const char*>(data), size));
    qx::BlockReader reader;
    qx::ErrStat err;
    bool cancelled = false;
    if (reader.open(in, nullptr, err)) {
        if (reader.firstRecord() == 'W') {
            qx::readWorkbookFile(ctx, reader, cancelled, err);
        } else {
            qx::readLevelFile(ctx, reader, 1, cancelled, err);
        }
    }
    check(!err.failed() || err.savedCode == 39 || err.savedCode == 99 || err.savedCode == 100 || err.savedCode == 1);
    for (int level = 1; level < book.store.levelCount(); ++level) {
        check(book.store.checkRows(level).empty());
        check(book.store.checkDependents(level).empty());
    }
    return 0;
}
