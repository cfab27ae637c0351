#include "app/transfer_commands.h"

#include <string>

#include "app/file_commands.h"
#include "app/session.h"
#include "files/text/text_export.h"
#include "files/text/text_import.h"
#include "protect/protection.h"

namespace qx {
namespace {

// The session's workbook and formula language as the text readers and writers see them, with the
// level's protection asked before cells are added.
struct TransferContext {
    explicit TransferContext(Session& session)
        : port(session.protection(), session.platform(), session.highestLevel()),
          ctx{session.cells(), session.formulas(), session.platform(), port, LevelDefaults{}} {}
    SessionProtectionPort port;
    FileContext ctx;
};

CommandOutcome outcome(ErrStat& err) {
    return err.failed() ? CommandOutcome::Failed : CommandOutcome::Done;
}

const std::string& activeDirectory(Session& session) {
    return session.cells().levelPtr(session.activeLevel())->directory;
}

}  // namespace

const std::vector<FileFilter>& transferFilters() {
    static const std::vector<FileFilter> filters{
        {"Text Files (*.txt)", "*.txt"},
        {"Comma delimited (*.csv)", "*.csv"},
        {"Data Interchange (*.dif)", "*.dif"},
        {"All Files (*.*)", "*.*"},
    };
    return filters;
}

std::optional<std::string_view> withoutWorksheetRefusal(const Command& command) {
    if (command.handler == importCommand) return "You can only import to the active worksheet.";
    if (command.handler == exportCommand) return "You can only export from the active worksheet.";
    return std::nullopt;
}

bool importDocument(Session& session, std::string_view path, ErrStat& err) {
    TransferContext transfer(session);
    const ImportStart at{session.activeLevel(), session.pointer().row, session.pointer().col};
    return importTextFile(transfer.ctx, at, std::string(path), err);
}

bool exportDocument(Session& session, std::string_view path, std::optional<int> width, ErrStat& err) {
    err.enter();
    if (!session.allows(kActionCopyExport)) return true;
    TransferContext transfer(session);
    return exportTextFile(transfer.ctx, session.activeLevel(), session.selection(), std::string(path), width, err);
}

CommandOutcome importCommand(Session& session, ErrStat& err) {
    err.enter();
    const auto choice =
        session.platform().chooseFileOfType("Import", activeDirectory(session), transferFilters(), 0, false);
    if (!choice) return CommandOutcome::Done;
    importDocument(session, choice->path, err);
    return outcome(err);
}

CommandOutcome exportCommand(Session& session, ErrStat& err) {
    err.enter();
    const auto choice =
        session.platform().chooseFileOfType("Export", activeDirectory(session), transferFilters(), 0, true);
    if (!choice) return CommandOutcome::Done;
    std::string path = choice->path;
    // A name typed without extension takes the one of the selected type.
    const std::size_t slash = path.find_last_of("/\\");
    const bool hasExtension = path.find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
    const auto& filters = transferFilters();
    if (!hasExtension && choice->filter >= 0 && choice->filter + 1 < static_cast<int>(filters.size())) {
        path += filters[static_cast<std::size_t>(choice->filter)].pattern.substr(1);
    }
    exportDocument(session, path, std::nullopt, err);
    return outcome(err);
}

}  // namespace qx
