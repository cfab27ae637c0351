#pragma once
// One compile run: the files, the counts and the message list, and the steps that fill them.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/err_stat.h"
#include "script/compiler/definition_reader.h"
#include "script/compiler/line_reader.h"
#include "script/compiler/script_compiler.h"

namespace qx {

// The run stops once this many errors were listed.
inline constexpr int kErrorLimit = 11;
// Libraries with more scripts than this compile but do not attach.
inline constexpr int kMaxLibraryScripts = 512;
// Log lines are cut at this width.
inline constexpr std::size_t kLogLineWidth = 80;

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

class CompileRun {
  public:
    CompileRun(std::string source, FileHandle library, FileHandle log, uint8_t key, CompileOutcome& outcome);

    // Compiles everything; false when an I/O error or the error limit stopped the run.
    bool run();
    // Lists a row in the message list and, unless told otherwise, in the log.
    void list(std::string row, bool toLog = true);

  private:
    void preprocess();
    bool directive(const SourceLine& line, ErrStat& err);
    void compileDefinition(ScriptSource& script);
    bool writeRecord(const ScriptSource& script, const std::string& signature, const std::string& localList);
    void report(ErrStat& err, const std::string& scriptName, const SourcePlace& place);
    bool stopped() const { return m_outcome.errors >= kErrorLimit || m_ioError; }

    LineReader m_lines;
    DefinitionReader m_definitions;
    FileHandle m_library;
    FileHandle m_log;
    uint8_t m_key;
    std::string m_header;
    CompileOutcome& m_outcome;
    int m_largest = 0;
    bool m_ioError = false;
};

}  // namespace qx
