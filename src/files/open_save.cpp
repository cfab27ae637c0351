#include "files/open_save.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "core/paths.h"
#include "files/level_reader.h"
#include "files/level_writer.h"
#include "files/origins.h"
#include "files/workbook_file.h"

namespace qx {

using namespace origins::files;
namespace {

constexpr std::array<std::string_view, 15> kExtensions = {".txt", ".s",   ".slb", ".dxf", ".rb5",
                                                          ".csv", ".dif", ".bck", ".qx1", ".qx2",
                                                          ".qx3", ".tbl", ".dat", ".tab", ".mtp"};
constexpr std::string_view kNameRefused = "/\\:*?<>|~\"";
constexpr const char* kTemporarySuffix = ".part";

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t extensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return name.size();
    return dot;
}

std::string withExtension(std::string_view path, std::string_view ext) {
    return std::string(path.substr(0, extensionStart(path))) + std::string(ext);
}

// "The same file" is the same place on disk, whatever way it was named.
std::string canonical(const std::string& path) {
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(std::filesystem::path(path), ec);
    return ec ? path : p.string();
}

// Fails every write after a number of blocks: the save's write errors in tests.
class LimitedSink final : public BlockSink {
  public:
    LimitedSink(BlockSink& inner, int limit) : m_inner(inner), m_limit(limit) {}
    bool writeAt(uint64_t offset, std::string_view bytes) override {
        if (m_limit >= 0 && m_written >= m_limit) return false;
        ++m_written;
        return m_inner.writeAt(offset, bytes);
    }
    bool flush() override { return m_inner.flush(); }

  private:
    BlockSink& m_inner;
    int m_limit;
    int m_written = 0;
};

std::string levelText(const char* pattern, int level, const std::string& path) {
    std::string text(pattern);
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(level));
    const std::size_t s = text.find("%s");
    if (s != std::string::npos) text.replace(s, 2, path);
    return text;
}

}  // namespace

int extensionCode(std::string_view name) {
    const std::size_t start = extensionStart(name);
    std::string ext;
    for (char c : name.substr(start)) ext.push_back(lower(c));
    for (std::size_t i = 0; i < kExtensions.size(); ++i) {
        if (kExtensions[i] == ext) return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string storedName(std::string_view name) {
    const int code = extensionCode(name);
    if (code == 0) return std::string(name);
    return withExtension(name, kExtensions[static_cast<std::size_t>(code - 1)]);
}

std::string withoutExtension(std::string_view name) {
    return std::string(name.substr(0, extensionStart(name)));
}

bool validDocumentName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || kNameRefused.find(c) != std::string_view::npos;
    });
}

bool FileFlow::workbookEmpty() const {
    return m_ctx.store.workbookEmpty();
}

void FileFlow::message(const std::string& caption, const std::string& text) {
    m_ctx.platform.messageBox(caption, text, BoxIcon::Exclamation, BoxButtons::Ok);
}

void FileFlow::addRecent(const std::string& path) {
    m_app.addRecentFile(path);
    if (m_app.recentFiles.size() > kMaxRecentFiles) m_app.recentFiles.resize(kMaxRecentFiles);
}

void FileFlow::rememberDirectory(int level, const std::string& directory) {
    if (directory.empty()) return;
    if (level == 0) {
        m_workbook.directory = directory;
    } else if (LevelRec* rec = m_ctx.store.levelPtr(level)) {
        rec->directory = directory;
    }
    for (int n = 1; n <= m_ctx.store.highestLevel(); ++n) {
        if (m_ctx.store.levelEmpty(n)) m_ctx.store.levelPtr(n)->directory = directory;
    }
    m_workbook.currentDirectory = directory;
}

void FileFlow::defaultLevelName(int level) {
    if (LevelRec* rec = m_ctx.store.levelPtr(level)) rec->defaultFileName = "wksht" + std::to_string(level) + ".qx2";
}

// ---- saving ----

bool FileFlow::writeInto(int level, int code, const std::string& path, const std::string& backupPath, ErrStat& err) {
    FileBlockSink file;
    if (!file.create(path + kTemporarySuffix, err)) return false;
    FileBlockSink backup;
    ErrStat ignored;
    const bool withBackup = !backupPath.empty() && backup.create(backupPath + kTemporarySuffix, ignored);
    LimitedSink limited(file, failWritesAfter);
    BlockStream out(limited, withBackup ? &backup : nullptr);
    const int key = bodyKeyFor(m_ctx.platform.now());
    bool ok = code == extcode::kWorkbook ? writeWorkbookFile(m_ctx, m_workbook.directory, out, key, err)
                                         : writeLevelFile(m_ctx.store, m_ctx.formulas, level, out, key, err);
    if (ok) {
        ok = file.replace(path, err);
    } else {
        file.discard();
    }
    if (withBackup) {
        if (ok && !out.backupFailed()) {
            backup.replace(backupPath, ignored);
        } else {
            backup.discard();
        }
    }
    return ok;
}

