#include "script/runtime/statement_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/cell_store.h"
#include "core/err_report.h"
#include "platform/headless_platform.h"
#include "unit/formula/formula_fixture.h"

namespace qx {
namespace {

struct RunResult {
    double value = 0.0;
    int code = 0;        // 0: no failure
    std::string report;  // the failure as the report box shows it
};

// Functions the bodies call: "stop()" asks the running script to stop, "self(x)" runs the fixture's
// body again with x as its one passed-in value, as a script calling itself would.
class RunnerFunctions final : public FunctionDispatcher {
  public:
    RunnerFunctions(StatementRunner& runner, Evaluator& evaluator) : m_runner(runner), m_evaluator(evaluator) {}
    std::string body;

    double call(CallRecord& call, ErrStat& err) override {
        err.enter();
        const std::string name(call.text + call.namePos, call.text + call.nameEnd);
        if (name == "stop") {
            m_evaluator.scripts().requestCancel();
            return 0.0;
        }
        if (name != "self") return err.fail(Origin{kLetterA, 99, 1}, 1, Msg::UndefinedFunction), 0.0;
        int pos = call.openParen + 1;
        RegisterBlock regs;
        const double x = m_evaluator.evaluate(call.cell, call.text, pos, kParenthesised, regs, err);
        if (err.failed()) return 0.0;
        ScriptFrame frame;
        frame.values = {x, 0.0};
        std::string text = body;
        return m_runner.run(call.cell, text.data(), static_cast<int>(text.size()), frame, err);
    }

  private:
    StatementRunner& m_runner;
    Evaluator& m_evaluator;
};

class Runner : public ::testing::Test {
  protected:
    Runner() { fx.engine.evaluator().setDispatcher(&functions); }
    ~Runner() override { fx.engine.evaluator().setDispatcher(nullptr); }

    RunResult run(const std::string& body, std::vector<double> values = {0, 0, 0}) {
        ScriptFrame frame;
        frame.values = std::move(values);
        frame.localArrays.push_back(LocalArray{std::vector<double>(3, 0.0)});
        frame.localStrings.emplace_back(4);
        functions.body = body;
        std::string text = body;
        ErrStat err;
        RunResult r;
        r.value = runner.run(nullptr, text.data(), static_cast<int>(text.size()), frame, err);
        r.code = err.failed() ? err.code : 0;
        if (err.failed()) r.report = oneLine(true, err, fx.engine.store().scratch());
        EXPECT_EQ(text, body) << "the body text is left as it was";
        EXPECT_FALSE(fx.engine.evaluator().scripts().running());
        return r;
    }

