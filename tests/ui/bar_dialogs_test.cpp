// Building button bars as a user does: the two bar dialogs, recording mode, script buttons, the
// limits and their messages, and the bars surviving a restart through the settings file.
#include <QFile>
#include <QTemporaryDir>

#include "ui/frame_dialogs.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

constexpr int kCopy = 541;
constexpr int kRowInsert = 9020;

// Adds a bar through "Add (deleted) a Button Bar ..." and leaves it on show.
void addBarByDialog(Desktop& d, const QString& name, SeenBox* refusal = nullptr) {
    onNextDialog<BarMenuDialog>([name](BarMenuDialog* dialog) {
        dialog->nameField()->setText(name);
        dialog->addBar();
        dialog->reject();
    });
    if (refusal) answerNextBox(QMessageBox::Ok, refusal);
    d.window->dialogs()->barMenuAction()->trigger();
}

AddButtonDialog* startRecording(Desktop& d) {
    d.window->dialogs()->addButtonAction()->trigger();
    return d.window->dialogs()->recording();
}

}  // namespace

class BarDialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void recordingTakesCommandsInsteadOfRunningThem();
    void aTenthButtonIsRefused();
    void defaultBarsCannotBeRecordedInto();
    void scriptButtons();
    void newBarNamesAreChecked();
    void deletingBars();
    void barsSurviveARestart();
};

void BarDialogsTest::recordingTakesCommandsInsteadOfRunningThem() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("kept"));
    d.area().moveTo(1, 1);
    addBarByDialog(d, QStringLiteral("Survey"));
    QCOMPARE(d.window->modeSelector()->currentText(), QStringLiteral("Survey"));
    AddButtonDialog* recorder = startRecording(d);
    QVERIFY(recorder != nullptr);
    QVERIFY(!d.window->dialogs()->barMenuAction()->isEnabled());

    d.window->commandAction(kCopy)->trigger();
    d.window->commandAction(kRowInsert)->trigger();
    QCOMPARE(buttonLabels(*d.window), (QStringList{"Copy", "RowIns"}));
    QCOMPARE(recorder->buttonList()->count(), 2);
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("kept"));  // no row went in above it
    // A recorded command button sends its command: pressing it while recording records it again.
    d.window->buttonBar()->buttons().back()->click();
    QCOMPARE(buttonLabels(*d.window).size(), 3);

    recorder->close();
    QApplication::processEvents();
    QVERIFY(d.window->dialogs()->recording() == nullptr);
    d.window->buttonBar()->buttons().at(1)->click();  // "RowIns" runs once recording has ended
    QCOMPARE(d.area().paintedText(2, 1), QStringLiteral("kept"));
}

void BarDialogsTest::aTenthButtonIsRefused() {
    Desktop d;
    addBarByDialog(d, QStringLiteral("Full"));
    AddButtonDialog* recorder = startRecording(d);
    for (int i = 0; i < kMaxBarButtons; ++i) d.window->commandAction(kCopy)->trigger();
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    d.window->commandAction(kRowInsert)->trigger();
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QCOMPARE(seen.text, QStringLiteral("You are exceeding the maximum number of buttons allowed\nin a Button Bar.  "
                                       "Try creating a new Button Bar."));
    QCOMPARE(buttonLabels(*d.window).size(), kMaxBarButtons);
    QVERIFY(!buttonLabels(*d.window).contains(QStringLiteral("RowIns")));
    recorder->close();
}

void BarDialogsTest::defaultBarsCannotBeRecordedInto() {
    Desktop d;
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QVERIFY(startRecording(d) == nullptr);
    QCOMPARE(seen.caption, QStringLiteral("WARNING!"));
    QCOMPARE(seen.text, QStringLiteral("This is one of the DEFAULT Button Bars - it cannot be modified."));
    // Without a recording dialog every command runs.
    d.enterAt(1, 1, QStringLiteral("moved"));
    d.area().moveTo(1, 1);
    d.window->commandAction(kRowInsert)->trigger();
    QCOMPARE(d.area().paintedText(2, 1), QStringLiteral("moved"));
}

void BarDialogsTest::scriptButtons() {
    Desktop d;
    addBarByDialog(d, QStringLiteral("Scripts"));
    AddButtonDialog* recorder = startRecording(d);
    const struct {
        QString name;
        QString refusal;  // empty: accepted
    } cases[] = {
        {QStringLiteral("Traverse9"), QStringLiteral("Script name is to large, It must be 8 characters of less!")},
        {QString(), QStringLiteral("Could not add the button!")},
        {QStringLiteral("nosuch"), QString()},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        if (!c.refusal.isEmpty()) answerNextBox(QMessageBox::Ok, &seen);
        recorder->scriptName()->setText(c.name);
        QTest::keyClick(recorder->scriptName(), Qt::Key_Return);
        if (!c.refusal.isEmpty()) {
            QCOMPARE(seen.caption, QStringLiteral("ERROR (DB42)!"));
            QCOMPARE(seen.text, c.refusal);
        }
    }
    recorder->close();
    QCOMPARE(buttonLabels(*d.window), QStringList{QStringLiteral("nosuch")});
    // A script button evaluates "+nosuch()"; with no such script attached that is a formula error.
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    d.window->buttonBar()->buttons().front()->click();
    QVERIFY(seen.shown);
    QVERIFY2(seen.text.contains(QStringLiteral("undefined function or script")), qPrintable(seen.text));
}

