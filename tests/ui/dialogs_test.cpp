// The command dialogs as a user meets them: workbook protection and the access password, inserting a
// function, renaming, level defaults, the export line width, the Debug walks, the function keys and
// the Save As dialog's extension rule; and scripts: the script controls and the compile dialog, script
// buttons and function keys running real compiled libraries, Esc and the status line while one runs.
#include <QFile>
#include <QFileDialog>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "ui/dialogs/function_dialog.h"
#include "ui/dialogs/level_defaults_dialog.h"
#include "ui/dialogs/line_width_dialog.h"
#include "ui/dialogs/protection_dialog.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/dialogs/script_dialogs.h"
#include "ui/frame_dialogs.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

constexpr int kUsedCells = 9007;
constexpr int kFunction = 547;
constexpr int kRenameWorkbook = 9016;
constexpr int kRenameWorksheet = 9017;
constexpr int kSaveAsWorkbook = 9014;
constexpr int kSaveAsWorksheet = 9015;

uint32_t without(uint32_t word, int bit) {
    return word & ~(1u << bit);
}

QMenu* submenu(QMenu* menu, const QString& title) {
    for (QAction* a : menu->actions()) {
        if (a->menu() && a->text() == title) return a->menu();
    }
    return nullptr;
}

QMenu* topMenu(MainWindow& w, const QString& title) {
    for (QAction* a : w.menuBar()->actions()) {
        if (a->text().remove(QLatin1Char('&')) == title) return a->menu();
    }
    return nullptr;
}

constexpr int kClearWorkbook = 9011;

// Scripts that show what they did in cells without the toolkit: a store into element 1 of a label
// changes its first character.
constexpr const char* kKeysSource = R"(#VERSION 1.5
#FKEY 9 "fill"
#FKEY 10 "spin"
fill()
{
  [1,1,1]=88;
  return(7);
}
spin()
{
  [2,1,1]=90;
  while(1){}
}
badcond()
{
  if(nosuch()){}
}
add(val:a,b)
{
  return(a+b);
}
boxed()
{
  [3,1,1]=77;
  MessageBox(0,"Note","Working");
  [3,1,2]=78;
}
)";

bool writeFile(const QString& path, const char* text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == static_cast<qint64>(std::strlen(text));
}

// The frame's way of running an engine operation, as the script controls get it.
OperationRunner runnerOf(Desktop& d) {
    return [&d](const std::function<void(ErrStat&)>& op) { return d.window->runOperation(op); };
}

// Compiles the key scripts in `dir` and attaches them; false when either failed.
bool attachKeys(Desktop& d, const QTemporaryDir& dir) {
    if (!writeFile(dir.filePath(QStringLiteral("keys.s")), kKeysSource)) return false;
    const CompileOutcome outcome = d.session.compileSource(pathToEngine(dir.filePath(QStringLiteral("keys.s"))), false);
    if (outcome.errors != 0) return false;
    ScriptLibraryDialog dialog(d.session, d.platform, runnerOf(d), d.window.get());
    return dialog.attach(dir.filePath(QStringLiteral("keys.slb")));
}

QStringList column(QTreeWidget* tree, int col) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(col);
    return out;
}

std::vector<ProtectionLevelInfo> levelInfo(std::initializer_list<bool> empties) {
    std::vector<ProtectionLevelInfo> out(1);
    int n = 1;
    for (bool empty : empties) out.push_back({"wksht" + std::to_string(n++) + ".qx2", empty});
    return out;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void protectionNeedsAConfirmedPassword();
    void protectionBoxesEditTheSelectedLevel();
    void protectionWithoutAPasswordRevertsOnlyWhenAsked();
    void aProtectedLevelAsksForItsPassword();
    void anOpenedWorkbookLocksOpenWindows();
    void functionInsertPlacesTheTemplate();
    void renameRefusesCharactersAsTyped();
    void levelDefaultsChangeTheLevel();
    void lineWidthKeepsToItsRange();
    void debugWalkMovesThePointerWithEachBox();
    void functionKeysRunTheirScripts();
    void compileDialogListsMessagesAndWritesTheLog();
    void scriptControlsAttachListAndDetach();
    void keysAndButtonsRunCompiledScripts();
    void escStopsARunningScriptWhileCommandsAreRefused();
    void aFailingConditionShowsItsStatusLine();
    void aScriptsBoxRefusesCommandsAndClose();
    void saveAsRefusesAnotherTypesExtension();
};

