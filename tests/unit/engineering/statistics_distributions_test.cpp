#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "core/messages.h"
#include "engineering/statistics/numerics.h"
#include "unit/engineering/engineering_fixture.h"

namespace qx::test {
namespace {

class Distributions : public EngineeringFixture, public ::testing::Test {
  public:
    void expectRelative(const ValueCase& c, double tolerance) {
        const Outcome o = eval(c.text);
        EXPECT_EQ(o.code, 0) << c.text;
        EXPECT_NEAR(o.value, c.value, std::fabs(c.value) * tolerance + 1e-300) << c.text;
    }
};

std::string exactText(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// Reference values computed independently at 60 digits (arbitrary-precision incomplete gamma and beta,
// and the inverse error function), rounded to double.
constexpr ValueCase kDistributionReferences[] = {
    {"NormStdDist(-7.5)", 3.1908916729108963e-14},
    {"NormStdDist(-5)", 2.866515718791939e-07},
    {"NormStdDist(-1.96)", 0.024997895148220435},
    {"NormStdDist(-0.5)", 0.3085375387259869},
    {"NormStdDist(0)", 0.5},
    {"NormStdDist(0.3)", 0.6179114221889527},
    {"NormStdDist(1)", 0.8413447460685429},
    {"NormStdDist(2.5)", 0.9937903346742238},
    {"NormStdDist(7)", 0.9999999999987201},
    {"NormStdInv(1e-12)", -7.034483825301132},
    {"NormStdInv(0.001)", -3.0902323061678136},
    {"NormStdInv(0.025)", -1.9599639845400543},
    {"NormStdInv(0.3)", -0.5244005127080408},
    {"NormStdInv(0.75)", 0.6744897501960817},
    {"NormStdInv(0.975)", 1.9599639845400538},
    {"NormStdInv(0.999999)", 4.753424308817087},
    {"ChiSqDist(1,0.5)", 0.5204998778130465},
    {"ChiSqDist(1,3.841458820694124)", 0.95},
    {"ChiSqDist(2,3)", 0.7768698398515702},
    {"ChiSqDist(5,0.1)", 0.00016231661192261503},
    {"ChiSqDist(10,25)", 0.9946544945128659},
    {"ChiSqDist(30,10)", 0.00022625367617675553},
    {"ChiSqDist(100,120)", 0.9155933189063081},
    {"ChiSqDist(1000,1100)", 0.9853855918737048},
    {"ChiSqDist(3,80)", 1.0},
    {"ChiSqInv(1,0.95)", 3.8414588206941245},
    {"ChiSqInv(2,0.5)", 1.3862943611198906},
    {"ChiSqInv(10,0.01)", 2.558212160187206},
    {"ChiSqInv(10,1e-10)", 0.05233106563190541},
    {"ChiSqInv(50,0.999)", 86.66081519040314},
    {"ChiSqInv(1000,0.5)", 999.333412403381},
    {"ChiSqInv(7,0.999999999)", 55.8747810747311},
    {"TDist(1,1,0)", 0.75},
    {"TDist(10,2)", 0.9633059826146299},
    {"TDist(10,2,1)", 0.03669401738537018},
    {"TDist(10,2,2)", 0.07338803477074037},
    {"TDist(5,-3,0)", 0.015049623948731286},
    {"TDist(30,8,1)", 3.1329112378503795e-09},
    {"TDist(2,0.1,0)", 0.53526728079293},
    {"TDist(3,-40,0)", 1.7190340394579263e-05},
    {"TDistInv(10,0.05,2)", 2.228138851986275},
    {"TDistInv(1,0.95,0)", 6.313751514675037},
    {"TDistInv(2,0.975)", 4.302652729749461},
    {"TDistInv(30,1e-10,1)", 9.377489780407142},
    {"TDistInv(4,0.6,0)", 0.27072229470759734},
    {"TDistInv(200,0.5,2)", 0.6757184114042203},
};

// A million degrees of freedom: log-gamma of numbers near 5e5 carries about 1e-10 of rounding.
constexpr ValueCase kHugeDfReferences[] = {
    {"ChiSqDist(999999,1000000)", 0.5004701580118873},
    {"TDist(999999,1.5,1)", 0.06680735911855423},
    {"TDistInv(999999,0.05,2)", 1.9599663568164791},
    {"TDist(5000000,1.5,1)", 0.06680735911855423},  // capped to 999,999
};

TEST_F(Distributions, MatchReferenceValues) {
    for (const ValueCase& c : kDistributionReferences) expectRelative(c, 1e-12);
    for (const ValueCase& c : kHugeDfReferences) expectRelative(c, 1e-8);
}

TEST_F(Distributions, BoundsAndLimits) {
    const ValueCase cases[] = {
        {"NormStdDist(-8)", 0.0},  {"NormStdDist(8)", 1.0},       {"ChiSqInv(5,0)", 0.0},
        {"ChiSqDist(4,0)", 0.0},   {"TDistInv(10,1,0)", 5000000}, {"TDistInv(1,1e-300,1)", 5000000},
        {"TDistInv(10,0.5)", 0.0}, {"TDist(7,0,1)", 0.5},         {"NormStdInv(0.5)", 0.0},
    };
    expectValues(cases);
    // df is truncated, not rounded.
    EXPECT_EQ(eval("ChiSqDist(2.9,3)").value, eval("ChiSqDist(2,3)").value);
}

TEST_F(Distributions, InversesRoundTrip) {
    const double ps[] = {1e-12, 1e-5, 0.01, 0.3, 0.5, 0.9, 0.999, 1 - 1e-9};
    const int dfs[] = {1, 2, 3, 7, 30, 250, 5000};
    for (int df : dfs) {
        for (double p : ps) {
            const std::string x = exactText(eval("ChiSqInv(" + std::to_string(df) + "," + exactText(p) + ")").value);
            const Outcome back = eval("ChiSqDist(" + std::to_string(df) + "," + x + ")");
            EXPECT_NEAR(back.value, p, 1e-12 * p + 1e-15) << "chi-square df " << df << " p " << p;
            if (p < 0.5) continue;
            const double tValue = eval("TDistInv(" + std::to_string(df) + "," + exactText(p) + ")").value;
            if (tValue == 5000000) continue;  // the result's cap
            const std::string t = exactText(tValue);
            const Outcome tBack = eval("TDist(" + std::to_string(df) + "," + t + ")");
            EXPECT_NEAR(tBack.value, p, 1e-13) << "t df " << df << " p " << p;
        }
    }
}

TEST_F(Distributions, TailsAreConsistent) {
    for (const char* args : {"10,2", "3,-1.5", "1,40", "60,0.25"}) {
        const double lower = eval(std::string("TDist(") + args + ")").value;
        const double upper = eval(std::string("TDist(") + args + ",1)").value;
        EXPECT_NEAR(lower + upper, 1.0, 1e-15) << args;
        EXPECT_DOUBLE_EQ(eval(std::string("TDist(") + args + ",2)").value, 2 * upper) << args;
    }
    EXPECT_NEAR(eval("TDist(8,-1.3)").value, eval("TDist(8,1.3,1)").value, 1e-16);
}

TEST_F(Distributions, BadArgumentsReportTheirMessage) {
    const FailCase cases[] = {
        {"ChiSqDist(0,1)", codeOf(SMsg::DfOutOfRange)},
        {"ChiSqDist(2,-1)", codeOf(SMsg::CriticalValueOutOfRange)},
        {"ChiSqDist(2)", codeOf(Msg::WrongParameters)},
        {"ChiSqDist(2,1,3)", codeOf(Msg::WrongParameters)},
        {"ChiSqInv(0.5,0.5)", codeOf(SMsg::DfOutOfRange)},
        {"ChiSqInv(2,1.5)", codeOf(SMsg::ProbabilityOutOfRange)},
        {"ChiSqInv(2,-0.1)", codeOf(SMsg::ProbabilityOutOfRange)},
        {"ChiSqInv(2,1)", codeOf(SMsg::ProbabilityOutOfRange)},
        {"NormStdInv(0)", codeOf(SMsg::ProbabilityOutOfRange)},
        {"NormStdInv(1)", codeOf(SMsg::ProbabilityOutOfRange)},
        {"NormStdDist()", codeOf(Msg::WrongParameters)},
        {"TDist(0,1)", codeOf(SMsg::DfOutOfRange)},
        {"TDist(10,2,3)", codeOf(SMsg::TailOutOfRange)},
        {"TDist(10,2,-1)", codeOf(SMsg::TailOutOfRange)},
        {"TDist(10,2,1,1)", codeOf(Msg::WrongParameters)},
        {"TDistInv(10,0.3)", codeOf(SMsg::CoefficientOutOfRange)},
        {"TDistInv(10,0.8,1)", codeOf(SMsg::CoefficientOutOfRange)},
        {"TDistInv(10,-0.1,2)", codeOf(SMsg::CoefficientOutOfRange)},
        {"TDistInv(0,0.9)", codeOf(SMsg::DfOutOfRange)},
        {"TDistInv(10,0.05,3)", codeOf(SMsg::TailOutOfRange)},
    };
    expectFailures(cases);
}

// The special functions against their closed forms.
TEST(StatisticsNumerics, IncompleteGammaClosedForms) {
    ErrStat err;
    for (double x : {1e-8, 0.3, 1.0, 4.0, 50.0, 700.0}) {
        const stats::GammaTails g1 = stats::gammaTails(1.0, x, err);
        EXPECT_NEAR(g1.lower, -std::expm1(-x), 1e-14 * -std::expm1(-x)) << x;
        EXPECT_NEAR(g1.upper, std::exp(-x), 1e-13 * std::exp(-x)) << x;
        const stats::GammaTails half = stats::gammaTails(0.5, x, err);
        EXPECT_NEAR(half.lower, std::erf(std::sqrt(x)), 1e-14 * std::erf(std::sqrt(x))) << x;
        EXPECT_NEAR(half.upper, std::erfc(std::sqrt(x)), 1e-13 * std::erfc(std::sqrt(x))) << x;
    }
    EXPECT_FALSE(err.failed());
}

TEST(StatisticsNumerics, IncompleteBetaClosedFormsAndInverse) {
    ErrStat err;
    for (double x : {1e-9, 0.01, 0.25, 0.5, 0.8, 0.999}) {
        EXPECT_NEAR(stats::betaRegularized(1.0, 3.5, x, err), -std::expm1(3.5 * std::log1p(-x)), 1e-14) << x;
        EXPECT_NEAR(stats::betaRegularized(2.5, 1.0, x, err), std::pow(x, 2.5), 1e-14 * std::pow(x, 2.5)) << x;
        const double arcsine = 2.0 / std::numbers::pi * std::asin(std::sqrt(x));
        EXPECT_NEAR(stats::betaRegularized(0.5, 0.5, x, err), arcsine, 1e-14 * arcsine) << x;
        for (double a : {0.5, 2.0, 40.0}) {
            const double p = stats::betaRegularized(a, 3.0, x, err);
            // Near 1 the inverse is ill-conditioned: p's rounding alone moves x.
            if (p <= 1e-300 || p >= 0.99) continue;
            EXPECT_NEAR(stats::betaInverse(a, 3.0, p, err), x, 1e-12 * x) << a << " " << x;
        }
    }
    EXPECT_FALSE(err.failed());
}

TEST(StatisticsNumerics, StudentClosedForms) {
    ErrStat err;
    for (double t : {-30.0, -2.0, -0.1, 0.7, 3.0, 1e6}) {
        const stats::StudentTails one = stats::studentTails(1.0, t, err);
        EXPECT_NEAR(one.lower, 0.5 + std::atan(t) / std::numbers::pi, 1e-15) << t;
        // 1/(s(s + |t|)) is the tail beyond |t| without the cancellation of 1/2 − t/(2s).
        const double s = std::sqrt(2.0 + t * t);
        const double beyond = 1.0 / (s * (s + std::fabs(t)));
        const double upperTwo = t > 0 ? beyond : 1.0 - beyond;
        const stats::StudentTails two = stats::studentTails(2.0, t, err);
        EXPECT_NEAR(two.upper, upperTwo, 1e-12 * std::fabs(upperTwo)) << t;
    }
    EXPECT_FALSE(err.failed());
}

}  // namespace
}  // namespace qx::test
