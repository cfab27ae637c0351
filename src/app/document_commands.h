#pragma once
// The File menu's commands that ask the user for a file or a name first: Open, Save As and Rename.
// They ask through the Platform, so the desktop program shows its dialogs and quorix-cli answers
// from its queue.
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "platform/platform.h"

namespace qx {

class Session;

// The type lists of the Open and Save As dialogs, in the order the dialogs show them.
const std::vector<FileFilter>& openFilters();
const std::vector<FileFilter>& saveAsFilters();

// What Save As makes of a typed path under the selected type. When `caption` is set, the path is
// refused with that box and the dialog shows again; otherwise `path` is the file to write.
struct SaveAsCheck {
    std::string path;
    std::string caption;
    std::string text;
};
SaveAsCheck checkSaveAsName(std::string_view typed, std::string_view pattern);

// Opens the worksheet or workbook at `path` onto the active level, asking what the Open command asks.
bool openDocument(Session& session, std::string_view path, ErrStat& err);
// Saves under `path` without asking: a workbook name saves the workbook, any other name the active level.
bool saveDocument(Session& session, std::string_view path, ErrStat& err);

CommandOutcome openCommand(Session& session, ErrStat& err);
CommandOutcome saveAsWorkbookCommand(Session& session, ErrStat& err);
CommandOutcome saveAsWorksheetCommand(Session& session, ErrStat& err);
CommandOutcome renameWorkbookCommand(Session& session, ErrStat& err);
CommandOutcome renameWorksheetCommand(Session& session, ErrStat& err);

}  // namespace qx
