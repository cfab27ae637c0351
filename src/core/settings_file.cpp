#include "core/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/origins.h"
#include "core/paths.h"

namespace qx {

using namespace origins::core;
namespace {

// ---- reading -------------------------------------------------------------------------------

struct RawRecord {
    char letter = 0;
    std::string_view fields;
};

enum class Scan { Record, End, Bad };

// Records are "~~X{fields}"; a run of '~' that reaches the end of the file is the block filler.
Scan nextRecord(std::string_view bytes, std::size_t& pos, RawRecord& out) {
    const std::size_t start = pos;
    while (pos < bytes.size() && bytes[pos] == '~') ++pos;
    if (pos == bytes.size()) return Scan::End;
    if (pos - start < 2) return Scan::Bad;
    // "~~c" ends the records whatever follows it, with or without braces.
    if (bytes[pos] == 'c') return Scan::End;
    if (pos + 1 >= bytes.size() || bytes[pos + 1] != '{') return Scan::Bad;
    out.letter = bytes[pos];
    const std::size_t open = pos + 2;
    const std::size_t close = bytes.find('}', open);
    if (close == std::string_view::npos) return Scan::Bad;
    out.fields = bytes.substr(open, close - open);
    pos = close + 1;
    return Scan::Record;
}

std::vector<std::string_view> splitFields(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        if (at == std::string_view::npos) break;
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    parts.push_back(text.substr(from));
    return parts;
}

// The whole text must be the number, and it must fit T.
template <typename T>
bool parseNumber(std::string_view text, T& out) {
    using Wide = std::conditional_t<std::is_signed_v<T>, int64_t, uint64_t>;
    Wide wide{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    if (wide < static_cast<Wide>(std::numeric_limits<T>::min()) ||
        wide > static_cast<Wide>(std::numeric_limits<T>::max())) {
        return false;
    }
    out = static_cast<T>(wide);
    return true;
}

// The version must read 3.0 in its units digit and first decimal; anything else is another format.
bool isSupportedVersion(const RawRecord& r) {
    double v = 0;
    const auto [end, ec] = std::from_chars(r.fields.data(), r.fields.data() + r.fields.size(), v);
    if (r.letter != 'C' || ec != std::errc() || end != r.fields.data() + r.fields.size()) return false;
    return std::isfinite(v) && std::floor(v * 10.0) == std::floor(kProductVersion * 10.0);
}

struct NameAndNumber {
    std::string_view name;
    std::string_view number;
};

// "name,number": the number follows the last comma.
bool splitNameAndNumber(std::string_view text, NameAndNumber& out) {
    const std::size_t comma = text.rfind(',');
    if (comma == std::string_view::npos || comma == 0 || comma > kMaxBarRecordName) return false;
    out = {text.substr(0, comma), text.substr(comma + 1)};
    return true;
}

bool readBarRecord(std::string_view fields, BarSet& bars) {
    const auto parts = splitFields(fields, '|');
    NameAndNumber head;
    int32_t count = 0;
    if (!splitNameAndNumber(parts[0], head) || !parseNumber(head.number, count)) return false;
    if (count < 0 || count > kMaxBarButtons || parts.size() != static_cast<std::size_t>(count) + 1) return false;
    std::vector<BarButton> buttons;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        NameAndNumber button;
        uint16_t command = 0;
        if (!splitNameAndNumber(parts[i], button) || !parseNumber(button.number, command)) return false;
        buttons.push_back({std::string(button.name), command});
    }
    // The default bars are built in; a copy in the file, or a bar that no longer fits, is passed over.
    if (isDefaultBarName(head.name)) return true;
    const int shown = bars.shownPlace();
    if (bars.addBar(head.name) == 0) return true;
    for (const auto& b : buttons) bars.addButton(b.label, b.command);
    bars.showBar(bars.bar(shown)->name);
    return true;
}

bool readDefaultsRecord(std::string_view fields, WorkbookDefaults& defaults) {
    const auto f = splitFields(fields, ',');
    if (f.size() != 11) return false;
    LevelDefaults d = defaults.level;
    const bool ok = parseNumber(f[0], d.style) && parseNumber(f[1], d.formulaFlags) && parseNumber(f[2], d.cellFlags) &&
                    parseNumber(f[3], d.precision) && parseNumber(f[4], d.columnWidth) &&
                    parseNumber(f[5], d.rowHeight) && parseNumber(f[6], d.rangePasses) &&
                    parseNumber(f[7], d.background) && parseNumber(f[8], d.displayByte) &&
                    parseNumber(f[9], d.gridLines) && parseNumber(f[10], d.gridColour);
    if (ok) defaults.level = d;
    return ok;
}

bool readViewRecord(std::string_view fields, ViewSwitches& view) {
    const auto f = splitFields(fields, ',');
    if (f.size() != 6) return false;
    ViewSwitches v;
    const bool ok = parseNumber(f[0], v.buttonBar) && parseNumber(f[1], v.editBar) && parseNumber(f[2], v.rowBar) &&
                    parseNumber(f[3], v.columnBar) && parseNumber(f[4], v.statusBar) && parseNumber(f[5], v.comments);
    if (ok) view = v;
    return ok;
}

bool readSwapRecord(std::string_view fields, ScratchRecord& scratch) {
    int64_t size = 0;
    const auto [end, ec] = std::from_chars(fields.data(), fields.data() + fields.size(), size);
    if (end != fields.data() + fields.size() || fields.empty()) return false;
    if (ec == std::errc::result_out_of_range) {
        size = fields.front() == '-' ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    } else if (ec != std::errc()) {
        return false;
    }
    scratch.swapAreaSize = clampSwapAreaSize(size);
    return true;
}

bool readBackupRecord(std::string_view fields, AppGlobals& app) {
    const auto f = splitFields(fields, ',');
    int32_t on = 0;
    int32_t value = app.backupValue;
    if (f.size() > 2 || !parseNumber(f[0], on) || (f.size() == 2 && !parseNumber(f[1], value))) return false;
    app.autoBackup = on;
    app.backupValue = value;
    return true;
}

bool readLibraryRecord(std::string_view fields, AppGlobals& app) {
    SplitPath split = splitPath(fields);
    LibraryRef ref{std::move(split.directory), std::move(split.name)};
    if (ref.file.empty()) return false;
    if (std::find(app.libraries.begin(), app.libraries.end(), ref) == app.libraries.end()) {
        app.libraries.push_back(std::move(ref));
    }
    return true;
}

// False when the record is malformed.
bool applyRecord(const RawRecord& r, AppGlobals& app, ScratchRecord& scratch, BarSet& bars) {
    if (r.letter != 'B' && r.fields.size() > kMaxSettingsField) return false;
    const std::string text(r.fields);
    switch (r.letter) {
        case 'C':
            return true;
        case 'O':
            if (!text.empty()) app.defaultDocumentDirectory = text;
            return true;
        case 'H':
            if (!text.empty()) app.helpFilePath = text;
            return true;
        case 'M':
            app.savedModeName = text;
            return true;
        case 'F':
            if (!text.empty()) app.addRecentFile(text);
            return true;
        case 'B':
            return readBarRecord(r.fields, bars);
        case 'L':
            return readLibraryRecord(r.fields, app);
        case 'G':
            return readDefaultsRecord(r.fields, app.defaults);
        case 'V':
            return readViewRecord(r.fields, app.view);
        case 'S':
            return readSwapRecord(r.fields, scratch);
        case 'U':
            return readBackupRecord(r.fields, app);
        default:
            return false;
    }
}

SettingsRead failRead(ErrStat& err, int32_t point, Msg code) {
    err.fail(kSettingsReadOrigin, point, code);
    return SettingsRead::Failed;
}

// ---- writing -------------------------------------------------------------------------------

template <typename T>
void appendNumber(std::string& out, T value) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, end);
}

