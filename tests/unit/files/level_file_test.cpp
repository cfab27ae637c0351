#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "core/level_fonts.h"
#include "files/stored_form.h"
#include "unit/files/file_fixture.h"

namespace qx {
namespace {

using test::FileFixture;

TEST(StoredNumber, FormsOfTheArrayValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"}, {-0.0, "0"}, {1.5, "1.500000000000000e+00"}, {-123456.789, "-1.234567890000000e+05"},
        {1.7e308, "+1.#INF"}, {-1.7e308, "-1.#INF"}, {nan, "-1.#INF"},  // NaN is never written as a number
        {std::numeric_limits<double>::infinity(), "+1.#INF"}, {5e-324, "4.940656458412465e-324"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(storedNumber(value), text) << value;
}

TEST(LevelFile, LayoutOfASmallLevelByteForByte) {
    FileFixture fx;
    fx.enter(1, 1, "hi");
    const std::string bytes = fx.saveLevel(1);
    ASSERT_FALSE(fx.lastError.failed());
    const CellRec* c = fx.cell(1, 1);
    const std::string records = "~~SV3.00~~Sg{1,8}~~Sy0~~Sw80~~Sh17~~Sr1~~Sd2~~Sm{16777215,0}~~R1C1P" +
                                std::to_string(c->flags) + "Y" + std::to_string(c->style) + ";hi~~Xe";
    EXPECT_EQ(bytes, test::encodedFile(records + std::string(255 - kHeaderSize - records.size(), '~')));
    FileFixture empty;  // an empty level is not saved at all
    EXPECT_TRUE(empty.saveLevel(1).empty());
    EXPECT_EQ(empty.lastError.code, 43);
}

TEST(LevelFile, CharacterRulesKeepEveryQuotedAndTextFieldReadable) {
    FileFixture fx;
    fx.enter(1, 1, "a~~b\"c");
    fx.enter(2, 1, "+1");
    ErrStat err;
    fx.store.setTag(fx.cell(2, 1), "note ~~ with \"quotes\"", err);
    fx.store.levelPtr(1)->directory = "/dir/with\"quote";
    const std::string bytes = fx.saveLevel(1);
    EXPECT_EQ(test::decodedBody(bytes).find("Sp"), std::string::npos) << "an unreadable directory is left out";
    FileFixture back;
    ASSERT_TRUE(back.load(bytes)) << back.lastError.point;
    EXPECT_EQ(back.cell(1, 1)->textView(), "a^^b\"c");
    EXPECT_EQ(back.store.getTag(back.cell(2, 1)), "note ^^ with 'quotes'");
    EXPECT_EQ(back.cell(2, 1)->formula->value, 1.0);
}

// Compiled text rebuilt from the stored form must be exactly what compiling gives.
TEST(StoredForm, ConvertsBackToTheCompiledText) {
    for (const char* text : {"+[1,1]*2", "+[$2,1]+[2,$1]+[$2,$2]", "+[1,1]+[1,1]+[3,4]", "+[1,1^3,1]+[2,2]",
                             "+[[1,1],2]", "+[1,1,,2]+[1,2]", "+([5,5])*2", "+[1,1,0]+[4,4]"}) {
        FileFixture fx;
        fx.enter(1, 1, "+1");
        fx.enter(1, 2, "+2");
        fx.enter(10, 10, text);
        const CellRec* c = fx.cell(10, 10);
        ASSERT_TRUE(c && c->formula && !c->formula->errorMark()) << text;
        ErrStat err;
        const std::string readable = fx.engine.readableText(*c, TextOffsets{}, err);
        std::vector<StoredReference> refs;
        for (uint32_t k = 0; k < c->formula->refCount; ++k)
            refs.push_back({c->formula->refs[k]->row, c->formula->refs[k]->col, 0});
        std::string converted;
        ASSERT_TRUE(convertStoredForm(readable, refs, true, converted)) << text;
        EXPECT_EQ(converted, c->textView()) << text;
    }
}

TEST(StoredForm, RefusesWhatCannotBeConvertedExactly) {
    const struct { const char* text; std::vector<StoredReference> refs; } cases[] = {
        {"[1,1]+[2,2]", {{1, 1, 0}}},       // an address without an entry
        {"[1,1]", {{1, 1, 0}, {2, 2, 0}}},  // an entry the text never uses
        {"[1,1]", {{1, 1, 3}}},             // an entry naming a level
        {"[1,1]", {{1, 1, 0}, {1, 1, 0}}},  // duplicates
        {"[1,1] + 2", {{1, 1, 0}}},         // blanks compiling would drop
        {"+[1,1]", {{1, 1, 0}}},            // a prefix compiling would drop
        {"[1,1]~2", {{1, 1, 0}}},           // a '~' compiling would change
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_FALSE(convertStoredForm(c.text, c.refs, true, out)) << c.text;
    }
}

// Clear-text level files are easy to write by hand, so the reader's failure points are checked with them.
TEST(LevelReader, FailurePoints) {
    const std::string head = "~~SV3.00";
    const struct { std::string body; int point; } cases[] = {
        {"~~R1C1P0Y0J0E8192{0};1", kReadPointArrayCount}, {"~~R1C1P0Y0J0E-1{0};1", kReadPointArrayCount},
        {"~~R1C1P0Y0J0E1;1", kReadPointArrayOpen}, {"~~R1C1P0Y0J0E1{1}2};1", kReadPointArraySeparator},
        {"~~R1C1P0Y0J0E1{1|2|", kReadPointArrayClose}, {"~~R1C1P0Y0J0E0{1|;1", kReadPointArrayClose},
        {"~~Vr{3,20", kReadPointSizeList}, {"~~Vc{3", kReadPointSizeList},
        {"~~R1C1P0Y0J0Gn{1,2,0|~~Xe", kReadPointTableOpen}, {"~~R1C1P0Y0J0Gc{0,\"a\"~~Xe", kReadPointHeadingList},
        {"~~R1C1P0Y0J0Ga{1|2~~Xe", kReadPointColumnList}, {"~~R1C1P1Y0~~Xe", kReadPointMissingSemicolon},
        {"~~R1C1P1Y0", kReadPointMissingSemicolon}, {"~~R1C1P1Y0;a", kReadPointNoEnd},
        {"~~R1C1P0Y0J0M1{1,2~~Xe", kReadPointReferenceList}, {"~~R1C1P0Y0J0Gn{1,2,0,\"t}~~Xe", kReadPointTableOpen},
        {"~~R1C1P0Y0J0Gs{0,\"a\"|1,\"b\"{~~Xe", kReadPointHeadingList},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        EXPECT_FALSE(fx.load(head + c.body)) << c.body;
        EXPECT_EQ(fx.lastError.savedPoint, c.point) << c.body;
        EXPECT_EQ(fx.lastError.savedCode, 39) << c.body;
    }
}

TEST(LevelReader, OutOfRangeValuesAreIgnoredAndTransientMarksCleared) {
    FileFixture fx(3);
    const std::string text =
        "~~SV3.00~~Sw2000~~Sh300~~Vr{70000,20}~~Vr{5,300}~~Vr{6,32788}~~Vc{300,40}~~Vc{7,2000}~~Ow{1,2,0,0,10,10}"
        "~~Ow{1,2,50,50,0,0}~~R1C1P32768Y0J1073741824E0{0};+2~~R70000C1P1Y0;lost~~Xe";
    ASSERT_TRUE(fx.load(text)) << fx.lastError.point;
    const LevelRec& rec = *fx.store.levelPtr(1);
    EXPECT_EQ((std::array<int, 5>{rec.defaults.columnWidth, rec.defaults.rowHeight, rec.rowHeights[5],
                                  rec.rowHeights[6], rec.colWidths[7]}),
              (std::array<int, 5>{80, 17, 17, 0x8000 | 20, 80}));
    ASSERT_EQ(rec.views.size(), 1u);
    EXPECT_EQ((std::array{rec.views[0].left, rec.views[0].right}), (std::array{0, 50}));
    const CellRec* c = fx.cell(1, 1);
    ASSERT_NE(c, nullptr);  // the row beyond the sheet is dropped, the cell on it with it
    EXPECT_FALSE(c->has(cellflag::kOnPath));
    EXPECT_FALSE(c->formula->flags & formulaflag::kVisited);
    EXPECT_EQ(c->formula->value, 2.0);
}

// Settings read into 8- and 16-bit fields take only values that fit; others leave the field as it was.
TEST(LevelReader, NarrowFieldsTakeOnlyValuesThatFit) {
    const struct {
        const char* records;
        std::array<int, 5> fields;  // range passes, grid lines, precision, display byte, row 5's height word
    } cases[] = {
        {"~~Sr7~~Sg{0,3}~~Sd4~~Sm{0,9}~~Vr{5,20}", {7, 0, 4, 9, 20}},
        {"~~Sr-1~~Sg{256,3}~~Sd-2~~Sm{0,300}~~Vr{5,-1}", {1, 1, 2, 0, 17}},
        {"~~Sr65536~~Sg{1,-8}~~Sd65536~~Sm{-1,9}~~Vr{5,65536}", {1, 1, 2, 0, 17}},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        ASSERT_TRUE(fx.load(std::string("~~SV3.00") + c.records + "~~R1C1P1Y0;x~~Xe")) << c.records;
        const LevelRec& rec = *fx.store.levelPtr(1);
        EXPECT_EQ((std::array<int, 5>{rec.defaults.rangePasses, rec.defaults.gridLines, rec.defaults.precision,
                                      rec.defaults.displayByte, rec.rowHeights[5]}),
                  c.fields)
            << c.records;
    }
}

// A stored value is trusted only when the reference list converts exactly; otherwise the formula is compiled.
TEST(LevelReader, StoredValueKeptOnlyWhenTheReferencesConvertExactly) {
    FileFixture fx;
    fx.enter(1, 1, "+3");
    fx.enter(1, 2, "+[1,1]*2");
    std::string body = test::decodedBody(fx.saveLevel(1));
    const std::size_t at = body.find("E0{6.000000000000000e+00}");
    ASSERT_NE(at, std::string::npos) << body;
    const std::string kept = body.replace(at, 25, "E0{42}");
    auto withList = [&](const char* list) {
        std::string b = kept;
        return b.replace(b.find("M1{1,1}"), 7, list);
    };
    const struct { const char* name; std::string bytes; double value; } cases[] = {
        {"exact", test::encodedFile(kept), 42.0},
        {"clear text", kept.substr(0, kept.find("~~Xe") + 4), 6.0},
        {"wrong count", test::encodedFile(withList("M2{1,1}")), 6.0},
        {"other level", test::encodedFile(withList("M1{1,1,2}")), 6.0},
    };
    for (const auto& c : cases) {
        FileFixture back;
        ASSERT_TRUE(back.load(c.bytes)) << c.name;
        EXPECT_EQ(back.cell(1, 2)->formula->value, c.value) << c.name;
        EXPECT_EQ(back.cell(1, 1)->dependents, 1u) << c.name;
    }
}

TEST(LevelReader, AddedFontsFillTheTableAndNoFurther) {
    std::string names;
    for (int n = 0; n < 32; ++n) names += (n == 0 ? ",~," : ",") + std::string("Font") + std::to_string(n);
    FileFixture fx(3);
    ASSERT_TRUE(fx.load("~~SV3.00~~Sf{32" + names + "}~~R1C1P1Y0;x~~Xe"));
    const LevelRec& rec = *fx.store.levelPtr(1);
    ASSERT_EQ(rec.fontNames.size(), static_cast<std::size_t>(kLevelFontCapacity));
    EXPECT_EQ(rec.fontNames.back(), "Font29");
}

// A newer file asks whether to go on; more than ten range operations ask once whether to compute them.
TEST(LevelReader, QuestionsWhileLoading) {
    auto ranges = [](int count) {
        std::string text = "~~SV3.00~~R1C1P0Y0J0E0{0};+1";
        for (int r = 1; r <= count; ++r) text += "~~R" + std::to_string(r) + "C2P1024Y0J0E0{0};[1,1^2,1]";
        return text + "~~Xe";
    };
    // `cancels`: the level is left empty exactly when the load is cancelled.
    const std::string newer = "~~SV4.00~~R1C1P1Y0;x~~Xe";
    const struct { std::string text; PolicyAnswer answer; std::size_t boxes; std::optional<bool> cancels; } cases[] = {
        {newer, PolicyAnswer::Yes, 1, false}, {newer, PolicyAnswer::No, 1, true},
        {ranges(10), PolicyAnswer::No, 0, std::nullopt}, {ranges(11), PolicyAnswer::No, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        fx.platform.setPolicy(c.answer);
        ASSERT_TRUE(fx.load(c.text));
        ASSERT_EQ(fx.platform.boxes().size(), c.boxes) << c.text.substr(0, 40);
        if (c.cancels) {
            EXPECT_EQ(fx.platform.boxes()[0].caption, "WARNING");
            EXPECT_EQ(fx.cancelled, *c.cancels);
            EXPECT_EQ(fx.store.levelEmpty(1), *c.cancels);
        }
    }
}

// A damaged file may repeat a place. The later record replaces the cell this load made there even
// when that one is marked "Protect Cell", and the load goes on; afterwards the mark guards again.
TEST(LevelReader, RepeatedPlaceReplacesTheCellThisLoadMade) {
    const struct {
        const char* records;
        bool protectedAfter;
    } cases[] = {
        {"~~R1C1P513Y1048576;Point~~R1C1P1Y1048576;Again", false},
        {"~~R1C1P512Y0J0E0{4};+4~~R1C1P513Y0;Again", true},
        {"~~R1C1P513Y0;Point~~R1C1P513Y0;Again", true},
        {"~~R1C1P513Y0;Point~~R1C2P0Y0J0M1{1,1}E0{0};+[1,1]~~R1C1P1Y0;Again", false},
    };
    for (const auto& c : cases) {
        FileFixture fx(3);
        ASSERT_TRUE(fx.load(std::string("~~SV3.00") + c.records + "~~R2C1P1Y0;after~~Xe")) << c.records;
        CellRec* cell = fx.cell(1, 1);
        ASSERT_NE(cell, nullptr) << c.records;
        EXPECT_EQ(cell->textView(), "Again") << c.records;
        ASSERT_NE(fx.cell(2, 1), nullptr) << c.records;
        EXPECT_TRUE(fx.store.checkRows(1).empty() && fx.store.checkDependents(1).empty()) << c.records;
        ErrStat err;
        fx.store.deleteCellNow(cell, err);
        EXPECT_EQ(err.failed(), c.protectedAfter) << c.records;
    }
}

// A level whose permission word forbids adding cells gets none from a level file.
TEST(LevelReader, ProtectionCheckAfterLoadingClearsTheLevelAgain) {
    test::FileFixture fx(3);
    test::FakeProtection port;
    port.words.fill(4094 & ~(1u << 5));
    EXPECT_TRUE(fx.loadWith(port, "~~SV3.00~~R1C1P1Y0;x~~Xe"));
    EXPECT_TRUE(fx.cancelled);
    EXPECT_EQ(port.refused, 1);
    EXPECT_TRUE(fx.store.levelEmpty(1));
}

}  // namespace
}  // namespace qx
