#include <gtest/gtest.h>

#include <random>

#include "core/range_attributes.h"
#include "files/record_scanner.h"
#include "unit/files/file_fixture.h"
#include "unit/sanitizer_rounds.h"

namespace qx {
namespace {

using test::FileFixture;

// Names with every character the file rules change, and titles longer than a table keeps.
void nameRandomTable(LevelRec& level, TableDescriptor& t, std::mt19937& rng) {
    const std::string names[] = {"",           "semi;{b}|,",        "q\"uote\"", "a~~b~", "ctl\x01\x1f",
                                 "hi\x7f\xff", std::string(90, 'L')};
    auto any = [&] { return names[rng() % std::size(names)]; };
    ErrStat err;
    t.spare = static_cast<int32_t>(rng() % 2001) - 1000;
    setTableTitle(level, t, any(), err);
    for (int k = 0; k <= t.rowCount; ++k) setRowName(level, t, k, any(), err);
    for (int k = 1; k <= t.columnCount; ++k) {
        setColumnName(level, t, k, any(), err);
        setColumnWord(t, k, static_cast<uint16_t>(rng() % 256));
    }
}

// Every field of a descriptor on one line; `neutral` shows the names as a file gives them back.
std::string tableFields(const TableDescriptor* t, bool neutral) {
    if (t == nullptr) return "none";
    auto shown = [&](std::string_view s, std::size_t limit) {
        return "\"" + (neutral ? storedText(s.substr(0, limit), StoredText::Quoted) : std::string(s)) + "\"";
    };
    std::string out = std::to_string(t->columnCount) + "x" + std::to_string(t->rowCount) + " " +
                      std::to_string(t->spare) + " " + shown(tableTitle(*t), kMaxTableTitle);
    for (int k = 0; k <= t->columnCount; ++k)
        out += " c" + shown(columnName(*t, k), 254) + std::to_string(columnWord(*t, k));
    for (int k = 0; k <= t->rowCount; ++k) out += " r" + shown(rowName(*t, k), 254);
    return out;
}

// A randomized workbook over several levels: labels with the characters the rules change, formulas
// on their own and other levels, Array Areas, tags with quotes, attributes, range records, sizes,
// views and table objects.
void buildRandomWorkbook(FileFixture& fx, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const char* labels[] = {"plain", "with ~ tilde", "quote \" inside", "a~~b", "semi;colon", "{brace}|bar"};
    for (int level = 1; level <= 4; ++level) {
        if (pick(0, 4) == 0) continue;
        for (int row = 1; row <= pick(3, 12); ++row) {
            fx.enter(row, 1, "+" + std::to_string(pick(-50, 50)) + "." + std::to_string(pick(0, 99)), level);
            fx.enter(row, 2, labels[pick(0, 5)], level);
            fx.enter(row, 3, "+[" + std::to_string(row) + ",1]*" + std::to_string(pick(1, 9)), level);
            const int other = pick(1, 4);
            fx.enter(row, 4, "+[" + std::to_string(row) + ",1,," + std::to_string(other) + "]+[$1,$1]", level);
            if (pick(0, 3) == 0) fx.enter(row, 5, "\"row [" + std::to_string(row) + ",1] is shown", level);
            if (pick(0, 4) == 0) fx.enter(row, 6, "+[1,1^" + std::to_string(row) + ",1]", level);
            CellRec* c = fx.cell(row, 3, level);
            ErrStat err;
            if (c && pick(0, 2) == 0) fx.store.setTag(c, "tag \"" + std::to_string(row) + "\" ~~x", err);
            if (c && pick(0, 3) == 0) {
                const int n = pick(0, 3) == 0 ? kMaxArrayElements : pick(1, 20);
                std::vector<double> values(static_cast<std::size_t>(n));
                for (double& v : values) v = std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
                fx.store.setArraySize(c, n, err);
                fx.store.setArrayElements(c, values.data(), 0, n - 1, err);
            }
            if (c) c->style = static_cast<uint32_t>(pick(0, 1 << 20));
            if (pick(0, 2) == 0) {
                TableDescriptor* t = fx.tableCell(row, 7, pick(1, 4), pick(1, 4), level);
                if (t) nameRandomTable(*fx.store.levelPtr(level), *t, rng);
            }
        }
        LevelRec& rec = *fx.store.levelPtr(level);
        rec.rowHeights[static_cast<std::size_t>(pick(1, 100))] = static_cast<uint16_t>(pick(0, 255));
        rec.colWidths[static_cast<std::size_t>(pick(1, 255))] = static_cast<uint16_t>(pick(0, 1024) | 0x8000);
        addRangeAttributes(rec, CellArea{pick(1, 5), 1, pick(6, 9), pick(2, 9)}, EffectiveAttributes{5, 0, 0, 3}, 1);
        rec.colourRanges.push_back(ColourRange{CellArea{1, 1, 3, 3}, 1, static_cast<uint32_t>(pick(0, 0xFFFFFF))});
        rec.borderRanges.push_back(BorderRange{CellArea{2, 2, 4, 4}, 0, 1, 2, pick(0, 15)});
        rec.views.push_back(PlacedView{1, 2, 0, 0, 100, pick(24, 200)});
        fx.protection.setFlags(level, static_cast<uint32_t>(pick(0, 4095)));
    }
    fx.protection.setPassword("secret");
}

// Where two files part, decoded, with some context.
std::string firstDifference(const std::string& a, const std::string& b) {
    const std::string da = test::decodedBody(a);
    const std::string db = test::decodedBody(b);
    std::size_t i = 0;
    while (i < da.size() && i < db.size() && da[i] == db[i]) ++i;
    const std::size_t from = i > 60 ? i - 60 : 0;
    return "\n" + da.substr(from, 120) + "\n" + db.substr(from, 120);
}

// Empty levels between full ones are part of the mix, so level numbers are checked on the way too.
TEST(WorkbookFile, RandomWorkbooksRoundTripToIdenticalBytesValuesAndTexts) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 12; ++round) {
        FileFixture first;
        buildRandomWorkbook(first, rng);
        const std::string bytes = first.saveWorkbook();
        ASSERT_FALSE(bytes.empty()) << "nothing saved, point " << first.lastError.point << " round " << round;
        FileFixture second;
        ASSERT_TRUE(second.load(bytes)) << second.lastError.point << " round " << round;
        const std::string again = second.saveWorkbook();
        EXPECT_EQ(again, bytes) << "round " << round << ": " << firstDifference(again, bytes);
        // Stored values carry 16 significant digits, so values are compared from the first load on.
        FileFixture third;
        ASSERT_TRUE(third.load(again));
        for (int level = 1; level <= 4; ++level) {
            EXPECT_EQ(second.protection.flags(level), first.protection.flags(level));
            for (LevelCursor it(*first.store.levelPtr(level)); !it.done(); it.advance()) {
                const CellRec* a = it.get();
                if (a->isPlaceholder()) continue;
                const CellRec* b = second.cell(a->row, a->col, level);
                const CellRec* c = third.cell(a->row, a->col, level);
                ASSERT_TRUE(b && c);
                EXPECT_EQ(second.shown(b), first.shown(a)) << a->row << "," << a->col << "," << level;
                EXPECT_EQ(third.shown(c), first.shown(a));
                if (b->formula && c->formula) {
                    EXPECT_EQ(c->formula->value, b->formula->value);
                }
                EXPECT_EQ(tableFields(CellStore::tableOf(b), false), tableFields(CellStore::tableOf(a), true));
                EXPECT_EQ(tableFields(CellStore::tableOf(c), false), tableFields(CellStore::tableOf(b), false));
            }
        }
    }
}

