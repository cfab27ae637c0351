#include "core/app_globals.h"

#include <algorithm>

#include "core/paths.h"

namespace qx {

const std::array<NamedColour, kTextColourCount> kTextColours = {{
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
}};

const std::array<uint32_t, kBackgroundColourCount> kBackgroundColours = {
    0xFFFFFF, 0xBFFFFF, 0x00FFFF, 0x0080FF, 0x000080, 0x0000FF, 0xCFCFFF, 0xFF80FF,
    0xFF00FF, 0x800080, 0x008080, 0x008000, 0x00CF00, 0x60FFB2, 0xCFFFCF, 0xFFFF00,
    0x808000, 0x800000, 0xFF0000, 0xF0E0D0, 0xE8E8E8, 0xC0C0C0, 0xA4A0A0, 0x000000,
};

const std::array<std::string_view, kAppFontCount> kAppFontNames = {
    "Arial",
    "Arial Bold",
    "Arial Italic",
    "Arial Bold Italic",
    "Courier New",
    "Courier New Bold",
    "Courier New Italic",
    "Courier New Bold Italic",
    "Times New Roman",
    "Times New Roman Bold",
    "Times New Roman Italic",
    "Times New Roman Bold Italic",
    "Symbol",
    "System",
    "Arial Black",
    "Arial Narrow",
    "Arial Rounded MT Bold",
    "Book Antiqua",
    "Bookman Old Style",
    "Brush Script MT",
    "Century Gothic",
    "Comic Scan MS",
    "Courier",
    "Franklin Gothic Medium",
    "Georgia",
    "Misrosoft Scans Serif",
    "MS LineDraw",
    "MS Sans Serif",
    "MS Serif",
    "Script",
    "Sylfaem",
    "Tahama",
    "Trebuchet MS",
    "Vendana",
};

void AppGlobals::addRecentFile(const std::string& path) {
    std::erase(recentFiles, path);
    recentFiles.insert(recentFiles.begin(), path);
}

std::string findDefaultWorkbookName(const std::string& directory) {
    for (unsigned n = 1;; ++n) {
        std::string name = "wkbk" + std::to_string(n);
        if (!pathExists(joinPath(directory, name + ".qx3"))) return name;
    }
}

void settingsInit(AppGlobals& app, const SettingsInitInputs& in) {
    app.startDirectory = in.startDirectory;
    app.defaultDocumentDirectory = in.documentDirectory.empty() ? in.startDirectory : in.documentDirectory;
    app.helpFilePath = joinPath(in.startDirectory, kHelpFileName);
    if (!isRegularFile(app.helpFilePath) && !in.installDirectory.empty()) {
        const std::string installed = joinPath(in.installDirectory, kHelpFileName);
        if (isRegularFile(installed)) app.helpFilePath = installed;
    }
    app.defaultWorkbookName = findDefaultWorkbookName(app.defaultDocumentDirectory);
    app.settingsMustBeWritten = true;
    app.repaintEnabled = true;
    app.autoBackup = 0;
    app.backupValue = 0;
}

}  // namespace qx