void DialogsTest::protectionNeedsAConfirmedPassword() {
    QtPlatform platform;
    ProtectionSettings live;
    ProtectionDialog dialog(live, levelInfo({false, true}), platform);
    QCOMPARE(dialog.prompt()->text(), QStringLiteral("      Must enter a password to continue:"));
    QVERIFY(!dialog.permissionBox(kActionEdit)->isEnabled());

    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(dialog.passwordField(), QStringLiteral("a b"));
    QCOMPARE(seen.caption, QStringLiteral("Illegal Character"));
    QVERIFY(dialog.passwordField()->text().size() <= 1);  // the entry was cleared at the blank

    dialog.passwordField()->clear();
    QTest::keyClicks(dialog.passwordField(), QStringLiteral("abcdefghijk"));
    QCOMPARE(dialog.passwordField()->text(), QStringLiteral("abcdefghij"));
    dialog.confirmBox()->setChecked(true);
    QTest::keyClicks(dialog.confirmField(), QStringLiteral("abcdefghiX"));
    dialog.confirmButton()->click();
    QCOMPARE(dialog.prompt()->text(), QStringLiteral("Passwords were not identical, try again:"));
    QVERIFY(!dialog.permissionBox(kActionEdit)->isEnabled());

    dialog.confirmField()->setText(QStringLiteral("abcdefghij"));
    dialog.confirmButton()->click();
    QCOMPARE(dialog.prompt()->text(), QStringLiteral("  REMEMBER THIS PASSWORD !"));
    QVERIFY(dialog.permissionBox(kActionEdit)->isEnabled());
    QVERIFY(live.password.empty());  // nothing is written before "Finsih"
    QVERIFY(dialog.finish());
    QCOMPARE(live.password.text(), std::string("abcdefghij"));
}

void DialogsTest::protectionBoxesEditTheSelectedLevel() {
    QtPlatform platform;
    ProtectionSettings live;
    live.password.assign("secret");
    ProtectionDialog dialog(live, levelInfo({false, true, false, true}), platform);
    QCOMPARE(dialog.prompt()->text(), QStringLiteral("Use [Reset] button to change password:"));
    QCOMPARE(dialog.levelList()->item(0)->text(), QStringLiteral("  0)     <Empty Level Default Settings>"));
    QCOMPARE(dialog.levelList()->item(2)->text(), QStringLiteral("  2)     wksht2.qx2   :   <empty>  "));

    // Level 1 can always be entered.
    QCOMPARE(dialog.boxesCaption()->text(), QStringLiteral("Actions ALLOWED at Level 1 include:"));
    QCOMPARE(dialog.permissionBox(kActionAccess)->text(), QStringLiteral("Access (required at Level 1)"));
    QVERIFY(dialog.permissionBox(kActionAccess)->isChecked());
    QVERIFY(!dialog.permissionBox(kActionAccess)->isEnabled());

    dialog.levelList()->setCurrentRow(3);
    QCOMPARE(dialog.boxesCaption()->text(), QStringLiteral("Actions ALLOWED at Level 3 include:"));
    dialog.permissionBox(kActionEdit)->setChecked(false);
    dialog.permissionBox(kActionAccess)->setChecked(false);

    // The defaults of empty levels reach every empty level from 2 up, without the open bit.
    dialog.levelList()->setCurrentRow(0);
    QCOMPARE(dialog.boxesCaption()->text(), QStringLiteral("Default actions allowed at ALL EMPTY Levels:"));
    dialog.permissionBox(kActionSortRows)->setChecked(false);
    dialog.permissionBox(kRequireOpenPassword)->setChecked(true);
    dialog.levelList()->setCurrentRow(2);
    QCOMPARE(dialog.boxesCaption()->text(), QStringLiteral("Actions ALLOWED at Level 2 (see Empty Level Defaults):"));
    QVERIFY(!dialog.permissionBox(kActionSortRows)->isChecked());

    QVERIFY(dialog.finish());
    QCOMPARE(live.permissions[3], without(without(kPermissionReset, kActionEdit), kActionAccess));
    QCOMPARE(live.permissions[0], without(kPermissionReset, kActionSortRows) | 1u);
    QCOMPARE(live.permissions[2], without(kPermissionReset, kActionSortRows));
    QCOMPARE(live.permissions[4], without(kPermissionReset, kActionSortRows));
    QCOMPARE(live.permissions[1], kPermissionReset);
}