    test::FormulaFixture fx;
    HeadlessPlatform platform;
    StatementRunner runner{fx.engine.evaluator(), &platform};
    RunnerFunctions functions{runner, fx.engine.evaluator()};
};

struct RunCase {
    const char* body;
    double value;
    Msg code;  // Msg::Unlisted: no failure
};

TEST_F(Runner, StatementsAndBlocksRunAsWritten) {
    const RunCase cases[] = {
        {"{}", 0, Msg::Unlisted},
        {"{;;}", 0, Msg::Unlisted},
        {"{#1=0;while(#1<5){++#1;if(#1==3){break;}};return(#1);}", 3, Msg::Unlisted},
        {"{#2=0;for(#1=1;#1<=4;++#1){if(#1==2){continue;};#2+=#1;};return(#2);}", 8, Msg::Unlisted},
        {"{for(#1=0;#1<10;++#1){while(1){if(#1==0){return(7);}}};return(1);}", 7, Msg::Unlisted},
        {"{#1=5;#1++;return(#1);}", 5, Msg::Unlisted},  // #1 plus an empty operand, not an increment
        {"{#1=1;break;continue;#1=2;return(#1);}", 2, Msg::Unlisted},
        {"{#1=0;for(;;){++#1;if(#1==4){break;}};return(#1);}", 4, Msg::Unlisted},
        {"{#2=0;for(#1=0;#1<3;++#1){while(1){++#2;break;}};return(#2);}", 3, Msg::Unlisted},
        {"{#1=0;#2=0;while(#1<5){++#1;if(#1%2){continue;};#2+=#1;};return(#2);}", 6, Msg::Unlisted},
        {"{for(#1=0,#2=10;#1<3;++#1,--#2){};return(#1*100+#2);}", 307, Msg::Unlisted},
        {"{#1=4;return;#1=9;}", 0, Msg::Unlisted},
        {"{return(#1+#2)}", 5, Msg::Unlisted},
        {"{for(#1=1;#1<=3;++#1){#$1[#1]=#1*#1;};return(#$1[1]+#$1[2]+#$1[3]);}", 14, Msg::Unlisted},
        {"{$$1[1]='h';$$1[2]='i';return($$1[2]);}", 'i', Msg::Unlisted},
        // The false branch of a conditional runs once to be measured and again when chosen. A conditional
        // takes the ';' that closes it, so the statement needs one more.
        {"{#1=0;#2=(0)?1:++#1;;return(#1);}", 2, Msg::Unlisted},
        {"{#1=0;#2=(1)?1:++#1;;return(#1);}", 1, Msg::Unlisted},
        {"{#1=0;#2=(1)?1:++#1;return(#1);}", 0, Msg::IllegalOperator},
        {"{#1=2;if(#1==1){return(10);}elseif(#1==2){return(20);}else{return(30);}}", 20, Msg::Unlisted},
        {"{#1=3;if(#1==1){return(10);}elseif(#1==2){return(20);}else{return(30);}}", 30, Msg::Unlisted},
        {"{#1=3;if(#1==1){return(10);}elseif(#1==2){return(20);};return(40);}", 40, Msg::Unlisted},
        {"{if(0){#1=1;}else{#1=2;}elseif(1){#1=3;};return(#1);}", 2, Msg::Unlisted},
        {"{if(1){#1=1;}elseif(1){#1=2;}else{#1=3;}elseif(1){};return(#1);}", 1, Msg::Unlisted},
        {"{if(0){}else{}else{};}", 0, Msg::ElseWithoutIf},
        {"{if(1){}else{}else{};}", 0, Msg::ElseWithoutIf},
        {"{else{}}", 0, Msg::ElseWithoutIf},
        {"{elseif(1){}}", 0, Msg::ElseWithoutIf},
        {"{continuex();}", 0, Msg::UndefinedFunction},  // the whole letter run decides
        {"{if_(1){}}", 0, Msg::MissingParenthesis},
        {"{if#1{}}", 0, Msg::MissingParenthesis},
        {"{while(1);}", 0, Msg::MissingBrace},
        {"{for(#1=0;#1<2){}}", 0, Msg::MissingSemicolon},
        {"{for(#1=0;#1<2;++#1)#2=1;}", 0, Msg::MissingBrace},
        {"{if(1){#1=1;}", 0, Msg::MissingBracket},
        {"{while(1){}", 0, Msg::MissingBracket},
        {"#1=1;", 0, Msg::MissingBrace},
        {"{for(#9=0;;){}}", 0, Msg::StatementError},
        {"{for(;;#9=0){}}", 0, Msg::StatementError},
        {"{#9=1;}", 0, Msg::OutOfRange},
        {"{)}", 0, Msg::SyntaxError},
    };
    for (const RunCase& c : cases) {
        const RunResult r = run(c.body, {2, 3, 0});
        EXPECT_EQ(r.code, codeOf(c.code)) << c.body;
        EXPECT_EQ(r.value, c.code == Msg::Unlisted ? c.value : 0.0) << c.body;
    }
}

// The status line names the evaluator's point; the report names the statement's failure and quotes the
// expression up to where it failed.
TEST_F(Runner, AFailingConditionOrLoopExpressionIsReportedAsTheStatementsFailure) {
    const RunResult r = run("{if(#9){}}");
    EXPECT_EQ(r.code, codeOf(Msg::ConditionError));
    EXPECT_EQ(platform.status().rfind("ERROR A5010-", 0), 0u) << platform.status();
    const std::pair<const char*, const char*> cases[] = {
        {"{if(#9){}}", "ERROR  F9107-1    \"(\" - error evaluating a conditional expression"},
        {"{#1=0;while((1)?#9:0){}}", "ERROR  F9107-1    \"((1)?\" - error evaluating a conditional expression"},
        {"{for(;1/#1;){}}", "ERROR  F9107-1    \"1\" - error evaluating a conditional expression"},
        {"{for(#1=1,#9=0;;){}}", "ERROR  F9105-1    \"\" - error evaluating a statement"},
    };
    for (const auto& [body, report] : cases) EXPECT_EQ(run(body, {0, 0, 0}).report, report) << body;
}

TEST_F(Runner, AStopRequestEndsLoopsAndStatementsWithAReport) {
    EXPECT_EQ(run("{while(1){stop();}}").code, codeOf(Msg::ScriptInterrupted));
    EXPECT_EQ(run("{for(;;){stop();}}").code, codeOf(Msg::ScriptInterrupted));
    EXPECT_EQ(run("{stop();#1=1;}").code, codeOf(Msg::ScriptInterrupted));
    // The request is for the script it stopped; the next call runs.
    EXPECT_EQ(run("{return(4);}").value, 4);
}

// A recalculation calling scripts from many cells is one action: the request ends every call left in it.
TEST_F(Runner, AStopRequestEndsEveryScriptCallOfTheAction) {
    ScriptContext& scripts = fx.engine.evaluator().scripts();
    scripts.beginAction();
    EXPECT_EQ(run("{while(1){stop();}}").code, codeOf(Msg::ScriptInterrupted));
    EXPECT_EQ(run("{return(4);}").code, codeOf(Msg::ScriptInterrupted));
    scripts.endAction();
    scripts.beginAction();
    EXPECT_EQ(run("{return(4);}").value, 4);
    scripts.endAction();
}

TEST_F(Runner, AnEmptyEndlessLoopStopsWhenAnotherThreadAsksIt) {
    ScriptContext& scripts = fx.engine.evaluator().scripts();
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        while (!done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            scripts.requestCancel();
        }
    });
    const RunResult r = run("{while(1){}}");
    done = true;
    stopper.join();
    EXPECT_EQ(r.code, codeOf(Msg::ScriptInterrupted));
}