// Permission words apply after every level is read; the open password is asked only with the open bit and a
// password, and a refusal leaves nothing behind.
TEST(WorkbookFile, PermissionWordsAndTheOpenPassword) {
    constexpr uint32_t kNoAdd = 4094 & ~(1u << 5);
    const struct {
        uint32_t bookWord;
        const char* password;
        bool accept, refused;
    } cases[] = {
        {4094, "pw", false, false},
        {4095, "", false, false},
        {4095, "pw", false, true},
        {4095, "pw", true, false},
    };
    for (const auto& c : cases) {
        FileFixture fx;
        fx.enter(1, 1, "x");
        fx.enter(1, 1, "kept", 2);
        fx.protection.setFlags(0, c.bookWord);
        fx.protection.setFlags(2, kNoAdd);
        fx.protection.setPassword(c.password);
        FileFixture back;
        test::FakeProtection port;
        port.accept = c.accept;
        ASSERT_TRUE(back.loadWith(port, fx.saveWorkbook()));
        const std::string at = std::to_string(c.bookWord) + " '" + c.password + "'";
        EXPECT_EQ(port.asked, c.bookWord == 4095 && *c.password != '\0' ? 1 : 0) << at;
        EXPECT_EQ(back.cancelled, c.refused) << at;
        EXPECT_EQ(back.store.levelEmpty(1), c.refused) << at;
        EXPECT_EQ(port.resets, c.refused ? 1 : 0) << at;
        if (c.refused) continue;
        // A level that forbids adding cells must not be emptied by its own load.
        EXPECT_EQ(back.cell(1, 1, 2)->textView(), "kept") << at;
        EXPECT_EQ(port.flags(2), kNoAdd) << at;
    }
}