void appendTextRecord(std::string& out, char letter, std::string_view text) {
    if (text.empty() || !isSettingsSafeText(text)) return;
    out.append("~~").push_back(letter);
    out.append("{").append(text).append("}");
}

template <typename... T>
void appendNumberRecord(std::string& out, char letter, T... values) {
    out.append("~~").push_back(letter);
    out.push_back('{');
    bool first = true;
    ((out.append(first ? "" : ","), appendNumber(out, values), first = false), ...);
    out.push_back('}');
}

bool isRecordName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxBarRecordName && illegalBarNameChar(name) == '\0';
}

void appendBarRecord(std::string& out, const ButtonBar& bar) {
    if (bar.isDefault() || !isRecordName(bar.name)) return;
    std::vector<const BarButton*> buttons;
    for (const auto& b : bar.buttons) {
        if (isRecordName(b.label)) buttons.push_back(&b);
    }
    out.append("~~B{").append(bar.name).push_back(',');
    appendNumber(out, buttons.size());
    for (const BarButton* b : buttons) {
        out.append("|").append(b->label).push_back(',');
        appendNumber(out, b->command);
    }
    out.push_back('}');
}

void appendVersionRecord(std::string& out) {
    char buf[16];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, kProductVersion, std::chars_format::fixed, 2);
    out.append("~~C{").append(buf, end).push_back('}');
}