void DialogsTest::protectionWithoutAPasswordRevertsOnlyWhenAsked() {
    QtPlatform platform;
    ProtectionSettings live;
    live.password.assign("old");
    live.permissions[2] = 0;
    ProtectionDialog dialog(live, levelInfo({false, false}), platform);
    dialog.resetButton()->click();
    QVERIFY(!dialog.permissionBox(kActionEdit)->isEnabled());

    SeenBox seen;
    answerNextBox(QMessageBox::No, &seen);
    QVERIFY(!dialog.finish());
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QVERIFY(seen.text.startsWith(QStringLiteral("A valid password has not been entered.")));
    QCOMPARE(live.password.text(), std::string("old"));

    answerNextBox(QMessageBox::Yes);
    QVERIFY(dialog.finish());
    QVERIFY(live.password.empty());
    QCOMPARE(live.permissions[2], kPermissionReset);

    // Opening and finishing without a change leaves a password-less workbook as it was, unasked.
    ProtectionSettings plain;
    plain.permissions[5] = 0;
    ProtectionDialog untouched(plain, levelInfo({false}), platform);
    QVERIFY(untouched.finish());
    QCOMPARE(plain.permissions[5], 0u);
}

void DialogsTest::aProtectedLevelAsksForItsPassword() {
    Desktop d;
    d.session.protection().password.assign("pw");
    setPermissionWord(d.session.protection(), 3, without(kPermissionReset, kActionAccess));
    QMenu* levels = submenu(topMenu(*d.window, QStringLiteral("Window")), QStringLiteral("Open level"));
    QVERIFY(levels != nullptr);
    auto openLevel3 = [&] {
        Q_EMIT levels->aboutToShow();
        levels->actions().at(2)->trigger();
    };
    QString label;
    SeenBox seen;
    answerNextPrompt(QStringLiteral("PW"), &label);
    answerNextBox(QMessageBox::Ok, &seen);
    openLevel3();
    QCOMPARE(label, QStringLiteral("Password required to ACCESS Level 3:"));
    QCOMPARE(seen.text, QStringLiteral("Incorrect Password."));
    QCOMPARE(d.window->activeLevel(), 1);

    answerNextPrompt(QStringLiteral("pw"));
    openLevel3();
    QCOMPARE(d.window->activeLevel(), 3);
    QCOMPARE(d.session.activeLevel(), 3);
}

void DialogsTest::anOpenedWorkbookLocksOpenWindows() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("locked.qx3"));
    {
        Desktop maker;
        ErrStat err;
        maker.session.formulas().entry().storeEntry("secret", 1, 1, 3, EntryOptions{}, err);
        maker.session.protection().password.assign("pw");
        setPermissionWord(maker.session.protection(), 3, without(kPermissionReset, kActionAccess));
        QVERIFY(maker.session.files().saveFile(0, dir.path().toStdString(), "locked.qx3", false, err));
    }
    const struct {
        QString answer;
        bool shown;  // the level 3 window stays, showing the loaded cells
    } cases[] = {{QStringLiteral("pw"), true}, {QStringLiteral("PW"), false}};
    for (const auto& c : cases) {
        Desktop d;
        QMenu* levels = submenu(topMenu(*d.window, QStringLiteral("Window")), QStringLiteral("Open level"));
        Q_EMIT levels->aboutToShow();
        levels->actions().at(2)->trigger();  // level 3 is empty and open to all
        QCOMPARE(d.window->activeLevel(), 3);

        d.session.globals().recentFiles = {path.toStdString()};
        QMenu* recent = submenu(topMenu(*d.window, QStringLiteral("File")), QStringLiteral("Recent files"));
        Q_EMIT recent->aboutToShow();
        QString label;
        bool hiddenWhileAsked = false;
        onNextDialog<QInputDialog>([&](QInputDialog* prompt) {
            label = prompt->labelText();
            hiddenWhileAsked = !d.window->activeWorksheet() || !d.window->activeWorksheet()->isVisible();
            prompt->setTextValue(c.answer);
            prompt->accept();
        });
        SeenBox seen;
        if (!c.shown) answerNextBox(QMessageBox::Ok, &seen);
        recent->actions().front()->trigger();
        QCOMPARE(label, QStringLiteral("Password required to ACCESS Level 3:"));
        QVERIFY(hiddenWhileAsked);
        QApplication::processEvents();
        if (c.shown) {
            QCOMPARE(d.window->activeLevel(), 3);
            QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("secret"));
        } else {
            QCOMPARE(seen.text, QStringLiteral("Incorrect Password."));
            QCOMPARE(d.window->activeLevel(), 1);
            QCOMPARE(d.window->mdiArea()->subWindowList().size(), 1);
        }
    }
}

