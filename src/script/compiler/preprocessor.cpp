#include <cctype>
#include <charconv>

#include "script/compiler/compile_error.h"
#include "script/compiler/compile_run.h"
#include "script/compiler/declarations.h"
#include "script/compiler/origins.h"
#include "script/library_format.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

constexpr std::string_view kVersionDirective = "#VERSION";
constexpr std::string_view kSeedDirective = "#SEED";
constexpr std::string_view kFunctionKeyDirective = "#FKEY";
constexpr int kFirstFunctionKey = 2;
constexpr int kLastFunctionKey = 16;
// The closing quote of a function-key label must come within this many characters of the opening one.
constexpr std::size_t kLabelQuoteSpan = 8;

}  // namespace

// Reads directive lines up to the first line of the first script and builds the header from them.
void CompileRun::preprocess() {
    m_header = startHeader(kLibraryProgramVersion);
    SourceLine line;
    for (;;) {
        ErrStat err;
        const LineRead r = m_lines.next(line, err);
        if (r == LineRead::End) return;
        const SourcePlace place{m_lines.lineNumber(), line.text};
        if (r == LineRead::Error) {
            report(err, {}, place);
        } else if (line.text.empty()) {
            continue;
        } else if (isScriptNameStart(line.text[0])) {
            m_definitions.pushBack(std::move(line));
            return;
        } else if (line.text[0] != '#') {
            compileFail(err, kPreprocessorStep, 7, CompilerMsg::IllegalFunctionName);
            report(err, {}, place);
        } else if (!directive(line, err)) {
            report(err, {}, place);
        }
        if (stopped()) return;
    }
}

bool CompileRun::directive(const SourceLine& line, ErrStat& err) {
    const std::string_view text = line.text;
    // The header's length must fit its five-digit field.
    if (m_header.size() + text.size() + kHeaderFieldWidth > kMaxRecordLength) {
        return compileFail(err, kPreprocessorStep, 8, CompilerMsg::PreprocessingError);
    }
    if (text.starts_with(kVersionDirective)) {
        double version = 0;
        const char* first = text.data() + kVersionDirective.size();
        auto [end, ec] = std::from_chars(first, text.data() + text.size(), version);
        if (ec != std::errc() || version <= -1000 || version >= 10000) {
            return compileFail(err, kPreprocessorStep, 6, CompilerMsg::PreprocessingError);
        }
        addLibraryVersion(m_header, version);
        return true;
    }
    if (text.starts_with(kSeedDirective)) {
        m_key = 0;
        return true;
    }
    if (!text.starts_with(kFunctionKeyDirective))
        return compileFail(err, kPreprocessorStep, 7, CompilerMsg::PreprocessingError);
    std::size_t at = kFunctionKeyDirective.size();
    int key = 0;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), key);
    if (ec != std::errc() || key < kFirstFunctionKey || key > kLastFunctionKey) {
        return compileFail(err, kPreprocessorStep, 1, CompilerMsg::PreprocessingError);
    }
    at = static_cast<std::size_t>(end - text.data());
    if (at >= text.size() || text[at] != '"')
        return compileFail(err, kPreprocessorStep, 2, CompilerMsg::PreprocessingError);
    const std::size_t close = text.find('"', at + 1);
    if (close == at + 1) return compileFail(err, kPreprocessorStep, 4, CompilerMsg::PreprocessingError);
    if (close == std::string_view::npos || close - at > kLabelQuoteSpan) {
        return compileFail(err, kPreprocessorStep, 5, CompilerMsg::PreprocessingError);
    }
    addFunctionKey(m_header, key, text.substr(at + 1, close - at - 1));
    return true;
}

}  // namespace qx