// ---- file handling -------------------------------------------------------------------------

enum class FileRead { Ok, Missing, TooLarge, Refused };

FileRead readWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return FileRead::Missing;
    char buf[4096];
    std::size_t n = 0;
    FileRead result = FileRead::Ok;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > kMaxSettingsFileSize) {
            result = FileRead::TooLarge;
            break;
        }
        bytes.append(buf, n);
    }
    if (result == FileRead::Ok && std::ferror(f)) result = FileRead::Missing;
    std::fclose(f);
    return result;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A symbolic link is followed, so the file it names is replaced and the link stays.
std::string replacementTarget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

bool replaceFile(const std::string& path, std::string_view bytes, ErrStat& err) {
    const std::string target = replacementTarget(path);
    const std::string directory = splitPath(target).directory;
    std::error_code ec;
    if (!directory.empty()) std::filesystem::create_directories(directory, ec);
    if (ec) return err.fail(kSettingsWriteOrigin, 1, Msg::CannotOpenFile);
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return err.fail(kSettingsWriteOrigin, 2, Msg::CannotOpenFile);
    struct stat old {};
    ::fchmod(fd, ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return err.fail(kSettingsWriteOrigin, 3, Msg::IoError);
    }
    return true;
}

void installDefaultSettings(ScratchRecord& scratch, BarSet& bars) {
    bars.installTableOptions();
    scratch.repaintPending = true;
}

}  // namespace

bool isSettingsSafeText(std::string_view text) {
    constexpr std::string_view kRefused = "\"~{}|,";
    if (text.size() > kMaxSettingsField) return false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte > 126 || kRefused.find(c) != std::string_view::npos) return false;
    }
    return true;
}

SettingsRead parseSettings(std::string_view bytes, AppGlobals& app, ScratchRecord& scratch, BarSet& bars,
                           ErrStat& err) {
    err.enter();
    if (bytes.substr(0, 2) != "~~") return failRead(err, 1, Msg::IllegalFileType);
    if (bytes.size() > kMaxSettingsFileSize) return failRead(err, 2, Msg::IllegalFileType);
    try {
        std::size_t pos = 0;
        RawRecord record;
        if (nextRecord(bytes, pos, record) != Scan::Record || !isSupportedVersion(record)) {
            return SettingsRead::Stopped;
        }
        for (;;) {
            const Scan scan = nextRecord(bytes, pos, record);
            if (scan == Scan::End) return SettingsRead::Complete;
            if (scan == Scan::Bad) return failRead(err, 3, Msg::IllegalFileType);
            if (!applyRecord(record, app, scratch, bars)) return failRead(err, 4, Msg::IllegalFileType);
        }
    } catch (const std::bad_alloc&) {
        return failRead(err, 5, Msg::OutOfMemory);
    }
}

