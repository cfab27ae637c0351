#include "script/compiler/script_compiler.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "core/header_key.h"
#include "core/paths.h"
#include "script/compiler/body_check.h"
#include "script/compiler/compile_error.h"
#include "script/compiler/compile_run.h"
#include "script/compiler/declarations.h"
#include "script/compiler/origins.h"
#include "script/library_format.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

constexpr std::string_view kLogExtension = ".log";

std::string baseName(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// printf-style rows of the message list.
template <typename... Args>
std::string formatRow(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    std::string row(static_cast<std::size_t>(std::max(size, 0)) + 1, '\0');
    std::snprintf(row.data(), row.size(), format, args...);
    row.pop_back();
    return row;
}

bool readSource(const std::string& path, std::string& text) {
    ErrStat err;
    if (!checkPathText(path, err) || !isRegularFile(path)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = std::move(all).str();
    return !in.bad();
}

FileHandle openFile(const std::string& path, const char* mode) {
    ErrStat err;
    return FileHandle(checkPathText(path, err) ? std::fopen(path.c_str(), mode) : nullptr, std::fclose);
}

std::string canonicalPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? path : canonical.string();
}

}  // namespace

std::string libraryNameFor(const std::string& sourceName) {
    return baseName(sourceName) + std::string(kLibraryExtension);
}

CompileRun::CompileRun(std::string source, FileHandle library, FileHandle log, uint8_t key, CompileOutcome& outcome)
    : m_lines(std::move(source)),
      m_definitions(m_lines),
      m_library(std::move(library)),
      m_log(std::move(log)),
      m_key(key),
      m_outcome(outcome) {}

void CompileRun::list(std::string row, bool toLog) {
    if (toLog && m_log) {
        std::string line = row.substr(0, kLogLineWidth);
        for (char& c : line) {
            if (static_cast<unsigned char>(c) < 32) c = '~';
        }
        line += '\n';
        if (std::fwrite(line.data(), 1, line.size(), m_log.get()) != line.size()) m_log.reset();
    }
    m_outcome.rows.push_back(std::move(row));
}

void CompileRun::report(ErrStat& err, const std::string& scriptName, const SourcePlace& place) {
    const std::string code = formatRow("%c%02d%02d-%d", static_cast<char>(err.savedLetter), err.savedModule,
                                       err.savedRoutine, err.savedPoint);
    const std::string message(compilerMessage(err.savedCode));
    list({});
    if (scriptName.empty()) {
        list(formatRow("%s:  %s", code.c_str(), message.c_str()));
    } else {
        list(formatRow("Error %s in '%s' :  (%s)", code.c_str(), scriptName.c_str(), message.c_str()));
    }
    list(formatRow("  Line %d:   %s", place.number, place.text.substr(0, kMaxSourceLine + 1).c_str()));
    list({});
    ++m_outcome.errors;
    err.clear();
}

bool CompileRun::writeRecord(const ScriptSource& script, const std::string& signature, const std::string& localList) {
    const std::string record = makeRecord(script.name, signature, localList, script.body);
    if (!writeScrambled(m_library.get(), record, m_key)) {
        m_ioError = true;
        ++m_outcome.errors;
        return false;
    }
    const int total = static_cast<int>(record.size());
    list(formatRow("  %s  (%d bytes)", script.name.c_str(), total));
    ++m_outcome.scripts;
    m_largest = std::max(m_largest, total);
    return true;
}

void CompileRun::compileDefinition(ScriptSource& script) {
    Declarations declarations;
    ErrStat err;
    if (!parseDeclarations(script, declarations, err)) {
        report(err, script.name, script.header);
        return;
    }
    std::vector<std::string> names;
    for (const DeclaredName& d : declarations.names) names.push_back(d.name);
    const bool bodyPassed = checkBody(script, names, err);
    if (!bodyPassed)
        report(err, script.name, bodyPlace(script, static_cast<std::size_t>(std::max(err.savedPosition, 0))));
    if (stopped()) return;

    std::vector<int> uses;
    replaceNames(script, declarations, uses);
    for (const StringSpan& s : script.strings) {
        if (script.body[s.open] != '"' || script.body[s.close] != '"') {
            list("ERROR A6020:  missing quote");
            break;
        }
    }
    for (std::size_t i = 0; i < uses.size(); ++i) {
        if (uses[i] > 0) continue;
        list(formatRow("Warning:  parameter '%s' is not used in function: %s", declarations.names[i].name.c_str(),
                       script.name.c_str()));
        ++m_outcome.warnings;
    }
    if (!bodyPassed) return;
    // Codes can be longer than the names they replace.
    if (script.body.size() > kMaxBody) {
        compileFail(err, kDefinitionStep, 49, CompilerMsg::FunctionTooLarge);
        report(err, script.name, script.header);
        return;
    }
    writeRecord(script, declarations.signature, declarations.localList);
}

