#pragma once
// A Platform without windows: questions are answered from a queue or a policy, every box is
// recorded, and the clock can be fixed. Used by quorix-cli and the tests.
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace qx {

// The user's intent for a question, independent of the box's buttons.
enum class PolicyAnswer { Yes, No, Cancel };

std::optional<PolicyAnswer> parsePolicyAnswer(std::string_view word);  // "yes", "no", "cancel"

struct RecordedBox {
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    BoxAnswer answer = BoxAnswer::Ok;
};

// The box as the CLI prints it: "MSG [<caption>] <text>" (newlines in the text written as \n),
// and for a question a second line "ANSWER yes|no|cancel". Each line ends with '\n'.
std::string formatBox(const RecordedBox& box);

// The button a policy answer presses on a box with the given buttons.
BoxAnswer answerFor(BoxButtons buttons, PolicyAnswer answer);

class HeadlessPlatform : public Platform {
  public:
    HeadlessPlatform();

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> promptText(const std::string& caption, const std::string& prompt, bool hidden) override;
    std::optional<std::string> chooseFile(const std::string& caption, const std::string& directory,
                                          const std::string& filter, bool forSaving) override;
    DateTime now() override;
    double elapsedMs() override;
    void changed() override { ++m_changedCount; }
    void statusText(const std::string& text) override { m_status = text; }
    const std::string& status() const { return m_status; }

    // Answers for questions: queued ones first, in order, then the policy (Yes at start).
    void setPolicy(PolicyAnswer answer) { m_policy = answer; }
    PolicyAnswer policy() const { return m_policy; }
    void queueAnswer(PolicyAnswer answer) { m_answers.push_back(answer); }
    // Texts for prompts and file choices; an empty queue means the user cancelled.
    void queuePrompt(std::string text) { m_prompts.push_back(std::move(text)); }
    void queueFile(std::string path) { m_files.push_back(std::move(path)); }

    // Called with each box as it is answered.
    void setObserver(std::function<void(const RecordedBox&)> observer) { m_observer = std::move(observer); }
    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    void clearBoxes() { m_boxes.clear(); }

    void setNow(const DateTime& fixed) { m_fixedNow = fixed; }
    void setElapsedMs(double ms) { m_fixedElapsed = ms; }
    void useRealClock();

    std::size_t changedCount() const { return m_changedCount; }

  private:
    PolicyAnswer nextAnswer();

    PolicyAnswer m_policy = PolicyAnswer::Yes;
    std::deque<PolicyAnswer> m_answers;
    std::deque<std::string> m_prompts;
    std::deque<std::string> m_files;
    std::vector<RecordedBox> m_boxes;
    std::string m_status;
    std::function<void(const RecordedBox&)> m_observer;
    std::optional<DateTime> m_fixedNow;
    std::optional<double> m_fixedElapsed;
    double m_startMs = 0.0;
    std::size_t m_changedCount = 0;
};

}  // namespace qx
