#pragma once
// The Platform of the desktop program: real message boxes, questions, a password prompt and file
// dialogs on the frame window, the wall clock, and the repaint request.
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/platform.h"

namespace qx {

// The Qt filter text for one type-list entry; each extension is listed in both cases.
QString qtFilterText(const FileFilter& filter);

class QtPlatform final : public Platform {
  public:
    QtPlatform();

    // Boxes and dialogs are modal on this window once it is set.
    void setFrame(QWidget* frame) { m_frame = frame; }
    // Called before every box, so what the box speaks of can be shown first.
    void setBeforeBox(std::function<void()> beforeBox) { m_beforeBox = std::move(beforeBox); }
    // Called after every box, so the edit bar can take the keyboard focus again.
    void setAfterBox(std::function<void()> afterBox) { m_afterBox = std::move(afterBox); }
    // Called when the engine says that what worksheets show has changed.
    void setOnChanged(std::function<void()> onChanged) { m_onChanged = std::move(onChanged); }
    // Shows the engine's status lines (a failing script condition).
    void setOnStatusText(std::function<void(const QString&)> onStatus) { m_onStatus = std::move(onStatus); }
    // Whether the guard against re-entry is in force: only then may a running operation let pending
    // events through, since any command or close they carry is refused.
    void setReentryGuard(std::function<bool()> guarded) { m_guarded = std::move(guarded); }

    BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> promptText(const std::string& caption, const std::string& prompt, bool hidden) override;
    std::optional<std::string> chooseFile(const std::string& caption, const std::string& directory,
                                          const std::string& filter, bool forSaving) override;
    std::optional<FileChoice> chooseFileOfType(const std::string& caption, const std::string& directory,
                                               const std::vector<FileFilter>& filters, int preselected,
                                               bool forSaving) override;
    DateTime now() override;
    double elapsedMs() override;
    void changed() override;
    void statusText(const std::string& text) override;
    // Lets pending events through (painting, timers) and drops user input; Esc is the one key taken,
    // as the request to stop.
    bool pollInterrupt() override;

    // Without a user (the screenshot mode) boxes are written to standard error and take the safe answer.
    void setQuiet(bool quiet) { m_quiet = quiet; }

    // Boxes currently open (nested boxes count each).
    int openBoxes() const { return m_openBoxes; }

  private:
    // The "Line Width" prompt of exports has its own dialog with a "Use default" button.
    std::optional<std::string> promptLineWidth(const std::string& prompt);

    QPointer<QWidget> m_frame;
    std::function<void()> m_beforeBox;
    std::function<void()> m_afterBox;
    std::function<void()> m_onChanged;
    std::function<void(const QString&)> m_onStatus;
    std::function<bool()> m_guarded;
    bool m_polling = false;
    QElapsedTimer m_clock;
    int m_openBoxes = 0;
    bool m_quiet = false;
};

// Engine text is a byte string; the desktop shows it as Latin-1 and paths go to the file system as bytes.
inline QString fromEngine(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toEngine(const QString& text) {
    return text.toLatin1().toStdString();
}
std::string pathToEngine(const QString& path);
QString pathFromEngine(const std::string& path);

}  // namespace qx
