// quorix-cli: runs command scripts against a headless session and prints what the user would see.
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "app/session.h"
#include "cli/cli_options.h"
#include "cli/line_interpreter.h"
#include "core/err_report.h"
#include "quorix_version.h"

namespace {

constexpr std::string_view kStandardInput = "-";

struct Script {
    std::string name;  // as given, for the reports
    std::unique_ptr<std::ifstream> file;
    std::istream& stream() { return file ? *file : std::cin; }
    std::string source() const { return name == kStandardInput ? "<stdin>" : name; }
};

// What Ctrl+C reaches. A signal handler has no other way to a session than a pointer of static
// storage; it is set only while the session lives.
struct InterruptTarget {
    qx::ScriptContext& scripts;
    const std::atomic<bool>& lineRunning;
};
std::atomic<const InterruptTarget*> g_interruptTarget{nullptr};
static_assert(std::atomic<const InterruptTarget*>::is_always_lock_free);

// Ctrl+C while a line runs asks the running script to stop; the script ends with its error report and
// the next line runs. At the prompt, or pressed again before a script took the first request (a line
// that runs no script), it ends the program as usual.
extern "C" void onInterrupt(int signal) {
    const InterruptTarget* target = g_interruptTarget.load();
    if (target != nullptr && target->lineRunning.load() && !target->scripts.cancelRequested()) {
        target->scripts.requestCancel();
        return;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Ctrl+C reaches the session for the lifetime of this object and has its usual effect again after.
class InterruptHandler {
  public:
    explicit InterruptHandler(const InterruptTarget& target) {
        g_interruptTarget.store(&target);
        std::signal(SIGINT, onInterrupt);
    }
    ~InterruptHandler() {
        std::signal(SIGINT, SIG_DFL);
        g_interruptTarget.store(nullptr);
    }
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;
};

int exitCode(qx::ExitStatus status) {
    return static_cast<int>(status);
}

// Output that could not be written is lost; the run must not look clean then.
int finishOutput(qx::ExitStatus status) {
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "quorix-cli: cannot write standard output\n";
        if (status == qx::ExitStatus::Clean) status = qx::ExitStatus::Problems;
    }
    return exitCode(status);
}

// Every script is opened first, so an unreadable one stops the run before anything happens.
bool openScripts(const std::vector<std::string>& names, std::vector<Script>& scripts) {
    for (const std::string& name : names) {
        Script script{name, nullptr};
        if (name != kStandardInput) {
            // A directory opens like a file here but yields no lines; it is no script.
            std::error_code dirCheck;
            script.file = std::make_unique<std::ifstream>(name, std::ios::binary);
            if (!*script.file || std::filesystem::is_directory(name, dirCheck)) {
                std::cerr << "quorix-cli: cannot read " << name << '\n';
                return false;
            }
        }
        scripts.push_back(std::move(script));
    }
    if (scripts.empty()) scripts.push_back(Script{std::string(kStandardInput), nullptr});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qx::CliOptions options;
    std::string problem;
    if (!qx::parseCliOptions(argc, argv, options, problem)) {
        std::cerr << "quorix-cli: " << problem << "\nTry 'quorix-cli --help' for more information.\n";
        return exitCode(qx::ExitStatus::Usage);
    }
    if (options.action != qx::CliAction::Run) {
        std::cout << (options.action == qx::CliAction::Help ? qx::usageText()
                                                            : "quorix-cli " + std::string(qx::kQuorixVersion) + "\n");
        return finishOutput(qx::ExitStatus::Clean);
    }
    std::vector<Script> scripts;
    if (!openScripts(options.scripts, scripts)) return exitCode(qx::ExitStatus::Usage);

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
        return exitCode(qx::ExitStatus::StartFailed);
    }
    qx::LineInterpreter cli(session, platform, std::cout, std::cerr);
    const InterruptTarget interruptTarget{session.formulas().evaluator().scripts(), cli.lineRunning()};
    const InterruptHandler interrupt(interruptTarget);
    for (Script& script : scripts) {
        const bool goOn = cli.runStream(script.stream(), script.source());
        if (script.stream().bad()) {
            std::cerr << "quorix-cli: cannot read " << script.source() << '\n';
            return finishOutput(qx::ExitStatus::Usage);
        }
        if (!goOn) break;
    }
    qx::ExitStatus status = cli.hadProblem() ? qx::ExitStatus::Problems : qx::ExitStatus::Clean;
    if (!session.finish(err)) {
        std::cerr << "quorix-cli: cannot write the settings to " << options.settingsPath.value_or("") << ": "
                  << qx::oneLine(true, err, session.scratch()) << '\n';
        status = qx::ExitStatus::Problems;
    }
    return finishOutput(status);
}
