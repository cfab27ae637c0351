#include "core/err_report.h"

#include <algorithm>
#include <cstdio>

#include "core/messages.h"

namespace qx {
namespace {

constexpr int32_t kLibMath = 5;
constexpr int32_t kLibGeometry = 6;
constexpr int32_t kLibMatrix = 7;
constexpr int32_t kLibBlockIo = 1;

char displayLetter(int32_t savedLetter) {
    switch (savedLetter) {
        case kLetterLib:
            return 'L';
        case 2:
            return 'A';
        case 3:
            return 'C';
        case 4:
            return 'W';
        case 5:
            return 'F';
        case 'A':
        case 'B':
        case 'C':
        case 'D':
        case 'F':
        case 'S':
        case 'W':
            return static_cast<char>(savedLetter);
        default:
            return '?';
    }
}

const char* severity(bool errorFlag) {
    return errorFlag ? "ERROR" : "WARNING";
}

// "<severity>  <letter><MM><RR>-<P>", the origin code every header carries.
std::string originHeader(const char* severityWord, char letter, int32_t module, int32_t routine, int32_t point) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s  %c%02d%02d-%d", severityWord, letter, static_cast<int>(module),
                  static_cast<int>(routine), static_cast<int>(point));
    return buf;
}

int32_t generalCode(int32_t code) {
    return code >= 0 && code < kGeneralMessageCount ? code : 0;
}

ComposedError composeLibrary(bool errorFlag, const ErrStat& err) {
    const int32_t m = err.savedModule;
    const bool hasTable = m == kLibMath || m == kLibGeometry || m == kLibMatrix;
    if (!hasTable) {
        std::string header = originHeader("ERROR", 'L', m, err.savedRoutine, err.savedPoint);
        // A file that read fine but is not ours says so; every other block failure is a read or write one.
        const Msg ioCode = err.savedCode == Msg::IllegalFileType ? Msg::IllegalFileType : Msg::IoError;
        std::string_view text =
            m == kLibBlockIo ? tableMessage(MessageTable::General, codeOf(ioCode)) : kUnsupportedLibraryError;
        return {header, std::string(text), 0};
    }
    const MessageTable table =
        m == kLibMath ? MessageTable::Math : (m == kLibGeometry ? MessageTable::Geometry : MessageTable::Matrix);
    return {originHeader(severity(errorFlag), 'L', m, err.savedRoutine, err.savedPoint),
            std::string(tableMessage(table, err.savedCode)), err.savedPosition};
}

ComposedError composeFormula(const ErrStat& err, ScratchRecord& scratch) {
    ComposedError out{originHeader("ERROR", 'F', err.savedModule, err.savedRoutine, err.savedPoint) + ' ',
                      "  \"" + scratch.captureScanned + "\" - " + generalMessage(err.savedCode), err.savedPosition};
    scratch.captureScanned.clear();
    scratch.captureRest.clear();
    // The error is being shown, so the next formula error quotes its own text.
    scratch.formulaErrorCaptured = false;
    scratch.toolkitError = 0;
    return out;
}

ComposedError composeRecord(bool errorFlag, const ErrStat& err, ScratchRecord& scratch) {
    const char letter = displayLetter(err.savedLetter);
    switch (letter) {
        case 'A':
        case 'C':
            return {originHeader(severity(errorFlag), letter, err.savedModule, err.savedRoutine, err.savedPoint) + ' ',
                    std::string(tableMessage(MessageTable::General, generalCode(err.savedCode))), err.savedPosition};
        case 'F':
            return composeFormula(err, scratch);
        case 'L':
            return composeLibrary(errorFlag, err);
        case 'S':
        case 'W': {
            const MessageTable table = letter == 'S' ? MessageTable::Statistics : MessageTable::W;
            return {originHeader(severity(errorFlag), letter, err.savedModule, err.savedRoutine, err.savedPoint),
                    std::string(tableMessage(table, err.savedCode)), err.savedPosition};
        }
        default:
            return {originHeader("WARNING", '?', err.savedModule, err.savedRoutine, err.savedPoint),
                    std::string(kUnknownError), 0};
    }
}

}  // namespace

std::size_t generalMessageBufferSize() {
    return longestGeneralMessage() + 1;
}

std::string generalMessage(int32_t code, std::size_t bufferSize) {
    if (bufferSize < generalMessageBufferSize()) return {};
    if (code < 0 || code >= kGeneralMessageCount) return std::string(kUnknownError);
    return std::string(tableMessage(MessageTable::General, code));
}

ComposedError compose(bool errorFlag, ErrStat& err, ScratchRecord& scratch) {
    ComposedError out = composeRecord(errorFlag, err, scratch);
    err.clear();
    return out;
}

std::string oneLine(bool errorFlag, ErrStat& err, ScratchRecord& scratch) {
    ComposedError c = compose(errorFlag, err, scratch);
    if (c.header.empty() || c.text.empty()) return {};
    return c.header + ' ' + c.text;
}

void recordFormulaError(const FormulaScan& scan, int32_t module, int32_t routine, int32_t point, int32_t code,
                        int32_t errnoValue, ErrStat& err, ScratchRecord& scratch) {
    // A capture left by an error that was never shown (a cell failing in a recalculation) does not belong
    // to this failure: only a record already carrying a formula error keeps the text it quotes.
    const bool carried = err.savedPoint != 0 && err.savedLetter == kLetterF;
    if (!scratch.formulaErrorCaptured || !carried) {
        // Indexes come from scanners over arbitrary user text: keep them inside it and in order.
        const std::size_t end = std::min(scan.end, scan.text.size());
        const std::size_t current = std::min(scan.current, end);
        const std::size_t start = std::min(scan.start, current);
        scratch.formulaErrorCaptured = true;
        err.savedPoint = 0;
        scratch.captureScanned.assign(scan.text.substr(start, current - start));
        scratch.captureRest.assign(scan.text.substr(current, end - current));
    }
    if (scan.cell && scan.cell->isFormula() && scan.cell->formula) scan.cell->formula->setErrorMark(true);
    err.point = point;
    err.code = code;
    err.position = errnoValue;
    err.savedPoint = 0;
    err.stamp(kLetterF, module, routine);
}

void report(Platform& platform, bool errorFlag, ErrStat& err, ScratchRecord& scratch) {
    ComposedError c = compose(errorFlag, err, scratch);
    platform.messageBox(c.header, c.text, BoxIcon::Exclamation, BoxButtons::Ok);
}

bool confirm(Platform& platform, const std::string& text) {
    return platform.messageBox(std::string(kConfirmCaption), text, BoxIcon::Question, BoxButtons::YesNo) ==
           BoxAnswer::Yes;
}

void scriptWarning(Platform& platform, const std::string& text) {
    platform.messageBox(std::string(kScriptWarningCaption), text, BoxIcon::Exclamation, BoxButtons::Ok);
}

BoxAnswer messageBox(Platform& platform, const std::string& text, const std::string& caption, BoxIcon icon,
                     BoxButtons buttons) {
    return platform.messageBox(caption, text, icon, buttons);
}

}  // namespace qx