bool FileFlow::saveFile(int level, const std::string& directory, const std::string& name, bool backup, ErrStat& err) {
    err.enter();
    const std::string path = joinPath(directory, storedName(name));
    if (!checkPathText(path, err)) return err.trace(kSaveFileOrigin), false;
    removeStaleFile(path + kTemporarySuffix);
    const int code = extensionCode(name);
    const bool workbook = code == extcode::kWorkbook;
    if (workbook ? workbookEmpty() : m_ctx.store.levelEmpty(level)) return false;
    if (code != extcode::kLevel && !workbook) {
        message("WARNING", "Unable to save worksheet to:  " + path + "\n\n(This extension is not supported.)");
        return err.fail(kSaveFileOrigin, 1, Msg::IllegalFileType);
    }
    const std::string backupPath = (m_app.autoBackup && backup) ? withExtension(path, ".bck") : std::string();
    if (!writeInto(workbook ? 0 : level, code, path, backupPath, err)) {
        message("WARNING", levelText("Unable to SAVE all or part of the worksheet at level %d to:\n\n%s",
                                     workbook ? 0 : level, path));
        return err.fail(kSaveFileOrigin, 2, Msg::CannotSaveWorksheet);
    }
    addRecent(path);
    for (int n = 1; n <= m_ctx.store.highestLevel(); ++n) {
        if (workbook || n == level) m_ctx.store.levelPtr(n)->changed = false;
    }
    if (workbook) m_workbook.ownFiles.insert(canonical(path));
    rememberDirectory(workbook ? 0 : level, directory);
    return true;
}

bool FileFlow::saveWorkbookCommand(ErrStat& err) {
    err.enter();
    if (workbookEmpty()) {
        message("WARNING", "The Workbook is empty!");
        return false;
    }
    const std::string path = joinPath(m_workbook.directory, workbookFileName());
    // A file of that name that this workbook never came from or went to is someone else's.
    if (pathExists(path) && !m_workbook.ownFiles.contains(canonical(path)) &&
        m_ctx.platform.messageBox("This File Already Exists!", path + "\n\nDo you want to repalce it?",
                                  BoxIcon::Question, BoxButtons::YesNoCancel) != BoxAnswer::Yes) {
        return false;
    }
    return saveFile(0, m_workbook.directory, workbookFileName(), false, err);
}

bool FileFlow::savePrompt(int level, bool ask, const std::string& directory, const std::string& name, ErrStat& err) {
    err.enter();
    const bool workbook = level == 0;
    if (workbook ? (extensionCode(name) != extcode::kWorkbook || workbookEmpty()) : m_ctx.store.levelEmpty(level)) {
        return false;
    }
    const std::string path = joinPath(directory, name);
    if (!checkPathText(path, err)) return false;
    if (ask) {
        const BoxAnswer answer =
            workbook
                ? m_ctx.platform.messageBox("SAVE WORKBOOK?",
                                            "Do you want to SAVE the data in your existing Workbook to:\n\n    " + path,
                                            BoxIcon::Question, BoxButtons::YesNoCancel)
                : m_ctx.platform.messageBox(
                      "Save Worksheet?",
                      levelText("Do you want to SAVE the data at Level %d to:\n\n      %s", level, path),
                      BoxIcon::Question, BoxButtons::YesNoCancel);
        if (answer == BoxAnswer::Cancel) return true;
        if (answer != BoxAnswer::Yes) return false;
    }
    saveFile(level, directory, name, !workbook, err);
    return false;
}

// ---- loading ----

