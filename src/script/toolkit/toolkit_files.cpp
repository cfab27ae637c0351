// The toolkit's text files (four slots), reports, and saving, loading and clearing work.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/cell_store.h"
#include "script/toolkit/origins.h"
#include "script/toolkit/toolkit_call.h"
#include "script/toolkit/toolkit_functions.h"

namespace qx {

using namespace origins::toolkit;

namespace {

constexpr int kMaxLineOut = 255;
constexpr int kDefaultReportWidth = 80;
constexpr int kMaxReportWidth = 255;

// The run-time library's modes: "r", "w" or "a", then at most one '+' and one 'b' in either order.
// Anything else (glibc's 'x', 'e', 'c', 'm', a ",ccs=" part) is refused rather than passed on.
bool legalMode(std::string_view mode) {
    if (mode.empty() || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) return false;
    const std::string_view rest = mode.substr(1);
    return rest.empty() || rest == "+" || rest == "b" || rest == "+b" || rest == "b+";
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

std::string_view extensionOf(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return name.substr(dot);
}

std::string withExtension(std::string_view name, std::string_view extension) {
    const std::string_view ext = extensionOf(name);
    return std::string(name.substr(0, name.size() - ext.size())) + std::string(extension);
}

// The line reader's rules: tabs become blanks, the line ends at any other control character, and
// trailing blanks go.
std::string cleanLine(std::string_view raw) {
    std::string line;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t') {
            line += ' ';
            continue;
        }
        if (u < 32) break;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

enum class WorkKind { Worksheet, Workbook, Other };

// What a file name given to savework or loadwork names, by its extension in any case.
WorkKind workKind(std::string_view name) {
    const std::string ext = lower(extensionOf(name));
    if (ext == ".qx2") return WorkKind::Worksheet;
    return ext == ".qx3" ? WorkKind::Workbook : WorkKind::Other;
}

int failedCode(const ErrStat& err) {
    const bool general = err.letter == kLetterA || err.letter == kLetterC || err.letter == kLetterF;
    return err.code != 0 && general ? err.code : codeOf(Msg::ScriptUnlistedError);
}

}  // namespace

double fnFopen(FunctionCall& call, ErrStat& err) {
    const StringArgument name = toolkitString(call, err);
    if (err.failed()) return 0.0;
    if (call.ended()) return malformedCall(call, 30, err);
    const StringArgument mode = toolkitString(call, err);
    if (err.failed()) return 0.0;
    if (!call.ended()) return malformedCall(call, 31, err);
    Toolkit& tk = toolkitOf(call);
    if (!legalMode(mode.text) || name.text.empty()) return tk.refuse(Msg::CannotOpenFile);
    ToolkitFiles& files = tk.state().files;
    // A fifth file is refused before opening, so a "w" mode cannot empty it first.
    if (files.put(nullptr) == 0) return tk.refuse(Msg::CannotOpenFile);
    errno = 0;
    std::FILE* f = std::fopen(name.text.c_str(), mode.text.c_str());
    if (f == nullptr) {
        tk.keepLibraryError(errno);
        return tk.refuse(Msg::CannotOpenFile);
    }
    return files.put(f);
}

double fnFclose(FunctionCall& call, ErrStat& err) {
    double v = 0.0;
    if (!toolkitNumbers(call, &v, 1, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    // Handles run to 5 though there are four slots: the fifth is a slot that is always empty.
    if (!inRanges({{toInteger(v), 1, kToolkitFileSlots + 1}})) return tk.refuse(Msg::ParameterOutOfRange);
    ToolkitFiles& files = tk.state().files;
    if (files.file(toInteger(v)) == nullptr) return tk.refuse(Msg::IoError);
    errno = 0;
    if (!files.close(toInteger(v))) {
        tk.keepLibraryError(errno);
        return tk.refuse(Msg::IoError);
    }
    return 1.0;
}

double fnFgets(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Target, 2, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int handle = toInteger(a.v[1]);
    if (handle < 0 || handle > kToolkitFileSlots) {
        err.position = call.record().namePos;
        return err.fail(kToolkitFiles, 1, Msg::CannotOpenFile), 0.0;
    }
    if (!a.text.writable()) return tk.refuse(Msg::ModifyIllegalString);
    if (handle == 0) return tk.refuse(Msg::IoError, -1.0);
    std::FILE* f = tk.state().files.file(handle);
    if (f == nullptr) return -1.0;
    const int most = std::clamp(toInteger(a.v[0]), 0, a.text.size);
    std::string raw;
    int c = 0;
    while (static_cast<int>(raw.size()) < most && (c = std::fgetc(f)) != EOF) {
        if (c == '\n') break;
        raw += static_cast<char>(c);
    }
    if (raw.empty() && c == EOF) {
        if (std::ferror(f)) {
            tk.keepLibraryError(errno);
            return tk.refuse(Msg::IoError, -1.0);
        }
        tk.setErrorNumber(0);
        return -1.0;
    }
    return a.text.store(cleanLine(raw));
}

double fnFputs(FunctionCall& call, ErrStat& err) {
    const StringArgument text = toolkitString(call, err);
    if (err.failed()) return 0.0;
    double v[2] = {};
    const int n = argumentList(call, v, 2, err);
    if (err.failed()) return err.trace(kToolkitFiles), 0.0;
    if (n < 1 || !call.ended()) return malformedCall(call, 32, err);
    Toolkit& tk = toolkitOf(call);
    std::FILE* f = tk.state().files.file(toInteger(v[0]));
    if (f == nullptr) return tk.refuse(Msg::IoError, -1.0);
    int length = std::min(static_cast<int>(text.text.size()), kMaxLineOut);
    if (n == 2 && toInteger(v[1]) >= 0 && toInteger(v[1]) < length) length = toInteger(v[1]);
    std::string line = text.text.substr(0, static_cast<std::size_t>(length));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 32) c = '~';
    }
    if (length < kMaxLineOut) line += '\n';
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), f) != line.size() || std::fflush(f) != 0) {
        tk.keepLibraryError(errno);
        return tk.refuse(Msg::IoError, -1.0);
    }
    return static_cast<double>(line.size());
}