void DialogsTest::functionInsertPlacesTheTemplate() {
    Desktop d;
    QTest::keyClicks(&d.area(), QStringLiteral("+"));
    QVERIFY(d.window->editing());
    QString help;
    onNextDialog<FunctionDialog>([&](FunctionDialog* dialog) {
        QCOMPARE(dialog->categoryList()->count(), 16);
        QCOMPARE(dialog->categoryList()->item(11)->text(), QStringLiteral("Statistics:  Summary"));
        dialog->categoryList()->setCurrentRow(1);  // "Math"
        const auto found = dialog->functionList()->findItems(QStringLiteral("rnd"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dialog->functionList()->setCurrentItem(found.front());
        help = dialog->helpText()->text();
        dialog->accept();
    });
    d.window->dispatchCommand(kFunction);
    QVERIFY(help.startsWith(QStringLiteral("rnd (x, n)")));
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("+rnd(x,n)"));
    d.window->cancelEdit();

    // Outside Edit mode the command starts editing the cell first.
    onNextDialog<FunctionDialog>([](FunctionDialog* dialog) {
        dialog->categoryList()->setCurrentRow(0);  // "String": its first function is "atof"
        dialog->accept();
    });
    d.window->dispatchCommand(kFunction);
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("atof(string)"));
}

void DialogsTest::renameRefusesCharactersAsTyped() {
    Desktop d;
    const QString before = QString::fromStdString(d.session.workbookFiles().name);
    QVERIFY(!before.isEmpty());
    QString prefilled;
    SeenBox seen;
    onNextDialog<RenameDialog>([&](RenameDialog* dialog) {
        prefilled = dialog->nameField()->text();
        dialog->nameField()->clear();
        answerNextBox(QMessageBox::Ok, &seen);
        QTest::keyClicks(dialog->nameField(), QStringLiteral("Sur/vey"));
        dialog->accept();
    });
    d.window->dispatchCommand(kRenameWorkbook);
    QCOMPARE(prefilled, before);
    QCOMPARE(seen.caption, QStringLiteral("Illegal Character"));
    QCOMPARE(d.session.workbookFiles().name, std::string("Survey"));
    QVERIFY(d.window->windowTitle().contains(QStringLiteral("Survey")));

    onNextDialog<RenameDialog>([&](RenameDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Rename Worksheet (max 32 chars)"));
        prefilled = dialog->nameField()->text();
        dialog->nameField()->setText(QStringLiteral("stations"));
        dialog->accept();
    });
    d.window->dispatchCommand(kRenameWorksheet);
    QCOMPARE(prefilled, QStringLiteral("wksht1"));
    QCOMPARE(d.session.cells().levelPtr(1)->defaultFileName, std::string("stations.qx2"));

    SeenBox empty;
    onNextDialog<RenameDialog>([&](RenameDialog* dialog) {
        dialog->nameField()->clear();
        answerNextBox(QMessageBox::Ok, &empty);
        dialog->accept();
    });
    d.window->dispatchCommand(kRenameWorksheet);
    QCOMPARE(empty.caption, QStringLiteral("Warning"));
    QCOMPARE(d.session.cells().levelPtr(1)->defaultFileName, std::string("stations.qx2"));
}

