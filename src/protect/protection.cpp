#include "protect/protection.h"

#include <string>

#include "platform/platform.h"
#include "core/slot.h"

namespace qx {

namespace {

constexpr std::array<PermissionInfo, 11> kPermissions{{
    {kRequireOpenPassword, "Require password to OPEN Workbook", ""},
    {kActionAccess, "Access (without a password)", "ACCESS this level without a password."},
    {kActionEdit, "Edit Mode", "EDIT cells at this level."},
    {kActionAttributes, "Change cell attributes", "change the ATTRIBUTES of cells at this level."},
    {kActionLayout, "Change worksheet layout ", "change the LAYOUT of this worksheet."},
    {kActionAddCells, "Add new cells", "ADD new cells to this worksheet."},
    {kActionSortRows, "Sort row data", "SORT row data at this level."},
    {kActionPrint, "Print cell data", "PRINT data at this level."},
    {kActionCopyExport, "Copy / Export data", "COPY or EXPORT data at this level."},
    {kActionSaveLevel, "Save (.qx2) files", "SAVE this worksheet to a .qx2 file."},
    {kScriptsApplySettings, "Scripts (apply settings)", ""},
}};

constexpr std::string_view kPasswordCaption = "Password Protection";
constexpr std::string_view kWarningCaption = "WARNING";
constexpr std::string_view kIncorrectPassword = "Incorrect Password.";
constexpr std::string_view kIllegalCharacterCaption = "Illegal Character";

bool levelInRange(int level, int levelCount) {
    return level >= 1 && level <= levelCount && level < kPermissionWordCount;
}

bool hasBit(uint32_t word, int bit) {
    return bit >= 0 && bit <= 11 && (word >> bit & 1u) != 0;
}

}  // namespace

std::span<const PermissionInfo> permissionTable() {
    return kPermissions;
}

std::string refusalText(int action) {
    if (action < kActionAccess || action > kActionSaveLevel) return std::string(kRefusalOther);
    return std::string(kRefusalPrefix).append(slot(kPermissions, action).refusal);
}

void WorkbookPassword::assign(std::string_view text) {
    m_text.assign(text.substr(0, kPasswordSlotSize - 1));
}

void ResetProtection(ProtectionSettings& settings) {
    settings.password.clear();
    settings.permissions = resetPermissions();
}

void setPermissionWord(ProtectionSettings& settings, int entry, uint32_t word) {
    if (entry < 0 || entry >= kPermissionWordCount) return;
    word &= kPermissionBits;
    if (entry == 1) word |= 1u << kActionAccess;
    slot(settings.permissions, entry) = word;
}

void applyEmptyLevelDefaults(ProtectionSettings& settings, std::span<const bool> levelEmpty) {
    uint32_t word = settings.permissions[0] & ~(1u << kRequireOpenPassword);
    for (std::size_t level = 2; level < levelEmpty.size() && level < settings.permissions.size(); ++level) {
        if (levelEmpty[level]) settings.permissions[level] = word;
    }
}

bool CheckAction(const ProtectionSettings& settings, int action, int level, int levelCount, Platform& platform) {
    if (!levelInRange(level, levelCount)) return false;
    if (hasBit(slot(settings.permissions, level), action)) return true;
    platform.messageBox(std::string(kProtectedCaption), refusalText(action), BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
}

bool CheckScriptAction(const ProtectionSettings& settings, int action, int level, int levelCount) {
    if (!levelInRange(level, levelCount)) return false;
    uint32_t word = slot(settings.permissions, level);
    return hasBit(word, kScriptsApplySettings) || hasBit(word, action);
}

bool AskPassword(const ProtectionSettings& settings, int level, int levelCount, Platform& platform) {
    if (settings.password.empty()) return true;
    std::string prompt;
    if (level == 0) {
        if (!hasBit(settings.permissions[0], kRequireOpenPassword)) return true;
        prompt = "Password required to OPEN Workbook:";
    } else {
        // Level 1 is where a protected workbook opens, so it never locks the user out.
        if (!levelInRange(level, levelCount) || level == 1) return true;
        if (hasBit(slot(settings.permissions, level), kActionAccess)) return true;
        prompt = "Password required to ACCESS Level " + std::to_string(level) + ":";
    }
    std::optional<std::string> answer = platform.promptText(std::string(kPasswordCaption), prompt, true);
    if (!answer) return false;
    if (settings.password.matches(std::string_view(*answer).substr(0, kPasswordEntryLength))) return true;
    platform.messageBox(std::string(kWarningCaption), std::string(kIncorrectPassword), BoxIcon::Exclamation,
                        BoxButtons::Ok);
    return false;
}

bool isRefusedPasswordCharacter(char c) {
    // Bytes from 127 up would not survive the character rules of the saved workbook.
    auto u = static_cast<unsigned char>(c);
    return u < 32 || u >= 127 || kRefusedPasswordSet.find(c) != std::string_view::npos;
}

PasswordEntryCheck checkPasswordEntry(std::string_view typed) {
    for (char c : typed) {
        if (isRefusedPasswordCharacter(c)) return {std::string(), c};
    }
    return {std::string(typed.substr(0, kDialogPasswordLength)), std::nullopt};
}

void showIllegalPasswordCharacter(Platform& platform) {
    std::string text = "The the following characters are not   \nallowed in a password:\n\n               ";
    text.append(kRefusedPasswordSet).append("\n\nPlease re-enter the password.");
    platform.messageBox(std::string(kIllegalCharacterCaption), text, BoxIcon::Exclamation, BoxButtons::Ok);
}

}  // namespace qx