double fnReport(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Text, 5, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int row = toInteger(a.v[0]);
    const int col = toInteger(a.v[1]);
    const int level = toInteger(a.v[2]);
    const int width = toInteger(a.v[3]);
    const int rows = toInteger(a.v[4]);
    const int highestLevel = call.services().store.highestLevel();
    if (!inRanges({{row, 1, kMaxRow},
                   {col, 1, kMaxCol},
                   {level, 1, highestLevel},
                   {width, 0, kMaxReportWidth},
                   {rows, 1, kMaxRow}})) {
        return tk.refuse(Msg::ParameterOutOfRange);
    }
    if (!mayDo(tk, ScriptAction::CopyOrReport, level)) return tk.refuse(Msg::ScriptProtectedOperation);
    if (a.text.text.empty() || tk.host() == nullptr) return tk.refuse(Msg::CannotOpenFile);
    const CellArea area{row, col, std::min(kMaxRow, row + rows - 1), kMaxCol};
    const std::string text = tk.host()->reportText(level, area, width == 0 ? kDefaultReportWidth : width);
    errno = 0;
    std::FILE* f = std::fopen(withExtension(a.text.text, ".txt").c_str(), "wb");
    if (f == nullptr) {
        tk.keepLibraryError(errno);
        return tk.refuse(Msg::CannotOpenFile);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        tk.keepLibraryError(errno);
        return tk.refuse(Msg::IoError);
    }
    return 1.0;
}

