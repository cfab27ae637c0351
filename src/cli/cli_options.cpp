#include "cli/cli_options.h"

#include <charconv>
#include <climits>
#include <string_view>

#include "cli/line_interpreter.h"

namespace qx {
namespace {

// Any integer is accepted; the session clamps it, so huge values saturate instead of wrapping.
bool parseLevelCount(std::string_view text, int& out) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size()) return false;
    if (ec == std::errc::result_out_of_range) {
        out = text.front() == '-' ? INT_MIN : INT_MAX;
        return true;
    }
    if (ec != std::errc()) return false;
    out = value < INT_MIN ? INT_MIN : (value > INT_MAX ? INT_MAX : static_cast<int>(value));
    return true;
}

// "--name=value" or "--name value"; returns nullopt when `arg` is not that option.
std::optional<std::string_view> optionValue(std::string_view arg, std::string_view name, int& i, int argc,
                                            const char* const* argv, bool& missing) {
    if (arg == name) {
        if (i + 1 >= argc) {
            missing = true;
            return std::string_view();
        }
        return std::string_view(argv[++i]);
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

// One command of the usage text; a long form puts its summary on the next line.
void appendEntry(std::string& text, std::string_view form, std::string_view summary) {
    constexpr std::size_t kIndent = 2;
    constexpr std::size_t kColumn = 32;
    text.append(kIndent, ' ').append(form);
    const std::size_t used = kIndent + form.size();
    if (used + 2 <= kColumn) {
        text.append(kColumn - used, ' ');
    } else {
        text.append("\n").append(kColumn, ' ');
    }
    text.append(summary).append("\n");
}

}  // namespace

bool parseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& problem) {
    bool onlyScripts = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (onlyScripts || arg.empty() || arg[0] != '-' || arg == "-") {
            options.scripts.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyScripts = true;
            continue;
        }
        if (arg == "--help" || arg == "-h" || arg == "--version" || arg == "-V") {
            options.action = arg == "--help" || arg == "-h" ? CliAction::Help : CliAction::Version;
            return true;
        }
        bool missing = false;
        if (auto value = optionValue(arg, "--answer", i, argc, argv, missing)) {
            auto answer = parsePolicyAnswer(*value);
            if (missing || !answer) {
                problem = "--answer must be yes, no or cancel";
                return false;
            }
            options.answer = *answer;
        } else if (auto value = optionValue(arg, "--levels", i, argc, argv, missing)) {
            if (missing || !parseLevelCount(*value, options.levels)) {
                problem = "--levels needs a whole number";
                return false;
            }
        } else if (auto value = optionValue(arg, "--settings", i, argc, argv, missing)) {
            if (missing || value->empty()) {
                problem = "--settings needs a path";
                return false;
            }
            options.settingsPath = std::string(*value);
        } else {
            problem = "unknown option " + std::string(arg);
            return false;
        }
    }
    return true;
}

std::string usageText() {
    std::string text =
        "Usage: quorix-cli [OPTION]... [SCRIPT]...\n"
        "Runs Quorix command scripts without a window and prints what the user would see.\n"
        "Each SCRIPT is read in turn, one command a line; with no SCRIPT, or for \"-\", standard input.\n"
        "Blank lines and lines starting with # are skipped. [R,C,,L] names a cell on level L.\n"
        "\n"
        "Options:\n"
        "  --answer=yes|no|cancel  the answer to every question until an \"answer\" line (default yes)\n"
        "  --levels N              level tables, level 0 included (2..33, default 33)\n"
        "  --settings PATH         read settings from PATH and write them back at the end\n"
        "  -h, --help              print this help and stop\n"
        "  -V, --version           print the version and stop\n"
        "\n"
        "Commands:\n";
    for (const Verb& verb : cliVerbs()) {
        std::string form(verb.name);
        if (!verb.arguments.empty()) form += " " + std::string(verb.arguments);
        appendEntry(text, form, verb.summary);
    }
    appendEntry(text, "NAME", "run the menu command with that short name (Copy, calcAll, RowIns, ...)");
    text +=
        "\n"
        "Messages print as \"MSG [caption] text\", a question is followed by \"ANSWER yes|no|cancel\".\n"
        "A line that cannot be carried out prints its reason on standard error, and the run goes on.\n"
        "\n"
        "Exit status:\n"
        "  0  every line was understood and every file operation succeeded\n"
        "  1  quorix-cli could not start\n"
        "  2  a bad option or an unreadable script\n"
        "  3  a line was not understood, or a file operation failed (open, save, import, export,\n"
        "     writing back the settings or standard output)\n"
        "\n"
        "The README's quorix-cli section says more.\n";
    return text;
}

}  // namespace qx