std::string formatSettings(const AppGlobals& app, const ScratchRecord& scratch, const BarSet& bars) {
    std::string out;
    appendVersionRecord(out);
    appendTextRecord(out, 'O', app.defaultDocumentDirectory);
    appendTextRecord(out, 'H', app.helpFilePath);
    for (int place : bars.places()) appendBarRecord(out, *bars.bar(place));
    const bool keepMode = !app.savedModeName.empty() && isSettingsSafeText(app.savedModeName);
    appendTextRecord(out, 'M', keepMode ? app.savedModeName : app.modeName);
    for (auto it = app.recentFiles.rbegin(); it != app.recentFiles.rend(); ++it) appendTextRecord(out, 'F', *it);
    for (const auto& lib : app.libraries) {
        const bool plainFile = lib.file.find_first_of("/\\") == std::string::npos;
        if (plainFile && isSettingsSafeText(lib.directory)) appendTextRecord(out, 'L', lib.directory + '\\' + lib.file);
    }
    const LevelDefaults& d = app.defaults.level;
    appendNumberRecord(out, 'G', d.style, d.formulaFlags, d.cellFlags, d.precision, d.columnWidth, d.rowHeight,
                       d.rangePasses, d.background, d.displayByte, d.gridLines, d.gridColour);
    const ViewSwitches& v = app.view;
    appendNumberRecord(out, 'V', v.buttonBar, v.editBar, v.rowBar, v.columnBar, v.statusBar, v.comments);
    appendNumberRecord(out, 'S', scratch.swapAreaSize);
    appendNumberRecord(out, 'U', app.autoBackup, app.backupValue);
    if (const std::size_t rest = out.size() % kSettingsBlockSize; rest != 0) {
        out.append(kSettingsBlockSize - rest, '~');
    }
    return out;
}

std::string settingsFilePath(const std::string& explicitPath, const std::string& startDirectory,
                             const std::string& xdgConfigHome, const std::string& home) {
    if (!explicitPath.empty()) return explicitPath;
    const std::string beside = joinPath(startDirectory, kSettingsFileName);
    if (isRegularFile(beside)) return beside;
    std::string config = xdgConfigHome;
    if (config.empty() || config.front() != '/') {
        if (home.empty()) return beside;
        config = joinPath(home, ".config");
    }
    return joinPath(joinPath(config, "quorix"), kSettingsFileName);
}

SettingsLoad loadSettingsFile(const std::string& path, AppGlobals& app, ScratchRecord& scratch, BarSet& bars) {
    SettingsLoad outcome = SettingsLoad::Read;
    std::string bytes;
    ErrStat refused;
    const FileRead file = checkPathText(path, refused) ? readWholeFile(path, bytes) : FileRead::Refused;
    if (file == FileRead::Missing || file == FileRead::Refused) {
        installDefaultSettings(scratch, bars);
        outcome = file == FileRead::Refused ? SettingsLoad::Refused : SettingsLoad::Missing;
    } else {
        ErrStat own;
        const SettingsRead read =
            file == FileRead::TooLarge ? SettingsRead::Failed : parseSettings(bytes, app, scratch, bars, own);
        if (read == SettingsRead::Failed) {
            std::error_code ec;
            std::filesystem::rename(path, path + ".bad", ec);
            installDefaultSettings(scratch, bars);
            outcome = SettingsLoad::Unreadable;
        } else if (read == SettingsRead::Stopped) {
            // Another version's file is written over at shutdown; keep a copy so its settings survive.
            std::error_code ec;
            std::filesystem::copy_file(path, path + ".bad", std::filesystem::copy_options::overwrite_existing, ec);
            outcome = SettingsLoad::Stopped;
        }
    }
    bars.showBar(kStandardModeName);
    app.modeName = kStandardModeName;
    return outcome;
}

bool saveSettingsFile(const std::string& path, const AppGlobals& app, const ScratchRecord& scratch, const BarSet& bars,
                      ErrStat& err) {
    err.enter();
    if (!checkPathText(path, err)) return err.trace(kSettingsWriteOrigin), false;
    try {
        return replaceFile(path, formatSettings(app, scratch, bars), err);
    } catch (const std::bad_alloc&) {
        return err.fail(kSettingsWriteOrigin, 4, Msg::OutOfMemory);
    }
}

}  // namespace qx