double fnRowdisplay(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Target, 4, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!a.text.writable()) return tk.refuse(Msg::ModifyIllegalString);
    const int row = toInteger(a.v[0]);
    const int col = toInteger(a.v[1]);
    const int width = toInteger(a.v[3]);
    if (!inRanges({{row, 1, kMaxRow},
                   {col, 1, kMaxCol},
                   {toInteger(a.v[2]), 0, call.services().store.highestLevel()},
                   {width, 1, kMaxReportWidth}})) {
        return tk.refuse(Msg::ParameterOutOfRange);
    }
    if (tk.host() == nullptr) return a.text.store(""), 0.0;
    const int level = levelOrActive(tk, toInteger(a.v[2]));
    std::string line = tk.host()->reportText(level, CellArea{row, col, row, kMaxCol}, width);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return a.text.store(line);
}

double fnSavework(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Text, 1, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int level = toInteger(a.v[0]);
    if (!inRanges({{level, 1, call.services().store.highestLevel()}})) return tk.refuse(Msg::ParameterOutOfRange);
    if (a.text.text.empty()) return tk.refuse(Msg::CannotSaveWorksheet);
    const WorkKind kind = workKind(a.text.text);
    if (kind == WorkKind::Other) return tk.refuse(Msg::IllegalFileType);
    const bool workbook = kind == WorkKind::Workbook;
    if (!workbook && !mayDo(tk, ScriptAction::SaveLevel, level)) return tk.refuse(Msg::ScriptProtectedOperation);
    if (tk.host() == nullptr) return tk.refuse(Msg::ScriptUnlistedError);
    ErrStat saveErr;
    if (!tk.host()->saveWork(a.text.text, workbook ? 0 : level, saveErr)) {
        return tk.refuse(static_cast<Msg>(failedCode(saveErr)));
    }
    return 1.0;
}

double fnLoadwork(FunctionCall& call, ErrStat& err) {
    ToolkitArguments a;
    if (!toolkitArguments(call, Lead::Text, 1, a, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int level = toInteger(a.v[0]);
    CellStore& store = call.services().store;
    if (!inRanges({{level, 1, store.highestLevel()}})) return tk.refuse(Msg::ParameterOutOfRange);
    if (a.text.text.empty()) return tk.refuse(Msg::CannotLoadFile);
    const WorkKind kind = workKind(a.text.text);
    if (kind == WorkKind::Other) return tk.refuse(Msg::IllegalFileType);
    const bool workbook = kind == WorkKind::Workbook;
    if (evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
    if (!mayDo(tk, ScriptAction::AddCells, level)) return tk.refuse(Msg::ScriptProtectedOperation);
    if (workbook ? !store.workbookEmpty() : !store.levelEmpty(level)) return tk.refuse(Msg::LevelNotCleared);
    if (tk.host() == nullptr) return tk.refuse(Msg::ScriptUnlistedError);
    ErrStat loadErr;
    if (!tk.host()->loadWork(a.text.text, workbook ? 0 : level, loadErr)) {
        return tk.refuse(static_cast<Msg>(failedCode(loadErr)));
    }
    return 0.0;
}

double fnFreework(FunctionCall& call, ErrStat& err) {
    double v = 0.0;
    if (!toolkitNumbers(call, &v, 1, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int level = toInteger(v);
    CellStore& store = call.services().store;
    if (!inRanges({{level, 0, store.highestLevel()}})) return tk.refuse(Msg::ParameterOutOfRange);
    const int first = level == 0 ? 1 : level;
    const int last = level == 0 ? store.highestLevel() : level;
    for (int n = first; n <= last; ++n) {
        if (!mayDo(tk, ScriptAction::Edit, n) || !mayDo(tk, ScriptAction::Layout, n)) {
            return tk.refuse(Msg::ScriptProtectedOperation);
        }
    }
    if (evaluationHoldsCells(call)) return tk.refuse(Msg::ToolkitInExpression);
    if (level == 0 ? store.workbookEmpty() : store.levelEmpty(level)) return 0.0;
    if (tk.levelBound(store, level)) return tk.refuse(Msg::IllegalParameter);
    if (tk.host() == nullptr) return tk.refuse(Msg::ScriptUnlistedError);
    ErrStat clearErr;
    if (!tk.host()->clearWork(level, clearErr)) return tk.refuse(static_cast<Msg>(failedCode(clearErr)));
    return 1.0;
}

}  // namespace qx
