#pragma once
// Workbook password protection: one password for opening the workbook and entering levels,
// and a permission word per level saying which user actions are allowed there.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qx {

class Platform;

inline constexpr int kPermissionWordCount = 34;      // entry 0: defaults for empty levels
inline constexpr uint32_t kPermissionReset = 4094;   // bits 1..11: all allowed, no password
inline constexpr uint32_t kPermissionBits = 0x0FFF;  // only bits 0..11 mean anything
inline constexpr std::size_t kPasswordSlotSize = 263;
inline constexpr std::size_t kDialogPasswordLength = 10;
inline constexpr std::size_t kPasswordEntryLength = 255;
// Shown in the refusal box; every character of it, the blank included, is refused.
inline constexpr std::string_view kRefusedPasswordSet = "\\ ~ \" ,";

// Bit numbers of a permission word; the user actions 1..9 are checked by their bit.
enum ProtectedAction : int {
    kRequireOpenPassword = 0,  // entry 0 only
    kActionAccess = 1,
    kActionEdit = 2,
    kActionAttributes = 3,
    kActionLayout = 4,
    kActionAddCells = 5,
    kActionSortRows = 6,
    kActionPrint = 7,
    kActionCopyExport = 8,
    kActionSaveLevel = 9,
    kScriptsApplySettings = 10,
};

struct PermissionInfo {
    int bit;
    std::string_view dialogItem;
    std::string_view refusal;  // empty: never refused by text
};

// Every bit the protection dialog shows, in bit order.
std::span<const PermissionInfo> permissionTable();

inline constexpr std::string_view kProtectedCaption = "Protected Operation";
inline constexpr std::string_view kRefusalPrefix = "The Password Protection settings do not allow you to ";
inline constexpr std::string_view kRefusalOther = "The Password Protection settings prohibit this operation.";

// The refusal text for an action, as the refusal box shows it.
std::string refusalText(int action);

class WorkbookPassword {
  public:
    // Keeps what fits the slot: at most kPasswordSlotSize - 1 characters.
    void assign(std::string_view text);
    void clear() { m_text.clear(); }
    const std::string& text() const { return m_text; }
    bool empty() const { return m_text.empty(); }
    // Exact comparison: case matters.
    bool matches(std::string_view answer) const { return answer == m_text; }

  private:
    std::string m_text;
};

constexpr std::array<uint32_t, kPermissionWordCount> resetPermissions() {
    std::array<uint32_t, kPermissionWordCount> words{};
    for (auto& w : words) w = kPermissionReset;
    return words;
}

struct ProtectionSettings {
    WorkbookPassword password;
    std::array<uint32_t, kPermissionWordCount> permissions = resetPermissions();
};

void ResetProtection(ProtectionSettings& settings);

// Stores a permission word (from a file, the dialog or the command line) keeping only its
// meaningful bits; level 1 can always be entered.
void setPermissionWord(ProtectionSettings& settings, int entry, uint32_t word);

// After entry 0 was edited, every empty level from 2 up takes it without the open bit.
// levelEmpty[n] tells whether level n holds no data.
void applyEmptyLevelDefaults(ProtectionSettings& settings, std::span<const bool> levelEmpty);

// Whether the user may perform `action` at `level` (1..levelCount); a refusal shows the
// "Protected Operation" box. A level out of range is refused without a box.
bool CheckAction(const ProtectionSettings& settings, int action, int level, int levelCount, Platform& platform);

// The same check for scripts: a level whose scripts bit is set lets them do everything.
// Refusals are silent; the toolkit reports them.
bool CheckScriptAction(const ProtectionSettings& settings, int action, int level, int levelCount);

// Asks for the password when opening the workbook (level 0) or entering a level needs it;
// true when allowed. A wrong answer shows "Incorrect Password.".
bool AskPassword(const ProtectionSettings& settings, int level, int levelCount, Platform& platform);

// What the dialog keeps of a typed password: a refused character clears the entry, and a
// longer text is cut to kDialogPasswordLength.
struct PasswordEntryCheck {
    std::string accepted;
    std::optional<char> refused;
};
PasswordEntryCheck checkPasswordEntry(std::string_view typed);
bool isRefusedPasswordCharacter(char c);
// The "Illegal Character" box that follows a refused character.
void showIllegalPasswordCharacter(Platform& platform);

}  // namespace qx