void BarDialogsTest::newBarNamesAreChecked() {
    Desktop d;
    const struct {
        QString name;
        QString caption;
        QString text;
    } refused[] = {
        {QString(), "ERROR (DB43)!", "A button bar menu name must be 16 characters or less!"},
        {QStringLiteral("Seventeen chars.."), "ERROR (DB43)!", "A button bar menu name must be 16 characters or less!"},
        {QStringLiteral("a,b"), "ERROR (DB43)!", "A button bar menu name cannot hold the character ','."},
        {QStringLiteral("Standard mode"), "WARNING", "Unable to add the new Button Bar Menu"},
    };
    for (const auto& r : refused) {
        SeenBox seen;
        addBarByDialog(d, r.name, &seen);
        QCOMPARE(seen.caption, r.caption);
        QCOMPARE(seen.text, r.text);
    }
    QCOMPARE(d.window->modeSelector()->count(), 3);
    addBarByDialog(d, QStringLiteral("Sixteen chars..."));
    while (d.window->modeSelector()->count() < kMaxBars) {
        addBarByDialog(d, QStringLiteral("Bar %1").arg(d.window->modeSelector()->count()));
    }
    SeenBox seen;
    addBarByDialog(d, QStringLiteral("Seventeenth"), &seen);
    QCOMPARE(seen.text, QStringLiteral("Unable to add the new Button Bar Menu"));
    QCOMPARE(d.window->modeSelector()->count(), kMaxBars);
    QVERIFY(d.window->modeSelector()->findText(QStringLiteral("Sixteen chars...")) >= 0);
}

void BarDialogsTest::deletingBars() {
    Desktop d;
    addBarByDialog(d, QStringLiteral("Mine"));
    addBarByDialog(d, QStringLiteral("Other"));
    d.session.bars().showBar("Mine");
    d.window->refreshBars();
    bool deleted = false;
    onNextDialog<BarMenuDialog>([&](BarMenuDialog* dialog) {
        QCOMPARE(dialog->barList()->currentItem()->text(), QStringLiteral("Mine"));
        deleted = dialog->deleteShownBar();
        dialog->reject();
    });
    d.window->dialogs()->barMenuAction()->trigger();
    QVERIFY(deleted);
    // The first remaining bar takes its place on show.
    QCOMPARE(d.window->modeSelector()->currentText(), QStringLiteral("Standard mode"));
    QCOMPARE(d.window->modeSelector()->findText(QStringLiteral("Mine")), -1);
    QVERIFY(d.window->modeSelector()->findText(QStringLiteral("Other")) >= 0);

    SeenBox seen;
    onNextDialog<BarMenuDialog>([&](BarMenuDialog* dialog) {
        answerNextBox(QMessageBox::Ok, &seen);
        QVERIFY(!dialog->deleteShownBar());
        dialog->reject();
    });
    d.window->dialogs()->barMenuAction()->trigger();
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QCOMPARE(seen.text, QStringLiteral("You cannot delete the 'Standard mode' menu."));
}

void BarDialogsTest::barsSurviveARestart() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Quorix.ini"));
    {
        // A bar written by hand whose button label is one character too long.
        QByteArray text("~~C{3.00}~~B{Hand made,1|Traverse9,4307}~~c{}");
        text.append(QByteArray(255 - text.size(), '~'));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    SessionOptions options = testSessionOptions();
    options.settingsPath = path.toStdString();
    {
        Desktop d(options);
        QVERIFY(d.window->modeSelector()->findText(QStringLiteral("Hand made")) >= 0);
        d.session.bars().showBar("Hand made");
        d.window->refreshBars();
        QCOMPARE(buttonLabels(*d.window), QStringList{QStringLiteral("Traverse")});
        addBarByDialog(d, QStringLiteral("Recorded"));
        AddButtonDialog* recorder = startRecording(d);
        d.window->commandAction(kCopy)->trigger();
        recorder->scriptName()->setText(QStringLiteral("Closure"));
        recorder->addScriptButton();
        recorder->close();
        ErrStat err;
        QVERIFY(d.session.finish(err));
    }
    Desktop again(options);
    QVERIFY(again.session.bars().showBar("Recorded"));
    again.window->refreshBars();
    QCOMPARE(buttonLabels(*again.window), (QStringList{"Copy", "Closure"}));
    QCOMPARE(again.session.bars().shownBar()->buttons.at(1).command, uint16_t(0));
}

QX_UI_TEST(BarDialogsTest, "bar_dialogs_test");
#include "bar_dialogs_test.moc"