TEST(WorkbookFile, FailurePointsAndWorkbookMustBeEmpty) {
    const std::pair<std::string, int> cases[] = {
        {"~~Wz{1,\"a\",\"\",4094}", kWorkbookPointNoEnd},
        {"~~Wz{9,\"a\",\"\",4094}~~We", kWorkbookPointLevelRange},
        {"~~Wz{1,a}~~We", kWorkbookPointLevelName},
    };
    for (const auto& [text, point] : cases) {
        // Clear-text workbooks are not accepted by the container, so the bodies are scrambled.
        FileFixture fx(4);
        EXPECT_FALSE(fx.load(test::encodedFile("~~Wv{3.00,\"\",4094}" + text))) << text;
        EXPECT_EQ(fx.lastError.savedPoint, point) << text;
        EXPECT_EQ(fx.lastError.savedCode, 39) << text;
    }
    FileFixture full;
    full.enter(1, 1, "x");
    const std::string bytes = full.saveWorkbook();
    EXPECT_FALSE(full.load(bytes));
    EXPECT_EQ(full.lastError.savedCode, Msg::WorkbookNotCleared);
}

// Truncated and damaged files end in a loaded level or a designed failure, never a crash or a hang.
TEST(WorkbookFile, DamagedFilesFailCleanly) {
    std::mt19937 rng(77);
    FileFixture source;
    buildRandomWorkbook(source, rng);
    source.enter(1, 1, "+1", 1);
    const std::string good = source.saveWorkbook();
    ASSERT_FALSE(good.empty());
    FileFixture fx(6);
    for (int round = 0; round < test::rounds(2000); ++round) {
        std::string bytes = good;
        auto at = [&](std::size_t from, std::size_t to) { return from + rng() % (to - from + 1); };
        // Truncated, four bytes flipped, or a stray record-mark character.
        if (round % 3 == 0) bytes.resize(at(0, bytes.size()));
        for (int k = 0; round % 3 == 1 && k < 4; ++k) bytes[at(0, bytes.size() - 1)] ^= char(1 + rng() % 255);
        if (round % 3 == 2) bytes.insert(at(kHeaderSize, bytes.size()), 1, static_cast<char>('~' ^ test::kFixedKey));
        for (int level = 1; level < fx.store.levelCount(); ++level) {
            if (!fx.store.levelEmpty(level)) resetLevel(fx.store, level, LevelDefaults{});
        }
        fx.platform.setPolicy(round % 2 ? PolicyAnswer::Yes : PolicyAnswer::No);
        if (!fx.load(bytes)) {
            const int code = fx.lastError.savedCode;
            EXPECT_TRUE(code == 39 || code == 99 || code == 100 || code == 1) << code << " round " << round;
        }
        for (int level = 1; level < fx.store.levelCount(); ++level) {
            if (fx.store.levelEmpty(level)) continue;
            ASSERT_EQ(fx.store.checkRows(level), "") << round;
            ASSERT_EQ(fx.store.checkDependents(level), "") << round;
        }
    }
}

}  // namespace
}  // namespace qx
