#pragma once
// The settings file "Quorix.ini": 255-byte blocks of "~~X{...}" records, packed across block
// boundaries, the last block filled with '~'.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/app_globals.h"
#include "core/button_bars.h"
#include "core/err_stat.h"
#include "core/scratch_record.h"

namespace qx {

constexpr std::string_view kSettingsFileName = "Quorix.ini";
constexpr std::size_t kSettingsBlockSize = 255;
constexpr std::size_t kMaxBarRecordName = 80;    // bar names and button labels inside B records
constexpr std::size_t kMaxSettingsField = 4096;  // any other record's text
constexpr std::size_t kMaxSettingsFileSize = std::size_t{16} << 20;

enum class SettingsRead {
    Complete,  // every record read
    Stopped,   // no valid version record first: nothing after it was read, and that is not a failure
    Failed,    // err holds code 39 (or 1 when memory ran out)
};

// Applies the records of `bytes` in order. Records read before a failure stay applied.
SettingsRead parseSettings(std::string_view bytes, AppGlobals& app, ScratchRecord& scratch, BarSet& bars, ErrStat& err);

// The whole file's bytes. Default bars, and texts that could not be read back, are left out.
std::string formatSettings(const AppGlobals& app, const ScratchRecord& scratch, const BarSet& bars);

// Whether a path or name can sit inside a record and be read back unchanged.
bool isSettingsSafeText(std::string_view text);

// Where the settings live: the explicit path; else "Quorix.ini" in the start directory when it is
// there; else $XDG_CONFIG_HOME/quorix/Quorix.ini, with ~/.config standing in for an unset or
// relative XDG_CONFIG_HOME. The caller reads the environment.
std::string settingsFilePath(const std::string& explicitPath, const std::string& startDirectory,
                             const std::string& xdgConfigHome, const std::string& home);

enum class SettingsLoad { Read, Stopped, Missing, Unreadable, Refused };

// Reads the file at start-up. A path that checkPathText refuses is neither read nor renamed and
// counts as a missing file. A missing or unreadable file installs the "Table options" bar and
// asks for a repaint; an unreadable one is first renamed to "<path>.bad" so nothing is lost when
// the settings are written back; a file whose version is not ours is copied there too, since the
// write at shutdown replaces it. "Standard mode" is always the bar on show afterwards.
SettingsLoad loadSettingsFile(const std::string& path, AppGlobals& app, ScratchRecord& scratch, BarSet& bars);

// Writes to a temporary file beside `path`, flushes it to disk and renames it over `path`,
// creating the directory first.
bool saveSettingsFile(const std::string& path, const AppGlobals& app, const ScratchRecord& scratch, const BarSet& bars,
                      ErrStat& err);

}  // namespace qx