void DialogsTest::levelDefaultsChangeTheLevel() {
    Desktop d;
    LevelRec& level = *d.session.cells().levelPtr(1);
    level.colWidths[3] = 120;  // sized by the user
    onNextDialog<LevelDefaultsDialog>([](LevelDefaultsDialog* dialog) {
        QCOMPARE(dialog->rangePasses()->value(), 1);
        dialog->gridLines()->setChecked(false);
        dialog->gridColour()->setCurrentIndex(9);
        dialog->columnWidth()->setValue(100);
        dialog->rangePasses()->setValue(0);
        dialog->precision()->setValue(4);
        dialog->accept();
    });
    d.window->dialogs()->levelDefaultsAction()->trigger();
    QCOMPARE(level.defaults.gridLines, uint8_t(0));
    QCOMPARE(level.defaults.gridColour, uint8_t(9));
    QCOMPARE(level.defaults.rangePasses, uint16_t(0));
    QCOMPARE(level.defaults.precision, uint16_t(4));
    QCOMPARE(level.colWidths[1], uint16_t(100));
    QCOMPARE(level.colWidths[3], uint16_t(120));
    QVERIFY(level.changed);

    // A level whose attributes may not change refuses before the dialog opens.
    setPermissionWord(d.session.protection(), 1, without(kPermissionReset, kActionAttributes));
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    d.window->dialogs()->levelDefaultsAction()->trigger();
    QCOMPARE(seen.caption, QStringLiteral("Protected Operation"));
}

void DialogsTest::lineWidthKeepsToItsRange() {
    Desktop d;
    const struct {
        QString typed;
        QString refusal;  // empty: accepted
    } cases[] = {
        {QStringLiteral("300"), QStringLiteral("Entry MUST be less than 257.")},
        {QStringLiteral("0"), QStringLiteral("Entry MUST be greater than 0.")},
        {QStringLiteral("x"), QStringLiteral("Entry MUST be greater than 0.")},
        {QStringLiteral("256"), QString()},
    };
    for (const auto& c : cases) {
        SeenBox seen;
        onNextDialog<LineWidthDialog>([&](LineWidthDialog* dialog) {
            dialog->field()->setText(c.typed);
            if (!c.refusal.isEmpty()) answerNextBox(QMessageBox::Ok, &seen);
            QTest::keyClick(dialog->field(), Qt::Key_Return);
            if (dialog->isVisible()) dialog->reject();
        });
        const auto answer = d.platform.promptText("Line Width", "Enter max characters/line (1 to 256) :", false);
        QCOMPARE(seen.text, c.refusal);
        QCOMPARE(answer.has_value(), c.refusal.isEmpty());
        if (answer) QCOMPARE(*answer, c.typed.toStdString());
    }
    onNextDialog<LineWidthDialog>([](LineWidthDialog* dialog) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("Use default")) b->click();
        }
    });
    QCOMPARE(d.platform.promptText("Line Width", "", false), std::optional<std::string>("255"));
}

void DialogsTest::debugWalkMovesThePointerWithEachBox() {
    Desktop d;
    d.enterAt(3, 2, QStringLiteral("+2"));
    d.enterAt(5, 4, QStringLiteral("+3"));
    d.enterAt(1, 1, QStringLiteral("+[3,2]+[5,4]"));
    d.area().moveTo(1, 1);
    QList<QPoint> shown;
    QStringList captions;
    auto note = [&] { shown << QPoint(d.area().cursor().row, d.area().cursor().col); };
    SeenBox first;
    SeenBox second;
    answerNextBox(QMessageBox::Ok, &first, [&] {
        note();
        answerNextBox(QMessageBox::Ok, &second, note);
    });
    d.window->dispatchCommand(kUsedCells);
    QCOMPARE(first.caption, QStringLiteral("Cells USED by: [1,1,0,1]"));
    QCOMPARE(first.text, QStringLiteral("[3,2,0,1]"));
    QCOMPARE(second.text, QStringLiteral("[5,4,0,1]"));
    QCOMPARE(shown, (QList<QPoint>{QPoint(3, 2), QPoint(5, 4)}));
    QCOMPARE(d.area().cursor().row, 1);
    QCOMPARE(d.area().cursor().col, 1);
}

