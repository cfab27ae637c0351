#include "app/document_commands.h"

#include <algorithm>
#include <cctype>

#include "app/session.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "protect/protection.h"

namespace qx {
namespace {

constexpr std::string_view kNameRefused = "/\\:*?<>|~\"";
// A directory may hold ':' and '\\' (a path written with backslashes), but none of the rest.
constexpr std::string_view kDirectoryRefused = "*?<>|~\"";
constexpr std::string_view kRefusedShown = "/ \\ : * ? < > | ~ \"";

bool refusedIn(std::string_view text, std::string_view refused) {
    return std::any_of(text.begin(), text.end(), [refused](char c) {
        return static_cast<unsigned char>(c) < 32 || refused.find(c) != std::string_view::npos;
    });
}

std::string lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// ".qx3" of "*.qx3"; empty for "*.*" and anything that names no single extension.
std::string patternExtension(std::string_view pattern) {
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*." || pattern == "*.*") return {};
    return std::string(pattern.substr(1));
}

// The extension of a file name with its dot, or empty.
std::string_view nameExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot);
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

SaveAsCheck refusal(std::string caption, std::string text) {
    return SaveAsCheck{{}, std::move(caption), std::move(text)};
}

CommandOutcome outcome(ErrStat& err) {
    return err.failed() ? CommandOutcome::Failed : CommandOutcome::Done;
}

CommandOutcome saveAs(Session& session, bool workbookEntry, ErrStat& err) {
    err.enter();
    Platform& platform = session.platform();
    const WorkbookFileState& book = session.workbookFiles();
    const LevelRec* level = session.cells().levelPtr(session.activeLevel());
    const std::string directory = workbookEntry ? book.directory : level->directory;
    int filter = workbookEntry ? 0 : 1;
    while (true) {
        const auto choice = platform.chooseFileOfType("Save As", directory, saveAsFilters(), filter, true);
        if (!choice) return CommandOutcome::Done;
        filter = std::clamp(choice->filter, 0, static_cast<int>(saveAsFilters().size()) - 1);
        const SaveAsCheck check =
            checkSaveAsName(choice->path, saveAsFilters()[static_cast<std::size_t>(filter)].pattern);
        if (!check.caption.empty()) {
            messageBox(platform, check.text, check.caption, BoxIcon::Exclamation, BoxButtons::Ok);
            continue;
        }
        if (pathExists(check.path)) {
            const BoxAnswer answer =
                messageBox(platform, check.path + "\n\nDo you want to repalce it?", "This File Already Exists!",
                           BoxIcon::Question, BoxButtons::YesNoCancel);
            if (answer == BoxAnswer::No) continue;
            if (answer != BoxAnswer::Yes) return CommandOutcome::Done;
        }
        const SplitPath where = splitPath(check.path);
        const bool workbook = extensionCode(where.name) == extcode::kWorkbook;
        // An empty active level must not stop a workbook that holds data elsewhere from being saved.
        if (workbook && session.files().workbookEmpty()) {
            messageBox(platform, "The Workbook is empty!", "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
            return CommandOutcome::Done;
        }
        if (!workbook && !session.allows(kActionSaveLevel)) return CommandOutcome::Done;
        session.files().savePrompt(workbook ? 0 : session.activeLevel(), false, where.directory, where.name, err);
        return outcome(err);
    }
}

CommandOutcome renameDocument(Session& session, int level, ErrStat& err) {
    err.enter();
    const std::string caption = std::string(level == 0 ? "Rename Workbook" : "Rename Worksheet") + " (max " +
                                std::to_string(kMaxDocumentName) + " chars)";
    const auto typed = session.platform().promptText(caption, "", false);
    if (typed) session.files().rename(level, *typed);
    return CommandOutcome::Done;
}

}  // namespace

const std::vector<FileFilter>& openFilters() {
    static const std::vector<FileFilter> filters{
        {"Quorix Workbook (*.qx3)", "*.qx3"}, {"Quorix Worksheet (*.qx2)", "*.qx2"},
        {"Quorix (*.qx1)", "*.qx1"},          {"Backup Files (*.bck)", "*.bck"},
        {"All Files (*.*)", "*.*"},
    };
    return filters;
}

const std::vector<FileFilter>& saveAsFilters() {
    static const std::vector<FileFilter> filters{
        {"Quorix Workbook (*.qx3)", "*.qx3"}, {"Quorix Worksheet (*.qx2)", "*.qx2"}, {"All Files (*.*)", "*.*"}};
    return filters;
}

SaveAsCheck checkSaveAsName(std::string_view typed, std::string_view pattern) {
    const std::string extension = patternExtension(pattern);
    if (refusedIn(extension.empty() ? std::string_view() : std::string_view(extension).substr(1), kNameRefused)) {
        return refusal(
            "Illegal Character In File Extension",
            extension + "\n\nThe following characters are not allowed:\n\n      " + std::string(kRefusedShown));
    }
    const SplitPath where = splitPath(trimmed(typed));
    std::string name = trimmed(where.name);
    const bool nameless = name.empty();
    if (!extension.empty() && !nameless) {
        const std::string_view own = nameExtension(name);
        if (own.empty()) {
            name += extension;
        } else if (lowered(own) != extension) {
            return refusal("WARNING - Mismatched file extensions",
                           "Files can only be saved using the extension selected in the \"Save as type\" window, "
                           "which is currently *" +
                               extension +
                               ".  (Note: This extension is automatically appended to file names that lack an "
                               "extension.)");
        }
    }
    if (nameless || refusedIn(name, kNameRefused) || refusedIn(where.directory, kDirectoryRefused)) {
        return refusal("Illegal Character In File Name", joinPath(where.directory, name) +
                                                             "\n\nThe following characters are not allowed:\n\n      " +
                                                             std::string(kRefusedShown));
    }
    return SaveAsCheck{joinPath(where.directory, name), {}, {}};
}

bool openDocument(Session& session, std::string_view path, ErrStat& err) {
    const SplitPath where = splitPath(path);
    return session.files().openFile(session.activeLevel(), true, where.directory, where.name, err);
}

bool saveDocument(Session& session, std::string_view path, ErrStat& err) {
    const SplitPath where = splitPath(path);
    const int level = extensionCode(where.name) == extcode::kWorkbook ? 0 : session.activeLevel();
    return session.files().saveFile(level, where.directory, where.name, level != 0, err);
}

CommandOutcome openCommand(Session& session, ErrStat& err) {
    err.enter();
    const std::string& directory = session.cells().levelPtr(session.activeLevel())->directory;
    const auto choice = session.platform().chooseFileOfType("Open", directory, openFilters(), 0, false);
    if (!choice) return CommandOutcome::Done;
    openDocument(session, choice->path, err);
    return outcome(err);
}

CommandOutcome saveAsWorkbookCommand(Session& session, ErrStat& err) {
    return saveAs(session, true, err);
}

CommandOutcome saveAsWorksheetCommand(Session& session, ErrStat& err) {
    return saveAs(session, false, err);
}

CommandOutcome renameWorkbookCommand(Session& session, ErrStat& err) {
    return renameDocument(session, 0, err);
}

CommandOutcome renameWorksheetCommand(Session& session, ErrStat& err) {
    return renameDocument(session, session.activeLevel(), err);
}

}  // namespace qx
