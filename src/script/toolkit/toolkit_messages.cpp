// The toolkit's error number, format expansion and message boxes.
#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "script/toolkit/origins.h"
#include "script/toolkit/toolkit_call.h"
#include "script/toolkit/toolkit_format.h"
#include "script/toolkit/toolkit_functions.h"

namespace qx {

using namespace origins::toolkit;

namespace {

constexpr int kErrlistNumberMax = 32767;
// A message box's text is held to this many characters.
constexpr std::size_t kMessageTextLimit = 1023;

// A format's values are the call's next arguments; running out of them is a malformed call.
class CallValues final : public FormatValues {
  public:
    explicit CallValues(FunctionCall& call) : m_call(call) {}

    bool text(std::string& out, ErrStat& err) override {
        if (m_call.ended()) return malformedCall(m_call, 2, err), false;
        const StringArgument s = toolkitString(m_call, err);
        if (err.failed()) return false;
        out = s.text;
        return true;
    }
    bool number(double& out, ErrStat& err) override {
        if (m_call.ended()) return malformedCall(m_call, 3, err), false;
        out = numericArgument(m_call, err);
        if (err.failed()) return err.trace(kToolkitFormat), false;
        return true;
    }

  private:
    FunctionCall& m_call;
};

// Expands the format with the call's remaining arguments, which it must use up exactly.
bool expandWithArguments(FunctionCall& call, std::string_view format, std::size_t limit, std::string& out,
                         ErrStat& err) {
    CallValues values(call);
    out = expandFormat(format, limit, values, err);
    if (err.failed()) return false;
    if (!call.ended()) return malformedCall(call, 4, err), false;
    return true;
}

double answerValue(BoxAnswer answer) {
    switch (answer) {
        case BoxAnswer::Ok:
            return 2.0;
        case BoxAnswer::Yes:
            return 3.0;
        case BoxAnswer::No:
            return 1.0;
        default:
            return 0.0;
    }
}

BoxButtons buttonsFor(int type) {
    switch (type) {
        case 1:
            return BoxButtons::OkCancel;
        case 2:
            return BoxButtons::YesNo;
        case 3:
            return BoxButtons::YesNoCancel;
        default:
            return BoxButtons::Ok;
    }
}

}  // namespace

double fnErrno(FunctionCall& call, ErrStat& err) {
    if (!toolkitNumbers(call, nullptr, 0, err)) return 0.0;
    return toolkitOf(call).errorNumber();
}

double fnSeterrno(FunctionCall& call, ErrStat& err) {
    double v = 0.0;
    if (!toolkitNumbers(call, &v, 1, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    const int n = toInteger(v);
    if (!inRanges({{n, kScriptErrorMin, 0}})) return tk.refuse(Msg::ParameterOutOfRange);
    if (n == 0) {
        tk.clearErrors();
        errno = 0;
    } else {
        tk.setErrorNumber(n);
    }
    return 0.0;
}

double fnErrlist(FunctionCall& call, ErrStat& err) {
    StringArgument target;
    if (!outputString(call, target, err)) return 0.0;
    double v = 0.0;
    if (!toolkitNumbers(call, &v, 1, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!target.writable()) return tk.refuse(Msg::ModifyIllegalString);
    if (!inRanges({{toInteger(v), 1, kErrlistNumberMax}})) return tk.refuse(Msg::ParameterOutOfRange);
    const std::string text = errorListText(tk.errorNumber(), target.size);
    if (text.size() > static_cast<std::size_t>(target.size)) return target.store(""), 0.0;
    return target.store(text);
}

double fnSprintf(FunctionCall& call, ErrStat& err) {
    StringArgument target;
    if (!outputString(call, target, err)) return 0.0;
    Toolkit& tk = toolkitOf(call);
    if (!target.writable()) return tk.refuse(Msg::ModifyIllegalString);
    if (call.ended()) return malformedCall(call, 5, err);
    const StringArgument format = toolkitString(call, err);
    if (err.failed()) return 0.0;
    std::string text;
    if (!expandWithArguments(call, format.text, static_cast<std::size_t>(target.size), text, err)) return 0.0;
    return target.store(text);
}

double fnMessageBox(FunctionCall& call, ErrStat& err) {
    double type = 0.0;
    if (call.ended()) return malformedCall(call, 6, err);
    type = numericArgument(call, err);
    if (err.failed()) return err.trace(kToolkitMessage), 0.0;
    if (call.ended()) return malformedCall(call, 7, err);
    const StringArgument title = toolkitString(call, err);
    if (err.failed() || call.ended()) return err.failed() ? 0.0 : malformedCall(call, 8, err);
    const StringArgument format = toolkitString(call, err);
    if (err.failed()) return 0.0;
    // The format is the script's own text: a constant or one of its strings, never a cell's.
    const bool ownText = format.kind == StringKind::Constant || format.local || format.writable();
    if (!ownText) return malformedCall(call, 9, err);
    std::string text;
    if (!expandWithArguments(call, format.text, kMessageTextLimit, text, err)) return 0.0;
    Platform* platform = call.services().platform;
    if (text.empty() || platform == nullptr) return 0.0;
    return answerValue(platform->messageBox(title.text, text, BoxIcon::None, buttonsFor(toInteger(type))));
}

}  // namespace qx
