#include "cli/file_verbs.h"

#include <charconv>
#include <optional>
#include <string>

#include "app/document_commands.h"
#include "app/dxf_commands.h"
#include "app/transfer_commands.h"
#include "cli/address_argument.h"
#include "cli/line_interpreter.h"
#include "cli/origins.h"
#include "core/paths.h"
#include "files/text/text_export.h"

namespace qx {

using namespace origins::cli;
namespace {

void illegal(LineInterpreter& cli, int point) {
    ErrStat err;
    err.fail(kOriginFileVerb, point, Msg::IllegalParameter);
    cli.reportProblem(err);
}

// The first word and the rest, both trimmed.
std::pair<std::string_view, std::string_view> firstWord(std::string_view args) {
    args = trimArgument(args);
    const std::size_t end = args.find_first_of(" \t");
    if (end == std::string_view::npos) return {args, {}};
    return {args.substr(0, end), trimArgument(args.substr(end))};
}

bool readNumber(std::string_view text, int64_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

void openVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view path = trimArgument(args);
    if (path.empty()) return illegal(cli, 1);
    ErrStat err;
    openDocument(cli.session(), path, err);
    if (err.failed()) cli.reportProblem(err);
}

void saveVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view path = trimArgument(args);
    if (path.empty()) return illegal(cli, 2);
    ErrStat err;
    saveDocument(cli.session(), path, err);
    if (err.failed()) cli.reportProblem(err);
}

void importVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view path = trimArgument(args);
    if (path.empty()) return illegal(cli, 5);
    ErrStat err;
    importDocument(cli.session(), path, err);
    if (err.failed()) cli.reportProblem(err);
}

// "export PATH [WIDTH]": a last word that is a whole number is the line width; without one the
// default width is taken instead of asking.
void exportVerb(LineInterpreter& cli, std::string_view args) {
    std::string_view path = trimArgument(args);
    std::optional<int> width = kDefaultLineWidth;
    const std::size_t blank = path.find_last_of(" \t");
    int typed = 0;
    if (blank != std::string_view::npos && wholeNumber(path.substr(blank + 1), typed)) {
        width = lineWidthFrom(path.substr(blank + 1));
        path = trimArgument(path.substr(0, blank));
    }
    if (path.empty()) return illegal(cli, 6);
    ErrStat err;
    exportDocument(cli.session(), path, width, err);
    if (err.failed()) cli.reportProblem(err);
}

void dxfVerb(LineInterpreter& cli, std::string_view args) {
    Session& session = cli.session();
    ErrStat err;
    AddressArgument at{session.pointer().row, session.pointer().col, 0, 0};
    std::size_t pos = 0;
    const std::string_view trimmed = trimArgument(args);
    if (trimmed.starts_with('[') && !parseAddressArgument(trimmed, pos, session.highestLevel(), at, err)) {
        return cli.reportProblem(err);
    }
    const std::string_view path = trimArgument(trimmed.substr(pos));
    if (at.element != 0 || path.empty()) return illegal(cli, 7);
    exportViewDxf(session, at.row, at.col, at.level, path, err);
    if (err.failed()) cli.reportProblem(err);
}

void renameVerb(LineInterpreter& cli, std::string_view args) {
    const auto [which, name] = firstWord(args);
    Session& session = cli.session();
    if (which == "workbook") {
        session.files().rename(0, name);
    } else if (which == "worksheet") {
        session.files().rename(session.activeLevel(), name);
    } else {
        illegal(cli, 3);
    }
}

void protectVerb(LineInterpreter& cli, std::string_view args) {
    const auto [which, rest] = firstWord(args);
    ProtectionSettings& settings = cli.session().protection();
    if (which == "password") {
        settings.password.assign(rest);
        return;
    }
    const auto [levelText, wordText] = firstWord(rest);
    int64_t level = 0;
    int64_t word = 0;
    if (which != "level" || !readNumber(levelText, level) || !readNumber(wordText, word) || level < 0 ||
        level > cli.session().highestLevel() || word < 0 || word > UINT32_MAX) {
        return illegal(cli, 4);
    }
    setPermissionWord(settings, static_cast<int>(level), static_cast<uint32_t>(word));
}

}  // namespace qx