bool FileFlow::readInto(int level, int code, const std::string& path, const std::string& backupPath, bool& cancelled,
                        std::string& kind, ErrStat& err) {
    FileBlockSource source;
    if (!source.open(path, err)) return err.fail(kLoadFileOrigin, 2, Msg::CannotOpenFile);
    FileBlockSink backup;
    ErrStat ignored;
    const bool withBackup = !backupPath.empty() && backup.create(backupPath + kTemporarySuffix, ignored);
    BlockReader reader;
    bool ok = reader.open(source, withBackup ? &backup : nullptr, err);
    kind = ok ? std::string(1, reader.firstRecord()) : std::string();
    const bool asWorkbook = code == extcode::kWorkbook || (code == extcode::kBackup && kind == "W");
    if (ok && code == extcode::kBackup && kind == "S" && !m_ctx.store.levelEmpty(level)) {
        ok = err.fail(kLoadFileOrigin, 3, Msg::LevelNotCleared);
    }
    if (ok)
        ok = asWorkbook ? readWorkbookFile(m_ctx, reader, cancelled, err)
                        : readLevelFile(m_ctx, reader, level, cancelled, err);
    kind = asWorkbook ? "W" : "S";
    if (withBackup) {
        // The backup takes the whole file, also what the reader did not need, and replaces the old
        // one only once the file has proved readable.
        while (ok && !reader.atEnd()) reader.get();
        if (ok && !cancelled && !reader.backupFailed()) {
            backup.replace(backupPath, ignored);
        } else {
            backup.discard();
        }
    }
    return ok;
}

bool FileFlow::loadFile(int level, const std::string& directory, const std::string& name, ErrStat& err) {
    err.enter();
    const std::string path = joinPath(directory, name);  // the real name: file names are case-sensitive here
    if (!checkPathText(path, err)) return err.trace(kLoadFileOrigin), false;
    removeStaleFile(path + kTemporarySuffix);
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(path, ec);
    if (!regular || std::filesystem::file_size(path, ec) == 0 || ec) {
        return err.fail(kLoadFileOrigin, 1, Msg::FileMissingOrEmpty);
    }
    const int code = extensionCode(name);
    if (code == 0) return err.fail(kLoadFileOrigin, 4, Msg::CannotLoadFile);
    if (code != extcode::kBackup && code != extcode::kLevel && code != extcode::kWorkbook) {
        return err.fail(kLoadFileOrigin, 5, Msg::NotNative);
    }
    if (code == extcode::kLevel && !m_ctx.store.levelEmpty(level)) {
        return err.fail(kLoadFileOrigin, 6, Msg::LevelNotCleared);
    }
    if (code != extcode::kLevel && !workbookEmpty()) return err.fail(kLoadFileOrigin, 7, Msg::WorkbookNotCleared);
    const bool wasEmpty = workbookEmpty();
    const std::string backupPath =
        (m_app.autoBackup && code != extcode::kBackup) ? withExtension(path, ".bck") : std::string();
    bool cancelled = false;
    std::string kind;
    const bool ok = readInto(level, code, path, backupPath, cancelled, kind, err);
    m_ctx.store.scratch().repaintPending = true;
    m_ctx.platform.changed();
    if (!ok) return err.fail(kLoadFileOrigin, 8, Msg::CannotLoadFile);
    if (cancelled) return false;
    const std::string stored = storedName(name);
    if (kind == "W") {
        m_workbook.name = withoutExtension(stored);
        m_workbook.directory = directory;
        if (code == extcode::kWorkbook) m_workbook.ownFiles.insert(canonical(path));
    } else {
        LevelRec* rec = m_ctx.store.levelPtr(level);
        rec->defaultFileName = code == extcode::kBackup ? withoutExtension(stored) + ".qx2" : stored;
        rec->directory = directory;
        if (wasEmpty && level == 1) {
            m_workbook.name = withoutExtension(stored);
            m_workbook.directory = directory;
        }
    }
    rememberDirectory(kind == "W" ? 0 : level, directory);
    return true;
}