void DialogsTest::functionKeysRunTheirScripts() {
    Desktop d;
    QMenu* keys = submenu(topMenu(*d.window, QStringLiteral("Tools")), QStringLiteral("Function keys"));
    QVERIFY(keys != nullptr);
    QAction* allCells = d.window->commandAction(9002);  // "All cells" stands on F9
    QCOMPARE(allCells->shortcut(), QKeySequence(Qt::Key_F9));

    d.session.scratch().functionKeyLabels[9] = "Survey  ";
    d.window->afterEvents();
    QCOMPARE(keys->actions().size(), 1);
    QAction* bound = keys->actions().front();
    QCOMPARE(bound->text(), QStringLiteral("F9   Survey"));
    QCOMPARE(bound->shortcut(), QKeySequence(Qt::Key_F9));
    QVERIFY(allCells->shortcut().isEmpty());  // the bound key overrides the standard one

    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClick(&d.area(), Qt::Key_F9);
    QVERIFY2(seen.text.contains(QStringLiteral("undefined function or script")), qPrintable(seen.text));

    d.session.scratch().functionKeyLabels[9] = "       ";
    d.window->afterEvents();
    QCOMPARE(allCells->shortcut(), QKeySequence(Qt::Key_F9));
    QVERIFY(!keys->actions().front()->isEnabled());
}

void DialogsTest::saveAsRefusesAnotherTypesExtension() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const struct {
        int command;
        QString preselected;  // the type the dialog opens with
        QString typed;        // a name with the other type's extension
    } cases[] = {
        {kSaveAsWorkbook, QStringLiteral("Quorix Workbook (*.qx3 *.QX3)"), QStringLiteral("survey.qx2")},
        {kSaveAsWorksheet, QStringLiteral("Quorix Worksheet (*.qx2 *.QX2)"), QStringLiteral("survey.qx3")},
    };
    for (const auto& c : cases) {
        Desktop d;
        d.enterAt(1, 1, QStringLiteral("data"));
        QStringList filtersSeen;
        SeenBox seen;
        bool askedAgain = false;
        onNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            filtersSeen << dialog->selectedNameFilter();
            // The refusal comes as a box, and then the same dialog again, which is cancelled.
            answerNextBox(QMessageBox::Ok, &seen);
            onNextDialog<QFileDialog>([&](QFileDialog* again) {
                askedAgain = true;
                again->reject();
            });
            dialog->selectFile(dir.filePath(c.typed));
            static_cast<QDialog*>(dialog)->accept();
        });
        d.window->commandAction(c.command)->trigger();
        QCOMPARE(filtersSeen, QStringList{c.preselected});
        QCOMPARE(seen.caption, QStringLiteral("WARNING - Mismatched file extensions"));
        QVERIFY2(seen.text.startsWith(QStringLiteral("Files can only be saved using the extension selected")),
                 qPrintable(seen.text));
        QVERIFY(askedAgain);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

void DialogsTest::compileDialogListsMessagesAndWritesTheLog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.s")), kKeysSource));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("broken.s")), "bad()\n{\n  while(1{}\n}\n"));
    Desktop d;
    const struct {
        QString source;
        bool log;
        QString lastRow;
        bool libraryKept;
    } cases[] = {
        {QStringLiteral("keys"), true, QStringLiteral("keys.slb  -  0 error(s), 0 warning(s)"), true},
        {QStringLiteral("broken"), false, QStringLiteral("broken.slb  -  1 error(s), 0 warning(s)"), false},
    };
    for (const auto& c : cases) {
        CompileDialog dialog(d.session, d.platform, runnerOf(d), d.window.get());
        dialog.writeLog()->setChecked(c.log);
        // Chosen through the real file dialog, with the source filter.
        QString filter;
        onNextDialog<QFileDialog>([&](QFileDialog* files) {
            filter = files->selectedNameFilter();
            files->selectFile(dir.filePath(c.source + QStringLiteral(".s")));
            static_cast<QDialog*>(files)->accept();
        });
        dialog.chooseAndCompile();
        QCOMPARE(filter, QStringLiteral("Script Source Files (*.s *.S)"));
        QListWidget* rows = dialog.messages();
        QVERIFY(rows->count() > 0);
        QCOMPARE(rows->item(rows->count() - 1)->text(), c.lastRow);
        QCOMPARE(QFile::exists(dir.filePath(c.source + QStringLiteral(".slb"))), c.libraryKept);
        QCOMPARE(QFile::exists(dir.filePath(c.source + QStringLiteral(".log"))), c.log);
        if (c.libraryKept) {
            QVERIFY(!rows->findItems(QStringLiteral("  fill  ("), Qt::MatchStartsWith).isEmpty());
            QFile log(dir.filePath(QStringLiteral("keys.log")));
            QVERIFY(log.open(QIODevice::ReadOnly));
            QVERIFY(log.readAll().contains("  spin  ("));
        } else {
            QVERIFY(!rows->findItems(QStringLiteral("Error C10"), Qt::MatchStartsWith).isEmpty());
        }
        // Compiling again lists the same rows again, not twice as many.
        const int count = rows->count();
        dialog.againButton()->click();
        QCOMPARE(rows->count(), count);
    }
}

