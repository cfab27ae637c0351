#pragma once
// Opening, saving, clearing and renaming: the file names of levels and the workbook, the extension
// table, backups, the questions and messages of each step, directory memory and recent files.
#include <set>
#include <string>
#include <string_view>

#include "core/app_globals.h"
#include "files/load_context.h"

namespace qx {

namespace extcode {
constexpr int kDxf = 4;
constexpr int kBackup = 8;
constexpr int kOldLevel = 9;
constexpr int kLevel = 10;
constexpr int kWorkbook = 11;
}  // namespace extcode

constexpr std::size_t kMaxRecentFiles = 5;
constexpr std::size_t kMaxDocumentName = 32;

// 1..15 for a known extension (compared ignoring case), else 0.
int extensionCode(std::string_view name);
// The name as it is stored: a known extension in its lower-case form.
std::string storedName(std::string_view name);
// The name without its extension.
std::string withoutExtension(std::string_view name);

// A name for a level or workbook: no byte below 32 and none of / \ : * ? < > | ~ ".
bool validDocumentName(std::string_view name);
// The box that refuses such a character.
constexpr std::string_view kIllegalNameCaption = "Illegal Character";
constexpr std::string_view kIllegalNameText =
    "The the following characters are not allowed\nin a Workbook or Worksheet name:\n\n               "
    "/ \\ : * ? < > | ~ \"";

// What the workbook as a whole is saved as and where, and the files it came from this session.
struct WorkbookFileState {
    std::string name;  // without extension
    std::string directory;
    std::string currentDirectory;
    std::set<std::string> ownFiles;  // canonical paths loaded from or saved to
};

class FileFlow {
  public:
    FileFlow(FileContext& ctx, AppGlobals& app, WorkbookFileState& workbook)
        : m_ctx(ctx), m_app(app), m_workbook(workbook) {}

    // Writes the level (".qx2") or the workbook (".qx3", level ignored) through a temporary file that
    // replaces the target only when everything was written and synced. True when saved.
    bool saveFile(int level, const std::string& directory, const std::string& name, bool backup, ErrStat& err);
    // Reads a native file into the level (or the workbook). True when loaded.
    bool loadFile(int level, const std::string& directory, const std::string& name, ErrStat& err);
    // The Open command's flow with its questions; true when the file was loaded.
    bool openFile(int level, bool ask, const std::string& directory, const std::string& name, ErrStat& err);
    // True when cancelled.
    bool savePrompt(int level, bool ask, const std::string& directory, const std::string& name, ErrStat& err);
    // Level 0 clears the workbook. True when cancelled.
    bool clear(int level, bool ask, ErrStat& err);
    // The Save command: the whole workbook under its name. True when saved.
    bool saveWorkbookCommand(ErrStat& err);
    // Level 0 renames the workbook; true when the name was taken.
    bool rename(int level, std::string_view name);

    bool workbookEmpty() const;
    std::string workbookFileName() const { return m_workbook.name + ".qx3"; }

    // Test seam: the save's file fails every write after this many blocks (negative: never).
    int failWritesAfter = -1;

  private:
    bool writeInto(int level, int code, const std::string& path, const std::string& backupPath, ErrStat& err);
    bool readInto(int level, int code, const std::string& path, const std::string& backupPath, bool& cancelled,
                  std::string& kind, ErrStat& err);
    void rememberDirectory(int level, const std::string& directory);
    void addRecent(const std::string& path);
    void defaultLevelName(int level);
    void message(const std::string& caption, const std::string& text);

    FileContext& m_ctx;
    AppGlobals& m_app;
    WorkbookFileState& m_workbook;
};

}  // namespace qx
