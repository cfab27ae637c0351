// The frame as a user meets it: every command in a menu, the Button Bar Menu and its bars, Edit
// mode, the status field, the view switches, and what closing and logging out do to unsaved work.
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>

#include "core/app_globals.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

QStringList selectorItems(MainWindow& w) {
    QStringList out;
    for (int i = 0; i < w.modeSelector()->count(); ++i) out << w.modeSelector()->itemText(i);
    return out;
}

bool inMenuBar(QMenuBar* bar, QAction* action) {
    std::function<bool(const QList<QAction*>&)> search = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a == action) return true;
            if (a->menu() && search(a->menu()->actions())) return true;
        }
        return false;
    };
    return search(bar->actions());
}

void choose(MainWindow& w, const QString& bar) {
    const int index = w.modeSelector()->findText(bar);
    QVERIFY(index >= 0);
    w.modeSelector()->setCurrentIndex(index);
    Q_EMIT w.modeSelector()->activated(index);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void everyCommandStandsInTheMenuBar();
    void theButtonBarMenuSwitchesBars();
    void buttonsThatDoNotFitAreNotCreated();
    void choosingEditModeStartsEditing();
    void statusFieldFollowsThePointer();
    void viewSwitchesHideTheirParts();
    void aDivertedCommandDoesNotRun();
    void importAndExportNeedAWorksheetWindow();
    void closeIsIgnoredWhileEditing();
    void cancelledSavePromptKeepsTheProgramAndTheCell();
    void logoutEndsEditingAndAsks();
    void nothingStartsInsideARunningOperation();
};

void FrameTest::everyCommandStandsInTheMenuBar() {
    Desktop d;
    for (const Command& c : d.session.commands().all()) {
        QAction* action = d.window->commandAction(c.id);
        QVERIFY2(action != nullptr, c.menuText.data());
        QVERIFY2(inMenuBar(d.window->menuBar(), action), c.menuText.data());
        QCOMPARE(action->text(), QString::fromLatin1(c.menuText.data(), qsizetype(c.menuText.size())));
    }
    QStringList menus;
    for (QAction* a : d.window->menuBar()->actions()) menus << a->text().remove(QLatin1Char('&'));
    QCOMPARE(menus, (QStringList{"File", "Edit", "View", "Tools", "Debug", "Window", "Help"}));
}

void FrameTest::theButtonBarMenuSwitchesBars() {
    Desktop d;
    QCOMPARE(selectorItems(*d.window), (QStringList{"Standard mode", "Edit mode", "Table options"}));
    QCOMPARE(d.window->modeSelector()->currentText(), QStringLiteral("Standard mode"));
    QCOMPARE(buttonLabels(*d.window).front(), QStringLiteral("Recalc"));
    choose(*d.window, QStringLiteral("Table options"));
    QCOMPARE(buttonLabels(*d.window),
             (QStringList{"Capture", "Place", "Invert", "Sort", "SwapCol", "RmvRow", "RmvCol", "SetValue"}));
    QCOMPARE(d.session.globals().modeName, std::string("Table options"));
}

void FrameTest::buttonsThatDoNotFitAreNotCreated() {
    Desktop d;
    ButtonBarWidget* bar = d.window->buttonBar();
    const int w = bar->buttonWidth();
    bar->resize(w * 3 + 10, bar->height());
    QCOMPARE(int(bar->buttons().size()), 3);
    for (QPushButton* b : bar->buttons()) QVERIFY(b->geometry().right() < bar->width());
    bar->resize(w * 12, bar->height());
    QCOMPARE(int(bar->buttons().size()), kMaxBarButtons);
}

void FrameTest::choosingEditModeStartsEditing() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("Bearing"));
    d.area().moveTo(1, 1);
    choose(*d.window, QStringLiteral("Edit mode"));
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("Bearing"));
    QCOMPARE(buttonLabels(*d.window).front(), QStringLiteral("Copy"));
    d.window->buttonBar()->buttons().front()->click();  // the bar's "Copy" works on the entry: editing goes on
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("Bearing"));
    d.window->dispatchCommand(592);  // "Esc"
    QVERIFY(!d.window->editing());
    QCOMPARE(d.window->modeSelector()->currentText(), QStringLiteral("Standard mode"));
}

void FrameTest::statusFieldFollowsThePointer() {
    Desktop d;
    d.area().moveTo(3, 4);
    QTRY_VERIFY_WITH_TIMEOUT(d.window->statusText().startsWith(QStringLiteral("[ 3, 4 ]")), 1000);
    d.enterAt(7, 2, QStringLiteral("+1"));
    d.area().moveTo(7, 2);
    QTRY_COMPARE_WITH_TIMEOUT(d.window->statusText(), QStringLiteral("[ 7, 2 ]  Formula"), 1000);
}