void DialogsTest::scriptControlsAttachListAndDetach() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("keys.s")), kKeysSource));
    Desktop d;
    QVERIFY(d.session.compileSource(pathToEngine(dir.filePath(QStringLiteral("keys.s"))), false).errors == 0);
    ScriptLibraryDialog dialog(d.session, d.platform, runnerOf(d), d.window.get());
    QCOMPARE(dialog.libraries()->count(), 0);

    onNextDialog<QFileDialog>([&](QFileDialog* files) {
        files->selectFile(dir.filePath(QStringLiteral("keys.slb")));
        static_cast<QDialog*>(files)->accept();
    });
    dialog.button(QStringLiteral("Attach ..."))->click();
    QCOMPARE(dialog.libraries()->count(), 1);
    QCOMPARE(dialog.libraries()->item(0)->text(), QStringLiteral("keys.slb"));
    QVERIFY2(dialog.libraryInfo()->text().startsWith(QStringLiteral("Library version 1.50, compiled by version 3.00")),
             qPrintable(dialog.libraryInfo()->text()));
    QVERIFY(dialog.libraryInfo()->text().endsWith(QStringLiteral("\\keys.slb")));
    QCOMPARE(column(dialog.scripts(), 0), (QStringList{"fill", "spin", "badcond", "add", "boxed"}));
    QCOMPARE(column(dialog.scripts(), 2), QStringList(5, QStringLiteral("unloaded")));
    QCOMPARE(column(dialog.scripts(), 3), QStringList(5, QStringLiteral("0")));
    QCOMPARE(dialog.scripts()->topLevelItem(3)->text(1),
             QString::number(d.session.libraries().scripts()[3].bodyLength));

    // A call loads the body and gives it the weight of a fresh call.
    ErrStat err;
    QCOMPARE(d.session.evaluate("+add(1,2)", err), 3.0);
    dialog.refresh();
    QCOMPARE(dialog.scripts()->topLevelItem(3)->text(2), QStringLiteral("loaded"));
    QCOMPARE(dialog.scripts()->topLevelItem(3)->text(3), QStringLiteral("64"));

    // An attached library is not compiled again.
    CompileDialog compile(d.session, d.platform, runnerOf(d), d.window.get());
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    compile.compile(dir.filePath(QStringLiteral("keys.s")));
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QCOMPARE(seen.text, QStringLiteral("A Script Library using the name (keys.slb) is currently attached.\n\nYou "
                                       "must detach it before it be recompiled."));

    // The Swap Area's size, clamped by the field to its range; resizing unloads every body.
    dialog.swapSize()->setValue(4000);
    QCOMPARE(dialog.swapSize()->value(), 8192);
    dialog.button(QStringLiteral("Resize"))->click();
    QCOMPARE(d.session.libraries().swapArea().size(), 8192);
    QCOMPARE(column(dialog.scripts(), 2), QStringList(5, QStringLiteral("unloaded")));

    dialog.button(QStringLiteral("Detach"))->click();
    QCOMPARE(dialog.libraries()->count(), 0);
    QCOMPARE(dialog.scripts()->topLevelItemCount(), 0);
    QVERIFY(d.session.libraries().attached().empty());
}

void DialogsTest::keysAndButtonsRunCompiledScripts() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Desktop d;
    QVERIFY(attachKeys(d, dir));
    QMenu* keys = submenu(topMenu(*d.window, QStringLiteral("Tools")), QStringLiteral("Function keys"));
    QStringList bound;
    for (QAction* a : keys->actions()) bound << a->text();
    QCOMPARE(bound, (QStringList{"F9   fill", "F10   spin"}));

    d.enterAt(1, 1, QStringLiteral("abc"));
    QTest::keyClick(&d.area(), Qt::Key_F9);
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("Xbc"));

    // A script button of a bar of the user's runs the same way.
    d.enterAt(1, 1, QStringLiteral("abc"));
    QVERIFY(d.session.bars().addBar("Scripts") > 0);
    QVERIFY(d.session.bars().addButton("fill", 0));
    d.window->refreshBars();
    d.window->buttonBar()->buttons().front()->click();
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("Xbc"));
}

