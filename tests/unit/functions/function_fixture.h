#pragma once
// The formula fixture with the built-in functions installed and a fixed clock.
#include <string>

#include "functions/function_registry.h"
#include "platform/headless_platform.h"
#include "unit/recalc/recalc_fixture.h"

namespace qx::test {

struct FailCase {
    const char* text;
    int code;
};

class FunctionFixture : public RecalcFixture {
  public:
    template <std::size_t N>
    void expectFailures(const FailCase (&cases)[N]) {
        for (const FailCase& c : cases) EXPECT_EQ(eval(c.text).code, c.code) << c.text;
    }

    FunctionFixture() : registry(FunctionServices{store, engine.entry(), &platform}) {
        DateTime t;
        t.year = 2026;
        t.month = 12;
        t.day = 6;
        t.hour = 13;
        t.minute = 45;
        t.second = 30;
        t.yearDay = 340;
        platform.setNow(t);
        platform.setElapsedMs(1000.0);
        engine.evaluator().setDispatcher(&registry);
    }

    HeadlessPlatform platform;
    FunctionRegistry registry;
};

}  // namespace qx::test
