#include "core/err_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "platform/headless_platform.h"

namespace qx {
namespace {

bool isCleared(const ErrStat& err) {
    ErrStat zero;
    return std::memcmp(&err, &zero, sizeof err) == 0;
}

struct ComposeCase {
    int32_t letter, module, routine, point, code;
    bool errorFlag;
    const char* header;
    const char* text;
    int32_t position;  // expected return; the record's position is always 42
};

const ComposeCase kComposeCases[] = {
    {'A', 1, 3, 1, 6, true, "ERROR  A0103-1 ", "ROW is out-of-range", 42},
    {'A', 20, 7, 12, 105, true, "ERROR  A2007-12 ", "unlisted error", 42},
    {'C', 10, 2, 3, 15, false, "WARNING  C1002-3 ", "syntax error", 42},
    {2, 9, 1, 1, 13, true, "ERROR  A0901-1 ", "can not remove cell(s) referenced by other cells", 42},
    {3, 10, 1, 4, 102, true, "ERROR  C1001-4 ", "An unlisted error was reported wihile running a script.", 42},
    {4, 3, 1, 2, 2, true, "ERROR  W0301-2", "Memory allocation error", 42},
    {'W', 7, 2, 1, 3, false, "WARNING  W0702-1", "Invalid printer name", 42},
    {kLetterLib, 5, 3, 2, 7, true, "ERROR  L0503-2", "overflow", 42},
    {kLetterLib, 6, 11, 1, 7, true, "ERROR  L0611-1", "parallel lines", 42},
    {kLetterLib, 7, 4, 5, 6, false, "WARNING  L0704-5", "matrix has no inverse", 42},
    {kLetterLib, 7, 4, 5, 40, true, "ERROR  L0704-5", "unable to compute matrix", 42},
    {kLetterLib, 1, 2, 3, 59, false, "ERROR  L0102-3", "I/O error", 0},
    {kLetterLib, 1, 3, 2, 39, true, "ERROR  L0103-2", "Illegal or unsupported file type", 0},
    {kLetterLib, 9, 2, 3, 4, false, "ERROR  L0902-3", "unsupported library error", 0},
    {'S', 3, 1, 2, 13, true, "ERROR  S0301-2", "The (z_score) argument is out-of-range", 42},
    {'S', 3, 1, 2, 99, true, "ERROR  S0301-2", "Unlisted error", 42},
    {'B', 1, 2, 3, 6, true, "WARNING  ?0102-3", "unknown error", 0},
    {'L', 5, 2, 3, 6, true, "WARNING  ?0502-3", "unknown error", 0},
};

// The table covers codes outside every enumeration (unlisted, unknown letters), so it sets the
// record's fields directly.
void failWithRawCode(ErrStat& err, Origin o, int32_t point, int32_t code) {
    err.point = point;
    err.code = code;
    err.stamp(o);
}

TEST(Compose, EveryLetterAndModuleRow) {
    for (const auto& c : kComposeCases) {
        SCOPED_TRACE(c.header);
        ErrStat err;
        ScratchRecord scratch;
        err.position = 42;
        failWithRawCode(err, Origin{c.letter, c.module, c.routine}, c.point, c.code);
        ComposedError out = compose(c.errorFlag, err, scratch);
        EXPECT_EQ(std::tuple(out.header, out.text, out.savedPosition), std::tuple(c.header, c.text, c.position));
        EXPECT_TRUE(isCleared(err));
    }
}

TEST(Compose, ShowsTheInnermostOriginOfACallChain) {
    ErrStat err;
    ScratchRecord scratch;
    err.enter();
    err.fail(Origin{'A', 1, 3}, 2, Msg::ColumnOutOfRange);
    err.trace(Origin{'A', 20, 5});
    err.trace(Origin{'A', 10, 1});
    EXPECT_EQ(err.module, 10);
    EXPECT_EQ(oneLine(true, err, scratch), "ERROR  A0103-2  COLUMN is out-of-range");
    // The record is clear, so the next failure fixes a new origin.
    err.fail(Origin{'W', 5, 4}, 1, WMsg::AllocationError);
    err.trace(Origin{'A', 77, 1});
    EXPECT_EQ(oneLine(false, err, scratch), "WARNING  W0504-1 Memory allocation error");
}

TEST(FormulaError, SecondErrorQuotesFirstTextWithItsOwnMessageAndOrigin) {
    ErrStat err;
    ScratchRecord scratch;
    FormulaRec rec;
    CellRec cell{.formula = &rec};
    cell.setType(CellType::Formula);
    const std::string first = "1+foo(2)*3";
    recordFormulaError(FormulaScan{first, 0, 5, first.size(), &cell}, 10, 3, 1, 14, 0, err, scratch);
    EXPECT_TRUE(rec.errorMark());
    EXPECT_EQ(scratch.captureScanned + "|" + scratch.captureRest, "1+foo|(2)*3");
    err.trace(Origin{'A', 20, 1});

    const std::string second = "sqrt(-1)";
    recordFormulaError(FormulaScan{second, 0, 8, second.size(), nullptr}, 28, 4, 3, 29, 33, err, scratch);
    EXPECT_EQ(scratch.captureScanned, "1+foo");
    scratch.toolkitError = 58;
    ComposedError out = compose(false, err, scratch);
    EXPECT_EQ(out.header, "ERROR  F2804-3 ");
    EXPECT_EQ(out.text, "  \"1+foo\" - wrong number or type of parameters");
    EXPECT_EQ(out.savedPosition, 33);
    EXPECT_TRUE(isCleared(err));
    EXPECT_EQ(scratch.captureScanned + scratch.captureRest, "");
    EXPECT_EQ(scratch.toolkitError, 0);

    // Once shown, the next formula error quotes its own text.
    recordFormulaError(FormulaScan{second, 0, 4, second.size(), nullptr}, 28, 4, 1, 4, 0, err, scratch);
    EXPECT_EQ(compose(true, err, scratch).text, "  \"sqrt\" - unable to compute expression");
}

TEST(FormulaError, ACaptureNobodyShowedGivesWayToTheNextFailure) {
    ScratchRecord scratch;
    ErrStat dropped;  // a cell failing in a recalculation: its record is never shown
    recordFormulaError(FormulaScan{"ln(0)", 0, 5, 5, nullptr}, 33, 1, 2, 37, 0, dropped, scratch);
    ErrStat err;
    recordFormulaError(FormulaScan{"sqrt(-1)", 0, 8, 8, nullptr}, 33, 1, 2, 37, 0, err, scratch);
    EXPECT_EQ(compose(true, err, scratch).text, "  \"sqrt(-1)\" - A parameter is out-of-range.");
}

TEST(FormulaError, ReplacesAnEarlierSavedOriginAndMarksOnlyFormulaCells) {
    ErrStat err;
    ScratchRecord scratch;
    err.fail(Origin{'A', 1, 3}, 1, Msg::RowOutOfRange);
    FormulaRec rec;
    CellRec label{.formula = &rec};
    label.setType(CellType::VariableLabel);
    recordFormulaError(FormulaScan{"x", 0, 1, 1, &label}, 26, 2, 5, 3, 0, err, scratch);
    EXPECT_FALSE(rec.errorMark());
    EXPECT_EQ(std::tuple(err.savedLetter, err.savedModule, err.savedCode), std::tuple(kLetterF, 26, 3));
}

TEST(FormulaError, IndexesOutsideTheTextAreClamped) {
    const struct {
        std::size_t start, current, end;
        const char* captured;  // scanned|rest
    } cases[] = {{0, 2, 100, "ab|cd"}, {3, 1, 4, "|bcd"}, {9, 9, 9, "|"}, {1, 99, 2, "b|"}};
    for (const auto& c : cases) {
        ErrStat err;
        ScratchRecord scratch;
        recordFormulaError(FormulaScan{"abcd", c.start, c.current, c.end, nullptr}, 1, 1, 1, 15, 0, err, scratch);
        EXPECT_EQ(scratch.captureScanned + "|" + scratch.captureRest, c.captured);
    }
}

TEST(GeneralMessage, BufferSizeAndCodeRange) {
    const std::size_t need = generalMessageBufferSize();
    EXPECT_EQ(need, 102u);
    // Too small a buffer gets nothing rather than a cut message.
    const std::tuple<int32_t, std::size_t, const char*> cases[] = {
        {81, need,
         "Attempting to move cell(s) to another level that either reference or affect other cell(s). (try COPY)"},
        {81, need - 1, ""},
        {1, 94, ""},
        {105, need, "unknown error"},
        {-1, 4096, "unknown error"}};
    for (const auto& [code, size, text] : cases) EXPECT_EQ(generalMessage(code, size), text) << code << " " << size;
}

TEST(StandardBoxes, ReachThePlatformWithTheirCaptionsIconsAndButtons) {
    HeadlessPlatform p;
    ErrStat err;
    ScratchRecord scratch;
    err.fail(Origin{'A', 1, 3}, 1, Msg::RowOutOfRange);
    report(p, true, err, scratch);
    EXPECT_TRUE(isCleared(err));
    p.queueAnswer(PolicyAnswer::No);
    EXPECT_FALSE(confirm(p, "Data may be lost!"));
    EXPECT_TRUE(confirm(p, "Data may be lost!"));
    scriptWarning(p, "bad");

    const RecordedBox expected[] = {
        {"ERROR  A0103-1 ", "ROW is out-of-range", BoxIcon::Exclamation, BoxButtons::Ok, BoxAnswer::Ok},
        {"Are you sure you want to continue?", "Data may be lost!", BoxIcon::Question, BoxButtons::YesNo,
         BoxAnswer::No},
        {"Are you sure you want to continue?", "Data may be lost!", BoxIcon::Question, BoxButtons::YesNo,
         BoxAnswer::Yes},
        {"WARNING: Script error detected", "bad", BoxIcon::Exclamation, BoxButtons::Ok, BoxAnswer::Ok},
    };
    ASSERT_EQ(p.boxes().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(formatBox(p.boxes()[i]), formatBox(expected[i])) << i;
        EXPECT_EQ(p.boxes()[i].icon, expected[i].icon) << i;
    }
}

}  // namespace
}  // namespace qx
