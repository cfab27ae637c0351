// quorix-cli: runs command scripts against a headless session and prints what the user would see.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "app/line_interpreter.h"
#include "app/session.h"
#include "cli/cli_options.h"
#include "core/err_report.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitStartFailed = 1;

}  // namespace

int main(int argc, char** argv) {
    qx::CliOptions options;
    std::string problem;
    if (!qx::parseCliOptions(argc, argv, options, problem)) {
        std::cerr << "quorix-cli: " << problem << '\n';
        return kExitUsage;
    }
    // Every script is opened first, so an unreadable one stops the run before anything happens.
    std::vector<std::unique_ptr<std::ifstream>> scripts;
    for (const std::string& path : options.scripts) {
        // A directory opens like a file here but yields no lines; it is no script.
        std::error_code dirCheck;
        auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
        if (!*file || std::filesystem::is_directory(path, dirCheck)) {
            std::cerr << "quorix-cli: cannot read " << path << '\n';
            return kExitUsage;
        }
        scripts.push_back(std::move(file));
    }

    qx::HeadlessPlatform platform;
    platform.setPolicy(options.answer);
    platform.setObserver([](const qx::RecordedBox& box) { std::cout << qx::formatBox(box); });

    std::error_code ec;
    std::string startDirectory = std::filesystem::current_path(ec).string();
    qx::SessionOptions sessionOptions;
    sessionOptions.levelCount = options.levels;
    sessionOptions.settingsPath = options.settingsPath;
    sessionOptions.directories.startDirectory = startDirectory;
    qx::Session session(platform, sessionOptions);
    qx::ErrStat err;
    if (!session.start(err)) {
        std::cerr << "quorix-cli: start-up failed: " << qx::oneLine(true, err, session.scratch()) << '\n';
        return kExitStartFailed;
    }
    qx::LineInterpreter cli(session, platform, std::cout);
    if (scripts.empty()) {
        cli.runStream(std::cin);
    } else {
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            bool goOn = cli.runStream(*scripts[i]);
            if (scripts[i]->bad()) {
                std::cerr << "quorix-cli: cannot read " << options.scripts[i] << '\n';
                std::cout.flush();
                return kExitUsage;
            }
            if (!goOn) break;
        }
    }
    if (!session.finish(err)) cli.printFailure(err);
    std::cout.flush();
    return 0;
}
