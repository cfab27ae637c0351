#pragma once
// The File menu's Import and Export: text, comma-separated and Data Interchange files read in at the
// cell pointer and written from the selection of the active level.
#include <optional>
#include <string_view>
#include <vector>

#include "app/command_table.h"
#include "platform/platform.h"

namespace qx {

class Session;

// The type list of the Import and Export dialogs.
const std::vector<FileFilter>& transferFilters();

// Imports the file at the pointer of the active level. False when the import failed.
bool importDocument(Session& session, std::string_view path, ErrStat& err);
// Exports the selection of the active level; without `width` the Line Width dialog asks for one.
// False when the export failed; a refusal of the level's protection is no failure.
bool exportDocument(Session& session, std::string_view path, std::optional<int> width, ErrStat& err);

// What the Import or Export command says when no worksheet window is active; none for other commands.
// The session always has an active level, so only a front end that can close every worksheet window
// meets this.
std::optional<std::string_view> withoutWorksheetRefusal(const Command& command);

CommandOutcome importCommand(Session& session, ErrStat& err);
CommandOutcome exportCommand(Session& session, ErrStat& err);

}  // namespace qx
