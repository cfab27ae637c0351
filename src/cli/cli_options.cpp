#include "cli/cli_options.h"

#include <charconv>
#include <climits>
#include <string_view>

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

}  // namespace qx
