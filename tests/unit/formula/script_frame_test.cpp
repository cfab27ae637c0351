#include "formula/script_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx {
namespace {

TEST(ScriptContext, NestingStopsAtTheLimitAndUnwindsToNoScript) {
    ScriptContext context;
    std::vector<ScriptFrame> frames(kMaxScriptCallDepth + 1);
    ErrStat err;
    for (int i = 0; i < kMaxScriptCallDepth; ++i) ASSERT_TRUE(context.enter(frames[static_cast<size_t>(i)], err));
    EXPECT_FALSE(context.enter(frames.back(), err));
    EXPECT_TRUE(err.is(Msg::ScriptNestingTooDeep));
    EXPECT_EQ(context.current(), &frames[kMaxScriptCallDepth - 1]);
    for (int i = kMaxScriptCallDepth - 1; i >= 0; --i) context.leave(frames[static_cast<size_t>(i)]);
    EXPECT_FALSE(context.running());
    EXPECT_EQ(context.depth(), 0);
}

}  // namespace
}  // namespace qx
