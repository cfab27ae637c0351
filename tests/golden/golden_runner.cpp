// Runs quorix-cli on the command part of each transcript (.qxt) and compares its standard output
// with the expected part below the "----" line, and its standard error with the lines below a
// "---- stderr" line (none expected when there is no such line). With --update the expected parts
// and the exit status line are rewritten.
//
// Comment lines at the top of the command part may direct the run (quorix-cli ignores them):
//   # args: OPTION...   extra arguments
//   # exit: N           the exit status to expect (0 when not given)
//   # copy: FILE NAME   copies FILE (beside the transcript) into the run's directory as NAME
// In arguments and commands, {tmp} stands for a fresh empty directory, which is also the
// working directory of the run, {here} for the transcript's own directory, and {files} for the
// test fixtures directory. In standard error the same names stand for those paths.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparator = "----";
constexpr std::string_view kErrorSeparator = "---- stderr";
constexpr std::string_view kExitDirective = "# exit:";

struct Transcript {
    std::string commands;
    std::string expected;
    std::string expectedErrors;
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> copies;
    int exitStatus = 0;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool parseTranscript(const std::string& text, Transcript& out) {
    std::istringstream in(text);
    std::string line;
    bool inExpected = false;
    bool inErrors = false;
    bool sawSeparator = false;
    while (std::getline(in, line)) {
        if (!inExpected && line == kSeparator) {
            inExpected = sawSeparator = true;
            continue;
        }
        if (inExpected && !inErrors && line == kErrorSeparator) {
            inErrors = true;
            continue;
        }
        std::string& part = inErrors ? out.expectedErrors : inExpected ? out.expected : out.commands;
        part += line;
        part += '\n';
        if (inExpected) continue;
        if (line.rfind("# args:", 0) == 0) {
            for (auto& word : splitWords(line.substr(7))) out.args.push_back(word);
        } else if (line.rfind("# copy:", 0) == 0) {
            auto words = splitWords(line.substr(7));
            if (words.size() == 2) out.copies.emplace_back(words[0], words[1]);
        } else if (line.rfind(kExitDirective, 0) == 0) {
            out.exitStatus = std::atoi(line.c_str() + kExitDirective.size());
        }
    }
    return sawSeparator;
}

// Elapsed times differ from run to run; only their format is checked.
std::string maskTimes(const std::string& output) {
    static const std::regex kTime(R"(^time: [0-9]+\.[0-9]{3} ms$)", std::regex::multiline);
    return std::regex_replace(output, kTime, "time: #.### ms");
}

struct RunResult {
    std::string output;
    std::string errors;
    int status = -1;
};

void substitute(std::string& text, std::string_view name, const std::string& value) {
    for (std::size_t at = 0; (at = text.find(name, at)) != std::string::npos; at += value.size()) {
        text.replace(at, name.size(), value);
    }
}

void substituteAll(std::string& text, const fs::path& tmp, const fs::path& here) {
    substitute(text, "{tmp}", tmp.string());
    substitute(text, "{here}", here.string());
    substitute(text, "{files}", QX_TEST_FILES);
}

// The reverse, so that expected standard error does not depend on where the run took place.
void nameThePaths(std::string& text, const fs::path& tmp, const fs::path& here) {
    substitute(text, tmp.string(), "{tmp}");
    substitute(text, here.string(), "{here}");
    substitute(text, QX_TEST_FILES, "{files}");
}

// The command part with its "# exit:" line saying `status` at the end of the comments on top, and
// none for 0.
std::string withExitStatus(const std::string& commands, int status) {
    std::istringstream in(commands);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(kExitDirective, 0) != 0) lines.push_back(line);
    }
    if (status != 0) {
        auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind('#', 0) != 0; });
        lines.insert(at, std::string(kExitDirective) + " " + std::to_string(status));
    }
    std::string out;
    for (const auto& line : lines) out += line + "\n";
    return out;
}

RunResult runCli(const std::string& cli, const std::vector<std::string>& args, const fs::path& directory,
                 const fs::path& input, const fs::path& outputPath, const fs::path& errorPath) {
    RunResult result;
    pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        FILE* in = std::freopen(input.c_str(), "rb", stdin);
        FILE* out = std::freopen(outputPath.c_str(), "wb", stdout);
        FILE* err = std::freopen(errorPath.c_str(), "wb", stderr);
        if (in == nullptr || out == nullptr || err == nullptr || chdir(directory.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(cli.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(cli.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.output = readFile(outputPath);
    result.errors = readFile(errorPath);
    return result;
}

void reportDifference(const fs::path& file, std::string_view stream, const std::string& expected,
                      const std::string& actual) {
    std::istringstream e(expected);
    std::istringstream a(actual);
    std::string el;
    std::string al;
    for (int n = 1;; ++n) {
        bool he = static_cast<bool>(std::getline(e, el));
        bool ha = static_cast<bool>(std::getline(a, al));
        if (!he && !ha) break;
        if (he != ha || el != al) {
            std::cerr << file.string() << ": " << stream << " line " << n
                      << " differs\n  expected: " << (he ? el : "<end of output>")
                      << "\n  actual:   " << (ha ? al : "<end of output>") << '\n';
            return;
        }
    }
}

bool runOne(const std::string& cli, const fs::path& file, bool update) {
    Transcript t;
    if (!parseTranscript(readFile(file), t)) {
        std::cerr << file.string() << ": no \"----\" line\n";
        return false;
    }
    fs::path work = fs::temp_directory_path() / ("qx_golden_" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work / "tmp");
    fs::path here = fs::absolute(file).parent_path();
    for (const auto& [from, to] : t.copies) {
        std::error_code ec;
        if (!fs::copy_file(here / from, work / "tmp" / to, ec)) {
            std::cerr << file.string() << ": cannot copy " << from << '\n';
            fs::remove_all(work);
            return false;
        }
    }
    for (auto& arg : t.args) substituteAll(arg, work / "tmp", here);
    std::string commands = t.commands;
    substituteAll(commands, work / "tmp", here);
    std::ofstream(work / "commands", std::ios::binary) << commands;
    RunResult run = runCli(cli, t.args, work / "tmp", work / "commands", work / "output", work / "errors");
    std::string actual = maskTimes(run.output);
    std::string actualErrors = run.errors;
    nameThePaths(actualErrors, work / "tmp", here);
    fs::remove_all(work);

    if (update) {
        const std::string commandsWithStatus = withExitStatus(t.commands, run.status);
        {
            std::ofstream text(file, std::ios::binary);
            text << commandsWithStatus << kSeparator << '\n' << actual;
            if (!actualErrors.empty()) text << kErrorSeparator << '\n' << actualErrors;
        }
        // A new or removed exit line moves the line numbers that standard error quotes: run again.
        return commandsWithStatus == t.commands || runOne(cli, file, true);
    }
    bool ok = true;
    if (run.status != t.exitStatus) {
        std::cerr << file.string() << ": exit status " << run.status << ", expected " << t.exitStatus << '\n';
        ok = false;
    }
    if (actual != t.expected) {
        reportDifference(file, "output", t.expected, actual);
        ok = false;
    }
    if (actualErrors != t.expectedErrors) {
        reportDifference(file, "standard error", t.expectedErrors, actualErrors);
        ok = false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: golden_runner [--update] QUORIX_CLI TRANSCRIPT...\n";
        return 2;
    }
    int first = 1;
    bool update = std::string_view(argv[1]) == "--update";
    if (update) ++first;
    std::string cli = fs::absolute(argv[first++]).string();
    int failures = 0;
    for (int i = first; i < argc; ++i) {
        if (!runOne(cli, argv[i], update)) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
