#include "ui/qt_platform.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

#include "core/paths.h"
#include "core/scope_exit.h"
#include "ui/dialogs/line_width_dialog.h"

namespace qx {
namespace {

QMessageBox::Icon qtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Stop:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case BoxButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case BoxButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case BoxButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

BoxAnswer answerOf(int button, BoxButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return BoxAnswer::Ok;
        case QMessageBox::Yes:
            return BoxAnswer::Yes;
        case QMessageBox::No:
            return BoxAnswer::No;
        default:
            break;
    }
    // Closing the box with Escape or the title bar chooses the safe way out.
    if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Cancel;
}

// While a script runs, input other than Esc is dropped: a click or a key would act on a workbook the
// script is still changing. Esc is taken as the request to stop.
class InputHold final : public QObject {
  public:
    bool stopAsked = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopAsked = true;
                return true;
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TabletPress:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

QString extensionPatterns(const QString& pattern) {
    QStringList out;
    for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        out << trimmed;
        if (trimmed != QLatin1String("*.*") && trimmed.toUpper() != trimmed) out << trimmed.toUpper();
    }
    return out.join(QLatin1Char(' '));
}

}  // namespace

QString qtFilterText(const FileFilter& filter) {
    const QString pattern = fromEngine(filter.pattern);
    if (pattern == QLatin1String("*.*")) return QStringLiteral("All Files (*)");
    QString description = fromEngine(filter.description);
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0) description = description.left(open).trimmed();
    return description + QStringLiteral(" (") + extensionPatterns(pattern) + QLatin1Char(')');
}

std::string pathToEngine(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathFromEngine(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QtPlatform::QtPlatform() {
    m_clock.start();
}

BoxAnswer QtPlatform::messageBox(const std::string& caption, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) {
    if (m_quiet) {
        std::fprintf(stderr, "quorix: [%s] %s\n", caption.c_str(), text.c_str());
        return answerOf(QMessageBox::NoButton, buttons);
    }
    if (m_beforeBox) m_beforeBox();
    QMessageBox box(qtIcon(icon), fromEngine(caption), fromEngine(text), qtButtons(buttons), m_frame);
    box.setTextFormat(Qt::PlainText);
    if (buttons == BoxButtons::YesNoCancel) box.setDefaultButton(QMessageBox::Yes);
    ++m_openBoxes;
    const int button = box.exec();
    --m_openBoxes;
    if (m_afterBox) m_afterBox();
    return answerOf(button, buttons);
}

std::optional<std::string> QtPlatform::promptText(const std::string& caption, const std::string& prompt, bool hidden) {
    if (caption == kLineWidthCaption) return promptLineWidth(prompt);
    QInputDialog dialog(m_frame);
    dialog.setWindowTitle(fromEngine(caption));
    dialog.setLabelText(fromEngine(prompt));
    dialog.setTextEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    ++m_openBoxes;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    --m_openBoxes;
    if (m_afterBox) m_afterBox();
    if (!accepted) return std::nullopt;
    return toEngine(dialog.textValue());
}

std::optional<std::string> QtPlatform::promptLineWidth(const std::string& prompt) {
    LineWidthDialog dialog(fromEngine(prompt), *this, m_frame);
    ++m_openBoxes;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    --m_openBoxes;
    if (m_afterBox) m_afterBox();
    if (!accepted || !dialog.width()) return std::nullopt;
    return std::to_string(*dialog.width());
}

std::optional<std::string> QtPlatform::chooseFile(const std::string& caption, const std::string& directory,
                                                  const std::string& filter, bool forSaving) {
    const auto choice = chooseFileOfType(caption, directory, {FileFilter{filter, filter}}, 0, forSaving);
    if (!choice) return std::nullopt;
    return choice->path;
}

std::optional<FileChoice> QtPlatform::chooseFileOfType(const std::string& caption, const std::string& directory,
                                                       const std::vector<FileFilter>& filters, int preselected,
                                                       bool forSaving) {
    QFileDialog dialog(m_frame, fromEngine(caption), pathFromEngine(directory));
    QStringList names;
    for (const FileFilter& f : filters) names << qtFilterText(f);
    dialog.setNameFilters(names);
    if (preselected >= 0 && preselected < names.size()) dialog.selectNameFilter(names[preselected]);
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The extension rules of Save As are the program's own: the dialog must not add or question anything.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    ++m_openBoxes;
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    --m_openBoxes;
    if (m_afterBox) m_afterBox();
    if (!accepted) return std::nullopt;
    return FileChoice{pathToEngine(dialog.selectedFiles().front()),
                      static_cast<int>(names.indexOf(dialog.selectedNameFilter()))};
}

DateTime QtPlatform::now() {
    const QDateTime t = QDateTime::currentDateTime();
    DateTime out;
    out.year = t.date().year();
    out.month = t.date().month();
    out.day = t.date().day();
    out.hour = t.time().hour();
    out.minute = t.time().minute();
    out.second = t.time().second();
    out.millisecond = t.time().msec();
    out.weekday = t.date().dayOfWeek() % 7;
    out.yearDay = t.date().dayOfYear();
    return out;
}

double QtPlatform::elapsedMs() {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
}

void QtPlatform::changed() {
    if (m_onChanged) m_onChanged();
}

void QtPlatform::statusText(const std::string& text) {
    if (m_onStatus) m_onStatus(fromEngine(text));
}

bool QtPlatform::pollInterrupt() {
    // Not inside itself, and never without the guard: a close or command would then run mid-operation.
    if (m_polling || !m_guarded || !m_guarded() || QCoreApplication::instance() == nullptr) return false;
    m_polling = true;
    InputHold hold;
    QCoreApplication::instance()->installEventFilter(&hold);
    const ScopeExit restore([this, &hold] {
        QCoreApplication::instance()->removeEventFilter(&hold);
        m_polling = false;
    });
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return hold.stopAsked;
}

}  // namespace qx