void DialogsTest::escStopsARunningScriptWhileCommandsAreRefused() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Desktop d;
    QVERIFY(attachKeys(d, dir));
    d.enterAt(5, 5, QStringLiteral("kept"));
    d.enterAt(2, 1, QStringLiteral("ab"));
    d.enterAt(1, 1, QStringLiteral("abc"));
    d.area().moveTo(5, 5);
    d.session.cells().levelPtr(1)->changed = false;  // a close would otherwise only ask

    // Everything here reaches the frame while the endless script runs.
    bool busySeen = false;
    QTimer::singleShot(100, d.window.get(), [&] {
        busySeen = d.window->engineBusy();
        d.window->commandAction(kClearWorkbook)->trigger();
        d.window->close();
        QTest::keyClick(&d.area(), Qt::Key_Down);
    });
    QTimer::singleShot(250, d.window.get(), [&] { QTest::keyClick(&d.area(), Qt::Key_Escape); });
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    // Should Esc be lost, the script still ends, from outside the event loop it would need.
    std::atomic<bool> stopped{false};
    std::atomic<bool> rescued{false};
    std::thread rescue([&] {
        for (int i = 0; i < 200 && !stopped; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (stopped) return;
        rescued = true;
        d.session.formulas().evaluator().scripts().requestCancel();
    });
    QTest::keyClick(&d.area(), Qt::Key_F10);
    stopped = true;
    rescue.join();

    QVERIFY(!rescued);
    QVERIFY(busySeen);
    QVERIFY2(seen.text.contains(QStringLiteral("script was interrupted by the user")), qPrintable(seen.text));
    QVERIFY(d.window->isVisible());
    QCOMPARE(d.area().paintedText(5, 5), QStringLiteral("kept"));
    QCOMPARE(d.area().paintedText(2, 1), QStringLiteral("Zb"));  // what ran before the stop stays
    QCOMPARE(d.area().cursor().row, 5);                          // the key pressed meanwhile was dropped
    // The program goes on as before: the next script runs to its end. (Without a window manager the frame
    // is not made active again when the box goes.)
    d.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
    QTest::keyClick(&d.area(), Qt::Key_F9);
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("Xbc"));
}

void DialogsTest::aFailingConditionShowsItsStatusLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Desktop d;
    QVERIFY(attachKeys(d, dir));
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    d.window->runScript(QStringLiteral("badcond"));
    QVERIFY(seen.shown);
    QVERIFY2(d.window->statusBar()->currentMessage().startsWith(QStringLiteral("ERROR A5010-")),
             qPrintable(d.window->statusBar()->currentMessage()));
}

void DialogsTest::aScriptsBoxRefusesCommandsAndClose() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Desktop d;
    QVERIFY(attachKeys(d, dir));
    d.enterAt(5, 5, QStringLiteral("kept"));
    d.enterAt(3, 1, QStringLiteral("abc"));
    QVERIFY(d.session.bars().addBar("Scripts") > 0);
    QVERIFY(d.session.bars().addButton("boxed", 0));
    d.window->refreshBars();

    // Inside the box's own event loop: clearing the workbook and closing the program are refused.
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen, [&] {
        d.window->commandAction(kClearWorkbook)->trigger();
        d.window->close();
    });
    d.window->buttonBar()->buttons().front()->click();
    QCOMPARE(seen.caption, QStringLiteral("Note"));
    QCOMPARE(seen.text, QStringLiteral("Working"));
    QVERIFY(d.window->isVisible());
    QCOMPARE(d.area().paintedText(5, 5), QStringLiteral("kept"));
    QCOMPARE(d.area().paintedText(3, 1), QStringLiteral("MNc"));  // the script ran on to its end
}

QX_UI_TEST(DialogsTest, "dialogs_test");
#include "dialogs_test.moc"