void FrameTest::viewSwitchesHideTheirParts() {
    Desktop d;
    QMenu* view = d.window->menuBar()->actions().at(2)->menu();
    auto action = [&](const QString& text) {
        for (QAction* a : view->actions()) {
            if (a->text() == text) return a;
        }
        return static_cast<QAction*>(nullptr);
    };
    action(QStringLiteral("Edit bar"))->trigger();
    QVERIFY(!d.window->editBarRow()->isVisible());
    QCOMPARE(d.session.globals().view.editBar, 0);
    action(QStringLiteral("Button bar"))->trigger();
    QVERIFY(!d.window->buttonBarRow()->isVisible());
    action(QStringLiteral("Status bar"))->trigger();
    QVERIFY(!d.window->statusBar()->isVisible());
    const QRect withBars = d.area().cellRect(1, 1);
    action(QStringLiteral("Column bar"))->trigger();
    action(QStringLiteral("Row bar"))->trigger();
    QCOMPARE(d.area().cellRect(1, 1).topLeft(), QPoint(0, 0));
    QVERIFY(withBars.topLeft() != QPoint(0, 0));
    action(QStringLiteral("Edit bar"))->trigger();
    QVERIFY(d.window->editBarRow()->isVisible());
}

void FrameTest::aDivertedCommandDoesNotRun() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("kept"));
    QStringList offered;
    d.window->setCommandDiverter([&](const Command& c) {
        offered << QString::fromLatin1(c.name.data(), qsizetype(c.name.size()));
        return true;
    });
    d.window->commandAction(9011)->trigger();  // "Clear workbook"
    QCOMPARE(offered, QStringList{QStringLiteral("ClrBook")});
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("kept"));
}

void FrameTest::importAndExportNeedAWorksheetWindow() {
    Desktop d;
    d.window->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    QVERIFY(d.window->mdiArea()->subWindowList().isEmpty());
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {9018, "You can only import to the active worksheet."},
        {9019, "You can only export from the active worksheet."},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        answerNextBox(QMessageBox::Ok, &seen);
        d.window->commandAction(c.id)->trigger();
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.caption, QStringLiteral("WARNING"));
        QCOMPARE(seen.text, QString::fromLatin1(c.text));
    }
}

void FrameTest::closeIsIgnoredWhileEditing() {
    Desktop d;
    QTest::keyClicks(&d.area(), QStringLiteral("a"));
    QVERIFY(d.window->editing());
    QVERIFY(!d.window->close());
    QVERIFY(d.window->isVisible());
    QVERIFY(d.window->editing());
}

void FrameTest::cancelledSavePromptKeepsTheProgramAndTheCell() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("unsaved"));
    SeenBox seen;
    answerNextBox(QMessageBox::Cancel, &seen);
    QVERIFY(!d.window->close());
    QCOMPARE(seen.caption, QStringLiteral("SAVE WORKBOOK?"));
    QVERIFY(d.window->isVisible());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("unsaved"));

    answerNextBox(QMessageBox::No);
    QVERIFY(d.window->close());
}

void FrameTest::logoutEndsEditingAndAsks() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("unsaved"));
    QTest::keyClicks(&d.area(), QStringLiteral("z"));
    QVERIFY(d.window->editing());
    SeenBox seen;
    answerNextBox(QMessageBox::Cancel, &seen);
    QVERIFY(!d.window->handleCommitData(true));
    QVERIFY(!d.window->editing());
    QCOMPARE(seen.caption, QStringLiteral("SAVE WORKBOOK?"));
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("unsaved"));
}

void FrameTest::nothingStartsInsideARunningOperation() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("kept"));
    // "Clear workbook" asks whether to save first; that box runs inside the engine operation.
    bool dispatched = true;
    bool closed = true;
    SeenBox seen;
    answerNextBox(QMessageBox::Cancel, &seen, [&] {
        QVERIFY(d.window->engineBusy());
        dispatched = d.window->dispatchCommand(9011);
        closed = d.window->close();
    });
    d.window->commandAction(9011)->trigger();
    QVERIFY(seen.shown);
    QVERIFY(!dispatched);
    QVERIFY(!closed);
    QVERIFY(d.window->isVisible());
    QVERIFY(!d.window->engineBusy());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("kept"));
}

QX_UI_TEST(FrameTest, "frame_test");
#include "frame_test.moc"
