#include "protect/protection.h"

#include <gtest/gtest.h>

#include <array>
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
        if (level == 0) continue;
        for (int action = kActionAccess; action <= kActionSaveLevel; ++action) {
            EXPECT_TRUE(CheckAction(settings, action, level, kLevels, platform));
            EXPECT_TRUE(CheckScriptAction(settings, action, level, kLevels));
        }
    }
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_TRUE(platform.prompts.empty());
}

TEST(Protection, RefusalsShowTheActionText) {
    const std::pair<int, const char*> cases[] = {
        {kActionEdit, "The Password Protection settings do not allow you to EDIT cells at this level."},
        {kActionAddCells, "The Password Protection settings do not allow you to ADD new cells to this worksheet."},
        {kActionSaveLevel, "The Password Protection settings do not allow you to SAVE this worksheet to a .qx2 file."},
        {kRequireOpenPassword, "The Password Protection settings prohibit this operation."},
        {12, "The Password Protection settings prohibit this operation."},
        {-1, "The Password Protection settings prohibit this operation."},
    };
    ProtectionSettings settings;
    settings.permissions[3] = 0;
    for (const auto& [action, text] : cases) {
        RecordingPlatform platform;
        EXPECT_FALSE(CheckAction(settings, action, 3, kLevels, platform)) << action;
        ASSERT_EQ(platform.boxes().size(), 1u);
        EXPECT_EQ(platform.boxes()[0].caption, "Protected Operation");
        EXPECT_EQ(platform.boxes()[0].text, text);
    }
    RecordingPlatform platform;
    for (int level : {0, kLevels + 1, kPermissionWordCount}) {
        EXPECT_FALSE(CheckAction(settings, kActionEdit, level, kLevels, platform)) << level;
        EXPECT_FALSE(CheckScriptAction(settings, kActionEdit, level, kLevels)) << level;
    }
    EXPECT_TRUE(platform.boxes().empty());
}

TEST(Protection, ScriptsAreHeldToTheWordUnlessTheLevelExemptsThem) {
    const uint32_t noEdit = kPermissionReset & ~(1u << kActionEdit);
    const uint32_t noEditNoScripts = noEdit & ~(1u << kScriptsApplySettings);
    ProtectionSettings settings;
    setPermissionWord(settings, 2, noEditNoScripts);
    setPermissionWord(settings, 3, noEdit);
    EXPECT_FALSE(CheckScriptAction(settings, kActionEdit, 2, kLevels));
    EXPECT_TRUE(CheckScriptAction(settings, kActionPrint, 2, kLevels));
    EXPECT_TRUE(CheckScriptAction(settings, kActionEdit, 3, kLevels));
}

TEST(Protection, PasswordIsAskedOnlyWhenItIsNeeded) {
    const uint32_t locked = kPermissionReset & ~(1u << kActionAccess);
    const struct {
        const char* name;
        ProtectionSettings settings;
        int level;
        const char* prompt;  // null: allowed without asking
    } cases[] = {
        {"open bit with empty password", protectedWith("", 0, 1u | kPermissionReset), 0, nullptr},
        {"password without open bit", protectedWith("pw", 0, kPermissionReset), 0, nullptr},
        {"open bit and password", protectedWith("pw", 0, 1u | kPermissionReset), 0,
         "Password required to OPEN Workbook:"},
        {"level access allowed", protectedWith("pw", 4, kPermissionReset), 4, nullptr},
        {"locked level without password", protectedWith("", 4, locked), 4, nullptr},
        {"locked level", protectedWith("pw", 4, locked), 4, "Password required to ACCESS Level 4:"},
        {"level 1 always enterable", protectedWith("pw", 1, locked), 1, nullptr},
        {"level beyond the workbook", protectedWith("pw", 33, locked), 33, nullptr},
    };
    for (const auto& c : cases) {
        RecordingPlatform platform;
        bool allowed = AskPassword(c.settings, c.level, kLevels, platform);
        if (!c.prompt) {
            EXPECT_TRUE(allowed) << c.name;
            EXPECT_TRUE(platform.prompts.empty()) << c.name;
            continue;
        }
        EXPECT_FALSE(allowed) << c.name;  // no answer given: cancelled
        ASSERT_EQ(platform.prompts.size(), 1u) << c.name;
        EXPECT_EQ(platform.prompts[0], c.prompt) << c.name;
    }
}

TEST(Protection, OnlyTheExactPasswordOpens) {
    ProtectionSettings settings = protectedWith("Secret", 0, 1u | kPermissionReset);
    for (const auto& [answer, ok] : {std::pair{"Secret", true}, {"secret", false}, {"Secret ", false}, {"", false}}) {
        RecordingPlatform platform;
        platform.queuePrompt(answer);
        EXPECT_EQ(AskPassword(settings, 0, kLevels, platform), ok) << answer;
        ASSERT_EQ(platform.boxes().size(), ok ? 0u : 1u);
        if (!ok) {
            EXPECT_EQ(platform.boxes()[0].text, "Incorrect Password.");
        }
    }

    std::string longPassword(255, 'k');
    settings.password.assign(longPassword);
    RecordingPlatform platform;
    platform.queuePrompt(longPassword + "extra");
    EXPECT_TRUE(AskPassword(settings, 0, kLevels, platform));
}

TEST(Protection, DialogEntryRefusesCharactersAndCutsAtTen) {
    const struct { std::string typed, accepted; std::optional<char> refused; } cases[] = {
        {"abc", "abc", std::nullopt}, {"12345678901", "1234567890", std::nullopt}, {"two words", "", ' '},
        {"a~b", "", '~'}, {"a,b", "", ','}, {"tab\there", "", '\t'}, {"caf\xe9", "", '\xe9'},
        {"{|}!;", "{|}!;", std::nullopt},
    };
    for (const auto& c : cases) {
        PasswordEntryCheck check = checkPasswordEntry(c.typed);
        EXPECT_EQ(check.accepted, c.accepted) << c.typed;
        EXPECT_EQ(check.refused, c.refused) << c.typed;
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
    EXPECT_EQ(settings.permissions[1], 1u << kActionAccess);

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