bool CompileRun::run() {
    preprocess();
    completeHeader(m_header, m_key);
    if (!writeScrambled(m_library.get(), m_header, kHeaderKey)) {
        m_ioError = true;
        ++m_outcome.errors;
    }
    while (!stopped()) {
        ScriptSource script;
        ErrStat err;
        const DefinitionRead r = m_definitions.read(script, err);
        if (r == DefinitionRead::End) break;
        if (r == DefinitionRead::Error) {
            report(err, script.name, m_definitions.place());
        } else {
            compileDefinition(script);
        }
    }
    if (std::fflush(m_library.get()) != 0) m_ioError = true;
    if (!stopped() && m_outcome.scripts > 0) {
        if (m_outcome.scripts > kMaxLibraryScripts) {
            list(formatRow("Warning:  This Library contains %d scripts, exceeding to maximun number allowed (%d)",
                           m_outcome.scripts, kMaxLibraryScripts));
        } else {
            list(
                formatRow("This Library contains %d scripts.  The largest is %d bytes.", m_outcome.scripts, m_largest));
        }
    }
    const bool complete = !stopped();
    m_library.reset();
    m_log.reset();
    return complete;
}

CompileOutcome compileScript(const CompileRequest& request, Platform& platform, const AttachedQuery& isAttached) {
    CompileOutcome outcome;
    const std::string libraryName = libraryNameFor(request.name);
    const std::string libraryPath = joinPath(request.directory, libraryName);
    if (isAttached && isAttached(canonicalPath(libraryPath))) {
        platform.messageBox("WARNING",
                            "A Script Library using the name (" + libraryName +
                                ") is currently attached.\n\nYou must detach it before it be recompiled.",
                            BoxIcon::Exclamation, BoxButtons::Ok);
        outcome.refused = true;
        return outcome;
    }
    try {
        std::string source;
        if (!readSource(joinPath(request.directory, request.name), source)) {
            std::string shownDirectory = request.directory;
            if (!shownDirectory.empty() && shownDirectory.back() != '/') shownDirectory += '/';
            outcome.rows.push_back(
                formatRow("Unable to open source file:  %s%s", shownDirectory.c_str(), request.name.c_str()));
            return outcome;
        }
        FileHandle library = openFile(libraryPath, "wb");
        if (!library) {
            outcome.rows.emplace_back("UNABLE TO THE CREATE A LIBRARY FILE!");
            return outcome;
        }
        FileHandle log(nullptr, std::fclose);
        if (request.writeLog)
            log = openFile(joinPath(request.directory, baseName(request.name) + std::string(kLogExtension)), "wb");
        // Without "#SEED" the key is the day of the month, so libraries differ from day to day.
        const auto key = static_cast<uint8_t>(std::clamp(platform.now().day, 1, static_cast<int>(kMaxLibraryKey)));
        CompileRun run(std::move(source), std::move(library), std::move(log), key, outcome);
        run.run();
    } catch (const std::bad_alloc&) {
        outcome.rows.assign(1, "INSUFFICIENT MEMORY!");
        outcome.errors = std::max(outcome.errors, 1);
    }
    if (outcome.errors > 0) {
        std::error_code ec;
        std::filesystem::remove(libraryPath, ec);
    }
    outcome.rows.push_back(
        formatRow("%s  -  %d error(s), %d warning(s)", libraryName.c_str(), outcome.errors, outcome.warnings));
    return outcome;
}

}  // namespace qx
