#pragma once
// A small workbook with the formula language, and saving and loading it through memory.
#include <array>
#include <string>
#include <vector>

#include "core/cell_heap.h"
#include "core/formula_flags.h"
#include "core/table_descriptor.h"
#include "display/cell_display.h"
#include "files/level_reader.h"
#include "files/level_writer.h"
#include "files/workbook_file.h"
#include "platform/headless_platform.h"
#include "unit/recalc/recalc_fixture.h"

namespace qx::test {

constexpr int kFixedKey = 7;

struct FileFixture {
    explicit FileFixture(int levels = 6) : store(levels, LevelDefaults{}, "", scratch), engine(store) {}

    FileContext context() { return FileContext{store, engine, platform, protection, LevelDefaults{}}; }

    std::string saveLevel(int level) {
        return saved([&](BlockStream& out, ErrStat& e) { writeLevelFile(store, engine, level, out, kFixedKey, e); });
    }
    std::string saveWorkbook() {
        FileContext ctx = context();
        return saved([&](BlockStream& out, ErrStat& e) { writeWorkbookFile(ctx, "/data", out, kFixedKey, e); });
    }
    template <class Write>
    std::string saved(Write write) {
        MemoryBlockSink sink;
        BlockStream out(sink);
        lastError = ErrStat{};
        write(out, lastError);
        return sink.bytes;
    }

    // Loads a level file or a workbook by its first record; false on failure (see lastError).
    bool load(const std::string& bytes, int level = 1) { return loadWith(protection, bytes, level); }

    // The same, with another protection port standing in for the workbook's.
    bool loadWith(ProtectionPort& port, const std::string& bytes, int level = 1) {
        MemoryBlockSource in(bytes);
        BlockReader reader;
        ErrStat err;
        bool ok = reader.open(in, nullptr, err);
        cancelled = false;
        FileContext ctx{store, engine, platform, port, LevelDefaults{}};
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

    // A formula cell holding a table of rows x columns values (k + 0.5 for the k-th) and an unnamed
    // descriptor with precision 2; the descriptor is returned for naming.
    TableDescriptor* tableCell(int row, int col, int rows, int columns, int level = 1) {
        enter(row, col, "+1", level);
        CellRec* c = cell(row, col, level);
        ErrStat err;
        c->formula->flags = formulaflag::withObjectKind(c->formula->flags, ObjectKind::Table);
        std::vector<double> values{double(rows), double(columns)};
        for (int k = 0; k < rows * columns; ++k) values.push_back(k + 0.5);
        store.setArraySize(c, static_cast<int>(values.size()), err);
        store.setArrayElements(c, values.data(), 0, static_cast<int>(values.size()) - 1, err);
        TableDescriptor* t = createTableDescriptor(*store.levelPtr(level), columns, rows, 2, err);
        if (t != nullptr) store.attachTable(c, t, err);
        return err.failed() ? nullptr : t;
    }

    const TableDescriptor* table(int row, int col, int level = 1) { return CellStore::tableOf(cell(row, col, level)); }

    std::string shown(const CellRec* c) { return cellDisplayText(c, 64, CellDisplayContext{}); }

    ScratchRecord scratch;
    CellStore store;
    FormulaEngine engine;
    ChainRecalculator recalc{engine};
    HeadlessPlatform platform;
    PlainProtection protection;
    ErrStat lastError;
    bool cancelled = false;
};

// The body of a file as it decodes: header removed, key undone, fill kept.
inline std::string decodedBody(const std::string& bytes) {
    std::string body;
    for (std::size_t i = kHeaderSize; i < bytes.size(); ++i) body.push_back(static_cast<char>(bytes[i] ^ kFixedKey));
    return body;
}

// A scrambled file around a body, as the writer would make it with the fixed key (fill left out).
inline std::string encodedFile(const std::string& body) {
    std::string bytes;
    for (char h : std::string("~0000") + char('0' + kFixedKey)) bytes.push_back(static_cast<char>(h ^ kHeaderKey));
    for (char ch : body) bytes.push_back(static_cast<char>(ch ^ kFixedKey));
    return bytes;
}

// Per-level permission words; counts the open-password questions and answers them with `accept`.
struct FakeProtection final : ProtectionPort {
    FakeProtection() { words.fill(4094); }
    bool mayAddCells(int level) override {
        return (words[static_cast<std::size_t>(level)] & (1u << 5)) || (++refused, false);
    }
    bool openPasswordAccepted(const std::string&, uint32_t) override { return ++asked, accept; }
    std::string password() const override { return stored; }
    uint32_t flags(int level) const override { return words[static_cast<std::size_t>(level)]; }
    void setPassword(const std::string& p) override { stored = p; }
    void setFlags(int level, uint32_t f) override { words[static_cast<std::size_t>(level)] = f; }
    void reset() override { stored.clear(), words.fill(4094), ++resets; }
    std::array<uint32_t, kMaxLevelCount> words{};
    std::string stored;
    bool accept = true;
    int asked = 0, refused = 0, resets = 0;
};

}  // namespace qx::test
