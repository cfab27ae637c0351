#pragma once
// A small workbook with the formula language, and saving and loading it through memory.
#include <string>

#include "core/cell_heap.h"
#include "files/level_reader.h"
#include "files/level_writer.h"
#include "files/workbook_file.h"
#include "formula/cell_display.h"
#include "platform/headless_platform.h"
#include "unit/formula/formula_fixture.h"

namespace qx::test {

constexpr int kFixedKey = 7;

struct FileFixture {
    explicit FileFixture(int levels = 6) : store(levels, LevelDefaults{}, "", scratch), engine(store) {}

    FileContext context() { return FileContext{store, engine, platform, protection, LevelDefaults{}}; }

    std::string saveLevel(int level) {
        MemoryBlockSink sink;
        BlockStream out(sink);
        ErrStat err;
        writeLevelFile(store, engine, level, out, kFixedKey, err);
        lastError = err;
        return sink.bytes;
    }

    std::string saveWorkbook() {
        MemoryBlockSink sink;
        BlockStream out(sink);
        FileContext ctx = context();
        ErrStat err;
        writeWorkbookFile(ctx, "/data", out, kFixedKey, err);
        lastError = err;
        return sink.bytes;
    }

    // Loads a level file or a workbook by its first record; false on failure (see lastError).
    bool load(const std::string& bytes, int level = 1) {
        MemoryBlockSource in(bytes);
        BlockReader reader;
        ErrStat err;
        bool ok = reader.open(in, nullptr, err);
        cancelled = false;
        FileContext ctx = context();
        if (ok && reader.firstRecord() == 'W') {
            ok = readWorkbookFile(ctx, reader, cancelled, err);
        } else if (ok) {
            ok = readLevelFile(ctx, reader, level, cancelled, err);
        }
        lastError = err;
        return ok && !err.failed();
    }

    CellRec* cell(int row, int col, int level = 1) {
        ErrStat err;
        return store.findCell(row, col, level, err);
    }

    void enter(int row, int col, const std::string& text, int level = 1) {
        ErrStat err;
        engine.entry().storeEntry(text, row, col, level, EntryOptions{}, err);
    }

    std::string shown(const CellRec* c) { return cellDisplayText(c, 64, CellDisplayContext{}); }

    ScratchRecord scratch;
    CellStore store;
    FormulaEngine engine;
    HeadlessPlatform platform;
    PlainProtection protection;
    ErrStat lastError;
    bool cancelled = false;
};

// The body of a file as it decodes: header removed, key undone, fill kept.
inline std::string decodedBody(const std::string& bytes) {
    std::string body;
    const int key = kFixedKey;
    for (std::size_t i = kHeaderSize; i < bytes.size(); ++i) body.push_back(static_cast<char>(bytes[i] ^ key));
    return body;
}

}  // namespace qx::test
