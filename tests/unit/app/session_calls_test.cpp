#include <gtest/gtest.h>

#include <map>

#include "app/session.h"
#include "platform/headless_platform.h"
#include "unit/core/temp_directory.h"
#include "unit/script/library_builder.h"

namespace qx::library_test {

class SessionCalls : public ::testing::Test {
  protected:
    SessionCalls() { EXPECT_TRUE(session.start(err)); }
    void attach(const std::string& file, const std::vector<TestScript>& scripts) {
        dir.write(file, libraryBytes(scripts));
        ASSERT_NE(session.attachLibrary(dir.file(file), err), kAttachFailed) << err.code;
    }
    // The value of a formula of no cell, or the error's code as a negative number.
    double eval(const std::string& text) {
        ErrStat e;
        const double v = session.evaluate(text, e);
        return e.failed() ? -e.code : v;
    }

    testing::TempDirectory dir;
    HeadlessPlatform platform;
    Session session{platform, SessionOptions{}};
    ErrStat err;
};

TEST_F(SessionCalls, ArgumentsAreBoundByKindAndLocalsStartEmpty) {
    attach("lib.slb", {
                          {"add", "(#,#)", "0,0", "{return(#1+#2);}"},
                          {"twice", "(#)", "1,1,0", "{#$1=#1*2;return(#$1);}"},
                          {"none", "()", "0,0", "{return(7);}"},
                          {"elem2", "(*)", "0,0", "{return(#*1[2]);}"},
                          {"text", "($)", "0,0", "{return(1);}"},
                          {"place", "(~)", "0,0", "{return(~#1+1);}"},
                          {"outer", "()", "1,3,0", "{#$1[2]=5;return(elem2(#$1));}"},
                          {"fresh", "()", "1,3,0", "{#$1[3]=#$1[3]+1;return(#$1[3]);}"},
                      });
    ErrStat e;
    ASSERT_TRUE(session.commitEntry(1, 2, 2, "+41", e).stored);
    ASSERT_TRUE(session.commitEntry(1, 3, 3, "+1", e).stored);
    ASSERT_TRUE(session.select(1, CellArea{3, 3, 3, 3}, e));
    ASSERT_TRUE(session.arraySize(3, false, e));
    const double elements[] = {4, 5, 6};
    ASSERT_TRUE(session.arraySet(elements, e));
    const double wrong = -codeOf(Msg::WrongParameters);
    const std::pair<const char*, double> cases[] = {
        {"+add(1,2)", 3},
        {"+add(1 , 2 )*10", 30},
        {"+twice(4)", 8},
        {"+none()", 7},
        {"+none(1)", wrong},
        {"+add(1)", wrong},
        {"+add(1,2,3)", wrong},
        {"+add()", wrong},
        {"+place([2,2])", 42},
        {"+elem2([3,3])", 5},
        {"+elem2([2,2])", wrong},  // no Array Area
        {"+text(\"x\")", -codeOf(Msg::StringConstantBetweenScripts)},
        {"+text([2,2])", wrong},
        {"+outer()", 5},
        {"+fresh()+fresh()", 2},
        {"+missing(1)", -codeOf(Msg::UndefinedFunction)},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(eval(text), expected) << text;
    for (const ScriptIndexEntry& s : session.libraries().scripts()) EXPECT_EQ(s.runCount, 0) << s.name;
}

TEST_F(SessionCalls, CallWeightsRiseForTheCalledAndFallForTheUnloaded) {
    attach("lib.slb", {{"a"}, {"b"}, {"c"}});
    for (int i = 0; i < 3; ++i) eval("+a()");
    eval("+b()");
    const auto scripts = session.libraries().scripts();
    EXPECT_EQ(scripts[0].callWeight, 66);
    EXPECT_EQ(scripts[1].callWeight, 64);
    EXPECT_EQ(scripts[2].callWeight, 0);
    for (int i = 0; i < 100; ++i) eval("+a()");
    EXPECT_EQ(session.libraries().scripts()[0].callWeight, kMaxCallWeight);
}

TEST_F(SessionCalls, AFullSwapAreaEvictsAndCompactsAndEveryScriptStillGivesItsValue) {
    std::vector<TestScript> scripts = {sizedScript("a", 1000, 1), sizedScript("b", 3000, 2), sizedScript("c", 2000, 3),
                                       sizedScript("d", 2192, 4), sizedScript("e", 1500, 5), sizedScript("f", 700, 6),
                                       sizedScript("g", 4000, 7)};
    ASSERT_TRUE(session.libraries().resizeSwapArea(kSwapAreaMin, err));
    attach("big.slb", scripts);
    const char* order = "abcdaebfgcadgfeb";
    for (const char* p = order; *p != '\0'; ++p) {
        const std::string name(1, *p);
        EXPECT_DOUBLE_EQ(eval("+" + name + "()"), (*p - 'a') + 1) << name;
    }
    // A script calling others keeps its own body while they push each other out.
    dir.write("nest.slb", libraryBytes({{"nest", "()", "0,0", "{return(a()+b()*10+g()*100+d()*1000);}"}}));
    ASSERT_NE(session.attachLibrary(dir.file("nest"), err), kAttachFailed);
    EXPECT_DOUBLE_EQ(eval("+nest()"), 4721);
    for (const ScriptIndexEntry& s : session.libraries().scripts()) EXPECT_EQ(s.runCount, 0) << s.name;
}

TEST_F(SessionCalls, AFailedInnerRunLeavesTheOuterActivationsCounted) {
    attach("lib.slb", {{"outer"}, {"inner"}});
    ScriptCalls& calls = session.scriptCalls();
    ScriptFrame frame;
    ErrStat e;
    ASSERT_TRUE(session.formulas().evaluator().scripts().enter(frame, e));
    ++session.libraries().script(0).runCount;  // "outer" is running
    ++session.libraries().script(1).runCount;
    calls.endCall(1, true);
    EXPECT_EQ(session.libraries().scripts()[0].runCount, 1);
    EXPECT_FALSE(calls.clearRunCounts());
    EXPECT_FALSE(session.libraries().resizeSwapArea(kSwapAreaMax, e));
    EXPECT_FALSE(session.detachLibrary("lib", e));
    session.formulas().evaluator().scripts().leave(frame);
    calls.endCall(0, false);
    EXPECT_EQ(session.libraries().scripts()[0].runCount, 0);
    EXPECT_TRUE(session.detachLibrary("lib", e));
}

}  // namespace qx::library_test
