#pragma once
// The application record: start-up directories, workbook defaults, view switches and the fixed tables.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cell_records.h"

namespace qx {

constexpr std::string_view kProductName = "Quorix";
constexpr double kProductVersion = 3.0;
constexpr std::string_view kStandardModeName = "Standard mode";
constexpr std::string_view kEditModeName = "Edit mode";

constexpr int kMinLevelCount = 2;
constexpr int kStartupLevelCount = kMaxLevelCount;  // levels 0..32

// Level 0 is scratch space, so fewer than two levels would leave no worksheet.
constexpr int clampLevelCount(int requested) {
    return requested < kMinLevelCount ? kMinLevelCount : (requested > kMaxLevelCount ? kMaxLevelCount : requested);
}

struct NamedColour {
    std::string_view name;
    uint32_t value;  // 0x00BBGGRR
};

constexpr int kTextColourCount = 16;
constexpr int kBackgroundColourCount = 24;
constexpr int kAppFontCount = 34;
constexpr int kMaxFontNameLength = 32;

extern const std::array<NamedColour, kTextColourCount> kTextColours;
extern const std::array<uint32_t, kBackgroundColourCount> kBackgroundColours;
extern const std::array<std::string_view, kAppFontCount> kAppFontNames;

// What a new level copies, plus the size that a style word's size code 0 stands for.
struct WorkbookDefaults {
    LevelDefaults level;
    uint8_t fontSize = 10;  // points
};

struct ViewSwitches {
    int32_t editBar = 1;
    int32_t buttonBar = 1;
    int32_t columnBar = 1;
    int32_t rowBar = 1;
    int32_t statusBar = 1;
    int32_t comments = 1;
};

// An attached script library as the settings name it, until the libraries themselves are loaded.
struct LibraryRef {
    std::string directory;
    std::string file;
    bool operator==(const LibraryRef&) const = default;
};

struct AppGlobals {
    std::string startDirectory;
    std::string helpFilePath;
    std::string defaultDocumentDirectory;
    std::string defaultWorkbookName;  // "wkbk<N>"
    WorkbookDefaults defaults;
    ViewSwitches view;
    std::string modeName{kStandardModeName};  // the button bar on show
    // The mode read from the settings, written back unchanged; start-up always shows "Standard mode".
    std::string savedModeName;
    std::vector<std::string> recentFiles;  // most recent first
    std::vector<LibraryRef> libraries;
    int32_t autoBackup = 0;
    int32_t backupValue = 0;
    bool settingsMustBeWritten = true;
    bool repaintEnabled = true;

    // Moves `path` to the front of the recent-files list.
    void addRecentFile(const std::string& path);
};

// Inputs of the settings init; the engine never reads the process environment itself.
struct SettingsInitInputs {
    std::string startDirectory;
    std::string documentDirectory;  // empty: the start directory
    std::string installDirectory;   // tried for the help file when it is not in the start directory
};

constexpr std::string_view kHelpFileName = "Quorix.hlp";

void settingsInit(AppGlobals& app, const SettingsInitInputs& in);

// "wkbk<N>" for the first N >= 1 with no "wkbk<N>.qx3" in `directory`.
std::string findDefaultWorkbookName(const std::string& directory);

}  // namespace qx
