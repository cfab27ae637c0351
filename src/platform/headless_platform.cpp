#include "platform/headless_platform.h"

#include <chrono>
#include <ctime>

namespace qx {
namespace {

double steadyMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

DateTime localNow() {
    using namespace std::chrono;
    auto tp = system_clock::now();
    std::time_t secs = system_clock::to_time_t(tp);
    std::tm tm{};
    localtime_r(&secs, &tm);
    auto ms = duration_cast<milliseconds>(tp.time_since_epoch()).count() % 1000;
    DateTime dt;
    dt.year = tm.tm_year + 1900;
    dt.month = tm.tm_mon + 1;
    dt.day = tm.tm_mday;
    dt.hour = tm.tm_hour;
    dt.minute = tm.tm_min;
    dt.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second still fits the record's range
    dt.millisecond = static_cast<int>(ms < 0 ? 0 : ms);
    dt.weekday = tm.tm_wday;
    dt.yearDay = tm.tm_yday + 1;
    return dt;
}

const char* answerWord(BoxAnswer answer) {
    switch (answer) {
        case BoxAnswer::No:
            return "no";
        case BoxAnswer::Cancel:
            return "cancel";
        case BoxAnswer::Ok:
        case BoxAnswer::Yes:
            break;
    }
    return "yes";
}

void appendEscaped(std::string& out, const std::string& text) {
    for (char ch : text) {
        if (ch == '\n') {
            out += "\\n";
        } else {
            out += ch;
        }
    }
}

std::optional<std::string> popFront(std::deque<std::string>& queue) {
    if (queue.empty()) return std::nullopt;
    std::string front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

std::optional<PolicyAnswer> parsePolicyAnswer(std::string_view word) {
    if (word == "yes") return PolicyAnswer::Yes;
    if (word == "no") return PolicyAnswer::No;
    if (word == "cancel") return PolicyAnswer::Cancel;
    return std::nullopt;
}

BoxAnswer answerFor(BoxButtons buttons, PolicyAnswer answer) {
    switch (buttons) {
        case BoxButtons::Ok:
            return BoxAnswer::Ok;
        case BoxButtons::OkCancel:
            return answer == PolicyAnswer::Yes ? BoxAnswer::Ok : BoxAnswer::Cancel;
        case BoxButtons::YesNo:
            return answer == PolicyAnswer::Yes ? BoxAnswer::Yes : BoxAnswer::No;
        case BoxButtons::YesNoCancel:
            break;
    }
    if (answer == PolicyAnswer::Yes) return BoxAnswer::Yes;
    return answer == PolicyAnswer::No ? BoxAnswer::No : BoxAnswer::Cancel;
}

std::string formatBox(const RecordedBox& box) {
    std::string out = "MSG [";
    appendEscaped(out, box.caption);
    out += "] ";
    appendEscaped(out, box.text);
    out += '\n';
    if (box.buttons != BoxButtons::Ok) {
        out += "ANSWER ";
        out += answerWord(box.answer);
        out += '\n';
    }
    return out;
}

HeadlessPlatform::HeadlessPlatform() : m_startMs(steadyMs()) {}

PolicyAnswer HeadlessPlatform::nextAnswer() {
    if (m_answers.empty()) return m_policy;
    PolicyAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

BoxAnswer HeadlessPlatform::messageBox(const std::string& caption, const std::string& text, BoxIcon icon,
                                       BoxButtons buttons) {
    // An OK-only box asks nothing, so it must not use up a queued answer.
    BoxAnswer answer = buttons == BoxButtons::Ok ? BoxAnswer::Ok : answerFor(buttons, nextAnswer());
    m_boxes.push_back(RecordedBox{caption, text, icon, buttons, answer});
    if (m_observer) m_observer(m_boxes.back());
    return answer;
}

std::optional<std::string> HeadlessPlatform::promptText(const std::string&, const std::string&, bool) {
    return popFront(m_prompts);
}

std::optional<std::string> HeadlessPlatform::chooseFile(const std::string&, const std::string&, const std::string&,
                                                        bool) {
    return popFront(m_files);
}

DateTime HeadlessPlatform::now() {
    return m_fixedNow ? *m_fixedNow : localNow();
}

double HeadlessPlatform::elapsedMs() {
    return m_fixedElapsed ? *m_fixedElapsed : steadyMs() - m_startMs;
}

void HeadlessPlatform::useRealClock() {
    m_fixedNow.reset();
    m_fixedElapsed.reset();
}

}  // namespace qx
