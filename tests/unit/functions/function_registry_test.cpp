#include "functions/function_registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "function_fixture.h"
#include "functions/argument_readers.h"
#include "functions/function_help.h"

namespace qx {
namespace {

using test::FunctionFixture;

TEST(FunctionRegistry, EveryTableIsSortedAndFindsEachName) {
    for (int f = 0; f < kFamilyCount; ++f) {
        const auto table = builtinFamily(static_cast<FamilyId>(f));
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (i > 0) {
                EXPECT_LT(compareNames(table[i - 1].name, table[i].name), 0) << table[i].name;
            }
            EXPECT_EQ(lookupFunction(table, table[i].name), static_cast<int>(i) + 1) << table[i].name;
            EXPECT_TRUE(table[i].callTemplate.starts_with(table[i].name)) << table[i].name;
        }
    }
}

TEST(FunctionRegistry, LookupComparesSignedBytesAndCase) {
    // Signed: a byte from 128 sorts before every ASCII letter; a prefix sorts first; upper case first.
    const FunctionEntry table[] = {
        {"\xC3x", 0, "", nullptr}, {"Sum", 0, "", nullptr}, {"atan", 0, "", nullptr},
        {"atan2", 0, "", nullptr}, {"sum", 0, "", nullptr},
    };
    for (int i = 0; i < 5; ++i) EXPECT_EQ(lookupFunction(table, table[i].name), i + 1) << i;
    EXPECT_EQ(lookupFunction(table, "SUM"), 0);
    EXPECT_EQ(lookupFunction(table, "ata"), 0);
    EXPECT_EQ(lookupFunction(table, ""), 0);
    EXPECT_EQ(lookupFunction({}, "abs"), 0);
    EXPECT_LT(compareNames("\x80", "A"), 0);
}

double recordNumber(FunctionCall& call, ErrStat& err) {
    err.enter();
    return call.number() * 100.0;
}

class CountingScripts final : public ScriptCaller {
  public:
    double callScript(CallRecord& call, ErrStat& err) override {
        err.enter();
        lastName.assign(call.text + call.namePos, static_cast<std::size_t>(call.nameEnd - call.namePos));
        return 5.0;
    }
    std::string lastName;
};

TEST(FunctionRegistry, FamiliesAreAskedInOrderThenScripts) {
    FunctionFixture fx;
    EXPECT_EQ(fx.eval("Nothing(1)").code, 14);
    const FunctionEntry later[] = {{"TableCols", 0, "", recordNumber}, {"TableRows", 0, "", recordNumber}};
    fx.registry.installFamily(FamilyId::Tables, later);
    EXPECT_EQ(fx.eval("TableRows(1)").value, 200);
    // The toolkit comes first, so its names hide those of later families.
    const FunctionEntry toolkit[] = {{"abs", 0, "", recordNumber}};
    fx.registry.installFamily(FamilyId::Toolkit, toolkit);
    EXPECT_EQ(fx.eval("abs(-3)").value, 100);
    fx.registry.installFamily(FamilyId::Toolkit, {});
    EXPECT_EQ(fx.eval("abs(-3)").value, 3);
    CountingScripts scripts;
    fx.registry.setScriptCaller(&scripts);
    EXPECT_EQ(fx.eval("ABS(1)").value, 5);
    EXPECT_EQ(scripts.lastName, "ABS");
    EXPECT_EQ(fx.eval("abs(-2)").value, 2);
}

TEST(ArgumentReaders, ListsStopAtEightAndInnerBracketsAreNoEnd) {
    FunctionFixture fx;
    // A ')' closing a nested expression before ',' must not end the list.
    EXPECT_EQ(fx.eval("rnd((1.25),1)").value, 1.3);
    EXPECT_EQ(fx.eval("abs((1),2)").code, 29);
    EXPECT_EQ(fx.eval("abs( (2) )").value, 2);
    EXPECT_EQ(fx.eval("abs(1,2,3,4,5,6,7,8,9)").code, 29);
}

// The evaluator cuts the text after a call's ')' while it runs; the text must come back whole.
TEST(ArgumentReaders, CallTextsAreRestoredAndLongOnesStayInBounds) {
    FunctionFixture fx;
    auto evaluateKeepingText = [&fx](const std::string& call) {
        std::string text = call;
        ErrStat err;
        fx.engine.evaluator().evaluateFormula(nullptr, text.data(), err);
        EXPECT_EQ(text, call);
    };
    evaluateKeepingText("abs(-2)+sqrt(16)*2");
    evaluateKeepingText("abs(sqrt(-1))");
    std::string sum = "1";
    while (sum.size() < 249) sum += "+1";
    const auto o = fx.eval("abs(" + sum + ")");
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.value, static_cast<double>((sum.size() + 1) / 2));
    // Random argument texts for every function, typed into a cell and evaluated alone, end cleanly.
    const std::string alphabet = "\"[](),;'~^0123456789.-+ ab";
    unsigned x = 7;
    for (int f = 0; f < kFamilyCount; ++f) {
        for (const FunctionEntry& e : builtinFamily(static_cast<FamilyId>(f))) {
            for (int round = 0; round < 12; ++round) {
                std::string args;
                const int length = 1 + round * 20;
                for (int i = 0; i < length; ++i) {
                    x = x * 1103515245u + 12345u;
                    args += alphabet[(x >> 16) % alphabet.size()];
                }
                const std::string call = std::string(e.name) + "(" + args + ")";
                evaluateKeepingText(call);
                fx.enter(1 + round, 1, "+" + call);
            }
        }
    }
}

double storeElements(FunctionCall& call, ErrStat& err) {
    err.enter();
    double values[3] = {1.0, 2.0, 0.0};
    values[2] = call.cell() == nullptr ? std::nan("") : 3.0;
    return elementsComputable(call, values, err) ? 1.0 : 0.0;
}

TEST(ArgumentReaders, NanElementsAreRefusedBeforeStoring) {
    FunctionFixture fx;
    const FunctionEntry family[] = {{"@Store", 0, "", storeElements}};
    fx.registry.installFamily(FamilyId::Matrix, family);
    EXPECT_EQ(fx.eval("@Store()").code, 4);
    EXPECT_EQ(fx.enter(1, 1, "@Store()").value, 1);
}

TEST(FunctionHelp, CategoriesListTheirFamilies) {
    FunctionFixture fx;
    EXPECT_EQ(categoryNumber("Date & Time"), 4);
    EXPECT_EQ(categoryNumber("16"), 16);
    EXPECT_EQ(categoryNumber("17"), 0);
    EXPECT_EQ(categoryNumber("math"), 0);
    const auto strings = categoryFunctions(fx.registry, 1);
    ASSERT_EQ(strings.size(), 9u);  // string and string copying
    EXPECT_EQ(strings.front()->name, "atof");
    EXPECT_EQ(strings.back()->name, "strncpy");
    EXPECT_EQ(insertionText("index ( string, ch, <begin> )"), "index(string,ch,<begin>)");
    EXPECT_EQ(insertionText("abs (x) gives the absolute value"), "abs(x)");
}

}  // namespace
}  // namespace qx