bool FileFlow::openFile(int level, bool ask, const std::string& directory, const std::string& name, ErrStat& err) {
    err.enter();
    // Refused before any question: a Yes would save or clear the data for a file that cannot be read.
    if (!checkPathText(joinPath(directory, name), err)) return err.trace(kOpenFlowOrigin), false;
    const bool workbook = extensionCode(name) == extcode::kWorkbook;
    const int target = workbook ? 0 : level;
    const LevelRec* rec = m_ctx.store.levelPtr(level);
    if (!workbook && (rec == nullptr || !m_ctx.store.worksheetLevel(level))) {
        return err.fail(kOpenFlowOrigin, 1, Msg::LevelOutOfRange);
    }
    const bool holdsData = workbook ? !workbookEmpty() : !m_ctx.store.levelEmpty(level);
    // A file that is not there would leave the target cleared for nothing.
    std::error_code ec;
    if (holdsData && (!std::filesystem::is_regular_file(joinPath(directory, name), ec) ||
                      std::filesystem::file_size(joinPath(directory, name), ec) == 0 || ec)) {
        message("WARNING", "Unable to load:\n\n" + joinPath(directory, name));
        return err.fail(kOpenFlowOrigin, 2, Msg::FileMissingOrEmpty);
    }
    const std::string ownPath =
        workbook ? joinPath(m_workbook.directory, workbookFileName()) : joinPath(rec->directory, rec->defaultFileName);
    const bool sameFile = canonical(joinPath(directory, name)) == canonical(ownPath);
    if (holdsData && ask) {
        Platform& ui = m_ctx.platform;
        if (!sameFile) {
            const std::string question =
                workbook ? "You are about to REPLACE the existing Workbook, which means that all levels that currently "
                           "contain data will be cleared.\n\nDo you want to SAVE the current Workbook first?"
                         : levelText(
                               "You are about to REPLACE the data that currently exists at Worksheet Level "
                               "%d.\n\nDo you want to SAVE the existing data first?",
                               level, "");
            const BoxAnswer answer = ui.messageBox("WARNING", question, BoxIcon::Question, BoxButtons::YesNoCancel);
            if (answer == BoxAnswer::Cancel) return false;
            if (answer == BoxAnswer::Yes) {
                const bool saved = workbook ? saveFile(0, m_workbook.directory, workbookFileName(), false, err)
                                            : saveFile(level, rec->directory, rec->defaultFileName, false, err);
                if (!saved) return false;
            }
        } else if (workbook) {
            message("WARNING!",
                    "You are attempting to OPEN a Workbook that has the same name as the Workbook that's currently "
                    "loaded.  As a result, your existing data CAN NOT BE SAVED without destroying the file you are "
                    "trying to open.  To correct the problem, 1) RENAME and SAVE the active Workbook; or 2) CLEAR the "
                    "active Workbook WITHOUT SAVING IT.");
            return false;
        } else if (ui.messageBox("WARNING!",
                                 levelText("You are attempting to OPEN a Worksheet that has the same name as the "
                                           "Worksheet currently loaded at this level (%d).  If you choose to proceed, "
                                           "you will loose any changes since your last SAVE operation. \n\nDo you "
                                           "want to continue?",
                                           level, ""),
                                 BoxIcon::Exclamation, BoxButtons::YesNo) != BoxAnswer::Yes) {
            return false;
        }
    }
    if (holdsData) {
        clear(target, false, err);
        if (err.failed()) {
            if (ask) message("ABORTING!", "An error was detected and was unable to CLEAR the existing data!");
            return false;
        }
    }
    if (!loadFile(level, directory, name, err)) {
        if (err.failed()) message("WARNING", "Unable to load:\n\n" + joinPath(directory, name));
        return false;
    }
    return true;
}

// ---- clearing and naming ----

bool FileFlow::clear(int level, bool ask, ErrStat& err) {
    err.enter();
    if (level != 0) {
        LevelRec* rec = m_ctx.store.levelPtr(level);
        if (rec == nullptr || !m_ctx.store.worksheetLevel(level))
            return err.fail(kClearOrigin, 1, Msg::LevelOutOfRange);
        if (!m_ctx.store.levelEmpty(level) && ask &&
            savePrompt(level, true, rec->directory, rec->defaultFileName, err)) {
            return true;
        }
        // A save that failed keeps the data: clearing now would lose it.
        if (err.failed()) return true;
        resetLevel(m_ctx.store, level, m_ctx.defaults);
        defaultLevelName(level);
        m_ctx.protection.setFlags(level, kDefaultProtectionFlags);
        return false;
    }
    if (!workbookEmpty() && ask && savePrompt(0, true, m_workbook.directory, workbookFileName(), err)) return true;
    if (err.failed()) return true;
    for (int n = 1; n <= m_ctx.store.highestLevel(); ++n) {
        resetLevel(m_ctx.store, n, m_ctx.defaults);
        defaultLevelName(n);
    }
    m_workbook.name = findDefaultWorkbookName(m_workbook.directory);
    m_workbook.ownFiles.clear();
    m_ctx.protection.reset();
    return false;
}

bool FileFlow::rename(int level, std::string_view typed) {
    std::string_view name = typed;
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    name = name.substr(0, kMaxDocumentName);
    if (!validDocumentName(name)) {
        message(std::string(kIllegalNameCaption), std::string(kIllegalNameText));
        return false;
    }
    if (name.empty()) {
        message("Warning", "A valid name was not found.\n\n(The original name was not changed.)");
        return false;
    }
    if (level == 0) {
        m_workbook.name = std::string(name);
        return true;
    }
    LevelRec* rec = m_ctx.store.levelPtr(level);
    if (rec == nullptr) return false;
    rec->defaultFileName = std::string(name) + ".qx2";
    return true;
}

}  // namespace qx
