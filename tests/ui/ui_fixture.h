#pragma once
// A desktop program in a test: a started session, its Qt platform and the frame window, plus
// helpers that answer modal boxes and type into the cell area as a user does.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/session.h"
#include "ui/button_bar_widget.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace qx::test {

// Every Qt test class registers itself here; one program holds them all and runs the one named on
// its command line, so each class still gets a process of its own.
struct UiTestClass {
    const char* name;
    std::unique_ptr<QObject> (*make)();
};

inline std::vector<UiTestClass>& uiTestClasses() {
    static std::vector<UiTestClass> classes;
    return classes;
}

struct UiTestRegistration {
    UiTestRegistration(const char* name, std::unique_ptr<QObject> (*make)()) {
        uiTestClasses().push_back({name, make});
    }
};

inline SessionOptions testSessionOptions() {
    SessionOptions options;
    options.directories.startDirectory = QDir::tempPath().toStdString();
    options.directories.documentDirectory = QDir::tempPath().toStdString();
    return options;
}

struct Desktop {
    QtPlatform platform;
    Session session;
    std::unique_ptr<MainWindow> window;

    explicit Desktop(SessionOptions options = testSessionOptions()) : session(platform, std::move(options)) {
        ErrStat err;
        if (!session.start(err)) qFatal("session did not start");
        window = std::make_unique<MainWindow>(session, platform);
        window->resize(1000, 700);
        window->show();
        QApplication::processEvents();
    }

    CellAreaView& area() { return *window->activeCellArea(); }

    // Types an entry into the cell under the pointer, as the keyboard would, and presses Enter.
    void typeEntry(const QString& text) {
        QTest::keyClicks(&area(), text.left(1));
        QTest::keyClicks(window->editBar(), text.mid(1));
        QTest::keyClick(window->editBar(), Qt::Key_Return);
    }

    void enterAt(int row, int col, const QString& text) {
        area().moveTo(row, col);
        typeEntry(text);
    }
};

// The labels of the bar on show, in order.
inline QStringList buttonLabels(MainWindow& w) {
    QStringList out;
    for (QPushButton* b : w.buttonBar()->buttons()) out << b->text();
    return out;
}

struct SeenBox {
    QString caption;
    QString text;
    bool shown = false;
};

// Once the next modal box shows, runs `whileOpen` inside its event loop, then presses `button`.
// The poller it returns may be deleted by a test that expected no box, so it answers none later.
inline QPointer<QTimer> answerNextBox(QMessageBox::StandardButton button, SeenBox* seen = nullptr,
                                      std::function<void()> whileOpen = {}) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, button, seen, whileOpen, ticks] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // A box that never comes must not be answered in a later test.
        if (box == nullptr && ++*ticks > 1000) poll->deleteLater();
        if (box == nullptr) return;
        poll->stop();
        poll->deleteLater();
        if (seen) *seen = SeenBox{box->windowTitle(), box->text(), true};
        if (whileOpen) whileOpen();
        if (QAbstractButton* b = box->button(button)) {
            b->click();
        } else {
            box->reject();
        }
    });
    poll->start();
    return poll;
}

// Once a modal dialog of type T shows, runs `act` on it; `act` closes it (accept, reject or a button).
template <class T>
void onNextDialog(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, ticks] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr && ++*ticks > 1000) poll->deleteLater();
        if (dialog == nullptr) return;
        poll->stop();
        poll->deleteLater();
        act(dialog);
    });
    poll->start();
}

// Answers the next text prompt (a password, a number) with `answer`.
inline void answerNextPrompt(const QString& answer, QString* label = nullptr) {
    onNextDialog<QInputDialog>([answer, label](QInputDialog* d) {
        if (label) *label = d->labelText();
        d->setTextValue(answer);
        d->accept();
    });
}

}  // namespace qx::test

// Takes the place of QTEST_MAIN: NAME is the test's file name without "_test.cpp".
#define QX_UI_TEST(Class, NAME)                                \
    static const qx::test::UiTestRegistration qxUiTest##Class( \
        NAME, []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); })
