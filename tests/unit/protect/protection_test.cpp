#include "protect/protection.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "platform/headless_platform.h"

namespace qx {
namespace {

constexpr int kLevels = 32;

// Remembers each prompt's text; answers come from the queue (none: cancelled).
class RecordingPlatform final : public HeadlessPlatform {
  public:
    std::optional<std::string> promptText(const std::string& caption, const std::string& prompt, bool hidden) override {
        EXPECT_EQ(caption, "Password Protection");
        EXPECT_TRUE(hidden);
        prompts.push_back(prompt);
        return HeadlessPlatform::promptText(caption, prompt, hidden);
    }
    std::vector<std::string> prompts;
};

ProtectionSettings protectedWith(const std::string& password, int level, uint32_t word) {
    ProtectionSettings settings;
    settings.password.assign(password);
    setPermissionWord(settings, level, word);
    return settings;
}

TEST(Protection, FreshWorkbookAllowsEverythingAndNeverAsks) {
    ProtectionSettings settings;
    RecordingPlatform platform;
    for (int level = 0; level <= kLevels; ++level) {
        EXPECT_TRUE(AskPassword(settings, level, kLevels, platform));
        for (int action = kActionAccess; level > 0 && action <= kActionSaveLevel; ++action) {
            EXPECT_TRUE(CheckAction(settings, action, level, kLevels, platform));
            EXPECT_TRUE(CheckScriptAction(settings, action, level, kLevels));
        }
    }
    EXPECT_TRUE(platform.boxes().empty() && platform.prompts.empty());
}

// EDIT and ADD texts are checked end to end by the golden transcripts.
TEST(Protection, RefusalsShowTheActionTextExceptOutsideTheWorkbookAndForScripts) {
    const std::string other = "The Password Protection settings prohibit this operation.";
    const std::pair<int, std::string> cases[] = {
        {kActionSaveLevel, "The Password Protection settings do not allow you to SAVE this worksheet to a .qx2 file."},
        {kRequireOpenPassword, other},
        {12, other},
        {-1, other}};
    ProtectionSettings settings;
    settings.permissions[3] = 0;
    for (const auto& [action, text] : cases) {
        RecordingPlatform platform;
        EXPECT_FALSE(CheckAction(settings, action, 3, kLevels, platform)) << action;
        ASSERT_EQ(platform.boxes().size(), 1u);
        EXPECT_EQ(platform.boxes()[0].caption + "|" + platform.boxes()[0].text, "Protected Operation|" + text);
    }
    RecordingPlatform platform;
    for (int level : {0, kLevels + 1, kPermissionWordCount}) {
        EXPECT_FALSE(CheckAction(settings, kActionEdit, level, kLevels, platform)) << level;
        EXPECT_FALSE(CheckScriptAction(settings, kActionEdit, level, kLevels)) << level;
    }
    EXPECT_TRUE(platform.boxes().empty());

    // Scripts are held to the word unless the level's scripts bit exempts them.
    const uint32_t noEdit = kPermissionReset & ~(1u << kActionEdit);
    setPermissionWord(settings, 2, noEdit & ~(1u << kScriptsApplySettings));
    setPermissionWord(settings, 3, noEdit);
    EXPECT_FALSE(CheckScriptAction(settings, kActionEdit, 2, kLevels));
    EXPECT_TRUE(CheckScriptAction(settings, kActionPrint, 2, kLevels));
    EXPECT_TRUE(CheckScriptAction(settings, kActionEdit, 3, kLevels));
}

TEST(Protection, PasswordIsAskedOnlyWhenNeededAndOnlyTheExactOneOpens) {
    const uint32_t locked = kPermissionReset & ~(1u << kActionAccess);
    const uint32_t open = 1u | kPermissionReset;
    const std::string openPrompt = "Password required to OPEN Workbook:";
    const std::string longPassword(255, 'k');
    const struct {
        ProtectionSettings settings;
        int level;
        std::optional<std::string> answer;  // none: the prompt is cancelled
        bool allowed;
        std::string prompt;  // empty: not asked
    } cases[] = {
        {protectedWith("", 0, open), 0, {}, true, ""},                // open bit, empty password
        {protectedWith("pw", 0, kPermissionReset), 0, {}, true, ""},  // password, no open bit
        {protectedWith("pw", 0, open), 0, {}, false, openPrompt},
        {protectedWith("pw", 4, kPermissionReset), 4, {}, true, ""},
        {protectedWith("", 4, locked), 4, {}, true, ""},
        {protectedWith("pw", 4, locked), 4, {}, false, "Password required to ACCESS Level 4:"},
        {protectedWith("pw", 1, locked), 1, {}, true, ""},    // level 1 is always enterable
        {protectedWith("pw", 33, locked), 33, {}, true, ""},  // beyond the workbook
        {protectedWith("Secret", 0, open), 0, "Secret", true, openPrompt},
        {protectedWith("Secret", 0, open), 0, "secret", false, openPrompt},
        {protectedWith("Secret", 0, open), 0, "Secret ", false, openPrompt},
        {protectedWith("Secret", 0, open), 0, "", false, openPrompt},
        // A long answer is compared only as far as a password can go.
        {protectedWith(longPassword, 0, open), 0, longPassword + "extra", true, openPrompt},
    };
    for (const auto& c : cases) {
        RecordingPlatform platform;
        if (c.answer) platform.queuePrompt(*c.answer);
        EXPECT_EQ(AskPassword(c.settings, c.level, kLevels, platform), c.allowed) << c.level << " " << c.prompt;
        EXPECT_EQ(platform.prompts, c.prompt.empty() ? std::vector<std::string>{} : std::vector{c.prompt});
        const bool refused = c.answer && !c.allowed;
        ASSERT_EQ(platform.boxes().size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(platform.boxes()[0].text, "Incorrect Password.");
        }
    }
}

TEST(Protection, DialogEntryRefusesCharactersAndCutsAtTen) {
    // The third column is the refused character, 0 for none.
    const std::tuple<std::string, std::string, char> cases[] = {
        {"abc", "abc", 0}, {"12345678901", "1234567890", 0}, {"two words", "", ' '},  {"a~b", "", '~'},
        {"a,b", "", ','},  {"tab\there", "", '\t'},          {"caf\xe9", "", '\xe9'}, {"{|}!;", "{|}!;", 0}};
    for (const auto& [typed, accepted, refused] : cases) {
        PasswordEntryCheck check = checkPasswordEntry(typed);
        EXPECT_EQ(check.accepted, accepted) << typed;
        EXPECT_EQ(check.refused.value_or('\0'), refused) << typed;
    }
    RecordingPlatform platform;
    showIllegalPasswordCharacter(platform);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].caption, "Illegal Character");
    EXPECT_NE(platform.boxes()[0].text.find("\n\n               \\ ~ \" ,\n\n"), std::string::npos);
}

