#include "platform/headless_platform.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// Yes/No questions and Ok boxes are also checked end to end by the golden transcripts.
TEST(HeadlessPlatform, PolicyAnswerMapsOntoEachButtonSet) {
    const struct {
        BoxButtons buttons;
        PolicyAnswer policy;
        BoxAnswer expected;
    } cases[] = {
        {BoxButtons::Ok, PolicyAnswer::No, BoxAnswer::Ok},
        {BoxButtons::Ok, PolicyAnswer::Cancel, BoxAnswer::Ok},
        {BoxButtons::YesNo, PolicyAnswer::Cancel, BoxAnswer::No},
        {BoxButtons::YesNoCancel, PolicyAnswer::Yes, BoxAnswer::Yes},
        {BoxButtons::YesNoCancel, PolicyAnswer::No, BoxAnswer::No},
        {BoxButtons::YesNoCancel, PolicyAnswer::Cancel, BoxAnswer::Cancel},
        {BoxButtons::OkCancel, PolicyAnswer::Yes, BoxAnswer::Ok},
        {BoxButtons::OkCancel, PolicyAnswer::No, BoxAnswer::Cancel},
        {BoxButtons::OkCancel, PolicyAnswer::Cancel, BoxAnswer::Cancel},
    };
    for (const auto& c : cases) {
        HeadlessPlatform p;
        p.setPolicy(c.policy);
        EXPECT_EQ(p.messageBox("c", "t", BoxIcon::Question, c.buttons), c.expected);
        ASSERT_EQ(p.boxes().size(), 1u);
        EXPECT_EQ(p.boxes()[0].answer, c.expected);
    }
}

TEST(HeadlessPlatform, QueuedAnswersComeFirstAndOkBoxesDoNotUseThem) {
    HeadlessPlatform p;
    p.setPolicy(PolicyAnswer::Cancel);
    p.queueAnswer(PolicyAnswer::No);
    p.queueAnswer(PolicyAnswer::Yes);
    std::vector<std::string> seen;
    p.setObserver([&](const RecordedBox& b) { seen.push_back(b.caption); });
    EXPECT_EQ(p.messageBox("a", "", BoxIcon::Exclamation, BoxButtons::Ok), BoxAnswer::Ok);
    EXPECT_EQ(p.messageBox("b", "", BoxIcon::Question, BoxButtons::YesNo), BoxAnswer::No);
    EXPECT_EQ(p.messageBox("c", "", BoxIcon::Question, BoxButtons::YesNoCancel), BoxAnswer::Yes);
    EXPECT_EQ(p.messageBox("d", "", BoxIcon::Question, BoxButtons::YesNoCancel), BoxAnswer::Cancel);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(p.boxes().size(), 4u);
}

TEST(HeadlessPlatform, PromptsAndFilesComeFromQueuesThenCancel) {
    HeadlessPlatform p;
    p.queuePrompt("secret");
    p.queueFile("/tmp/a.qx2");
    EXPECT_EQ(p.promptText("Password", "Enter", true), "secret");
    EXPECT_EQ(p.promptText("Password", "Enter", true), std::nullopt);
    EXPECT_EQ(p.chooseFile("Open", "/tmp", "*.qx2", false), "/tmp/a.qx2");
    EXPECT_EQ(p.chooseFile("Open", "/tmp", "*.qx2", false), std::nullopt);
}

TEST(HeadlessPlatform, BoxesPrintAsTheCommandLineShowsThem) {
    const struct {
        RecordedBox box;
        const char* expected;
    } cases[] = {
        {{"Q", "line1\nline2", BoxIcon::Question, BoxButtons::YesNo, BoxAnswer::No},
         "MSG [Q] line1\\nline2\nANSWER no\n"},
        {{"Q", "", BoxIcon::Question, BoxButtons::OkCancel, BoxAnswer::Ok}, "MSG [Q] \nANSWER yes\n"},
        {{"Q", "x", BoxIcon::Question, BoxButtons::OkCancel, BoxAnswer::Cancel}, "MSG [Q] x\nANSWER cancel\n"},
        {{"Q", "x", BoxIcon::Question, BoxButtons::YesNoCancel, BoxAnswer::Yes}, "MSG [Q] x\nANSWER yes\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatBox(c.box), c.expected);
}

}  // namespace
}  // namespace qx