TEST_F(Runner, RecursionRunsToItsDepthAndEndlessRecursionStopsWithAMessage) {
    const std::string sum = "{if(#1<=0){return(0);};return(#1+self(#1-1));}";
    EXPECT_EQ(run(sum, {200, 0}).value, 20100);
    EXPECT_EQ(run(sum, {kMaxScriptCallDepth - 1.0, 0}).value, 255 * 128);
    EXPECT_EQ(run(sum, {kMaxScriptCallDepth + 0.0, 0}).code, codeOf(Msg::ScriptNestingTooDeep));
    EXPECT_EQ(run("{return(self(#1));}", {1, 0}).code, codeOf(Msg::ScriptNestingTooDeep));
    // Deep blocks in one body are bounded as well.
    std::string deep = "{";
    for (int i = 0; i < 5000; ++i) deep += "if(1){";
    deep += "#1=1;";
    for (int i = 0; i < 5000; ++i) deep += "}";
    deep += "}";
    EXPECT_EQ(run(deep).code, codeOf(Msg::ScriptNestingTooDeep));
    std::string nested = "{#1=" + std::string(5000, '(') + "1" + std::string(5000, ')') + ";}";
    EXPECT_EQ(run(nested).code, codeOf(Msg::ScriptNestingTooDeep));
}

// Random bodies made of the language's own pieces never crash or hang: a stopper thread asks any run
// that takes long to stop.
TEST_F(Runner, RandomBodiesEndWithAValueOrAnError) {
    const char* pieces[] = {
        "{",      "}",  "(",  ")",    ";",    ",",    "if",   "else", "elseif", "while", "for",   "break", "continue",
        "return", "#1", "#2", "#*1[", "#$1[", "$$1[", "$#1[", "~#1",  "]",      "=",     "+=",    "+",     "++",
        "-",      "--", "<",  "==",   "?",    ":",    "0",    "1",    "3",      "'a'",   "self(", "x"};
    std::mt19937 random(20261207);
    ScriptContext& scripts = fx.engine.evaluator().scripts();
    std::atomic<int> current{0};
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        int seen = -1;
        while (!done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const int now = current.load();
            if (now == seen) scripts.requestCancel();
            seen = now;
        }
    });
    for (int i = 0; i < 3000; ++i) {
        current = i;
        std::string body = (i % 4 == 0) ? "" : "{";
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k) body += pieces[random() % std::size(pieces)];
        if (i % 4 != 1) body += "}";
        run(body, {1, 2});
    }
    done = true;
    stopper.join();
}

}  // namespace
}  // namespace qx