TEST(Protection, WordsKeepMeaningfulBitsEmptyLevelsFollowEntryZeroAndResetRestores) {
    ProtectionSettings settings;
    setPermissionWord(settings, 5, 0xFFFF0000u | 0x24u);
    EXPECT_EQ(settings.permissions[5], 0x24u);
    setPermissionWord(settings, 1, 0);
    EXPECT_EQ(settings.permissions[1], 1u << kActionAccess);  // level 1 keeps its access bit

    setPermissionWord(settings, 0, 1u | (1u << kActionEdit));
    std::array<bool, kLevels + 1> empty;
    empty.fill(true);
    empty[3] = false;
    applyEmptyLevelDefaults(settings, empty);
    EXPECT_EQ(settings.permissions[1], 1u << kActionAccess);
    EXPECT_EQ(settings.permissions[2], 1u << kActionEdit);
    EXPECT_EQ(settings.permissions[3], kPermissionReset);

    settings.password.assign(std::string(400, 'p'));
    EXPECT_EQ(settings.password.text().size(), kPasswordSlotSize - 1);
    ResetProtection(settings);
    EXPECT_TRUE(settings.password.empty());
    for (uint32_t word : settings.permissions) EXPECT_EQ(word, kPermissionReset);
}

}  // namespace
}  // namespace qx
