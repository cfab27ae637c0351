// The edit bar's own commands as a user meets them: the insert commands put their text at the caret,
// "List" inserts a label or a function, "View" shows the whole entry, and the "Esc" and "Rtn"
// buttons do what the keys do.
#include <QPlainTextEdit>

#include "protect/protection.h"
#include "ui/dialogs/insert_dialogs.h"
#include "ui/entry_insert.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

constexpr int kLabel = 545;
constexpr int kAddress = 546;
constexpr int kBrackets = 548;
constexpr int kList = 590;
constexpr int kView = 591;
constexpr int kEsc = 592;
constexpr int kRtn = 593;

// Starts editing [row,col] with `entry` in the edit bar, the caret at `caret` and `selected` characters
// selected from there.
void editWith(Desktop& d, int row, int col, const QString& entry, int caret, int selected = 0) {
    d.area().moveTo(row, col);
    QVERIFY(d.window->startEditing(entry, false));
    if (selected > 0) {
        d.window->editBar()->setSelection(caret, selected);
    } else {
        d.window->editBar()->setCursorPosition(caret);
    }
}

}  // namespace

class EditBarTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void insertCommandsPutTheirTextAtTheCaret();
    void bracketsCycleAndRespectTheLengthLimit();
    void listInsertsAFunctionAndStartsEditing();
    void viewShowsTheWholeEntryReadOnly();
    void escAndRtnButtonsActAsTheKeys();
};

void EditBarTest::insertCommandsPutTheirTextAtTheCaret() {
    struct Case {
        const char* name;
        int command;
        const char* entry;
        int caret;
        int selected;
        std::function<void()> answer;  // arranges the dialog's answer; none for commands without one
        const char* expected;
        int expectedCaret;
    };
    auto pickAddress = [](int row, int col, int level) {
        return [=] {
            onNextDialog<AddressDialog>([=](AddressDialog* dialog) {
                dialog->rowBox()->setValue(row);
                dialog->colBox()->setValue(col);
                dialog->levelBox()->setValue(level);
                dialog->accept();
            });
        };
    };
    auto pickLabel = [](const QString& filter) {
        return [=] {
            onNextDialog<InsertListDialog>([=](InsertListDialog* dialog) {
                dialog->filter()->setText(filter);
                dialog->accept();
            });
        };
    };
    auto cancelDialog = [] { onNextDialog<QDialog>([](QDialog* dialog) { dialog->reject(); }); };
    const Case cases[] = {
        {"address on the same level", kAddress, "+*2", 1, 0, pickAddress(3, 4, 1), "+[3,4]*2", 6},
        {"address of another level", kAddress, "+", 1, 0, pickAddress(12, 255, 2), "+[12,255,,2]", 12},
        {"address replaces the selection", kAddress, "+[9,9]+1", 1, 5, pickAddress(1, 2, 1), "+[1,2]+1", 6},
        {"cancelled address inserts nothing", kAddress, "+1", 2, 0, cancelDialog, "+1", 2},
        {"label in a formula is a string", kLabel, "+len()", 5, 0, pickLabel("North"), "+len(\"North 'A'\")", 16},
        {"label in a label is its text", kLabel, "Dir: ", 5, 0, pickLabel("Station"), "Dir: Station 12", 15},
        {"brackets at the caret", kBrackets, "+2*", 3, 0, nullptr, "+2*()", 4},
        {"brackets around the selection", kBrackets, "+1+2*3", 1, 3, nullptr, "+(1+2)*3", 6},
    };
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("North \"A\""));
    d.enterAt(2, 3, QStringLiteral("Station 12"));
    for (const Case& c : cases) {
        editWith(d, 10, 2, QString::fromLatin1(c.entry), c.caret, c.selected);
        if (c.answer) c.answer();
        d.window->dispatchCommand(c.command);
        QVERIFY2(d.window->editing(), c.name);
        QCOMPARE(d.window->editBar()->text(), QString::fromLatin1(c.expected));
        QCOMPARE(d.window->editBar()->cursorPosition(), c.expectedCaret);
        d.window->cancelEdit();
    }
    // The inserted text is entered like typed text: the address becomes a working reference.
    d.enterAt(3, 4, QStringLiteral("7"));
    editWith(d, 10, 2, QStringLiteral("+*2"), 1);
    pickAddress(3, 4, 1)();
    d.window->dispatchCommand(kAddress);
    QTest::keyClick(d.window->editBar(), Qt::Key_Return);
    QCOMPARE(d.area().paintedText(10, 2), QStringLiteral("14.00"));
}

void EditBarTest::bracketsCycleAndRespectTheLengthLimit() {
    Desktop d;
    editWith(d, 1, 1, QStringLiteral("+sin"), 4);
    d.window->dispatchCommand(kBrackets);
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("+sin()"));
    d.window->dispatchCommand(kBrackets);
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("+sin[]"));
    d.window->dispatchCommand(kBrackets);
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("+sin()"));
    QCOMPARE(d.window->editBar()->cursorPosition(), 5);
    d.window->cancelEdit();

    // A full entry takes no pair rather than losing its last character.
    const QString full = QStringLiteral("+") + QString(kEditBarLimit - 2, QLatin1Char('1'));
    editWith(d, 1, 1, full, 3);
    d.window->dispatchCommand(kBrackets);
    QCOMPARE(d.window->editBar()->text(), full);
    d.window->cancelEdit();
}

void EditBarTest::listInsertsAFunctionAndStartsEditing() {
    Desktop d;
    d.enterAt(4, 1, QStringLiteral("Chainage"));
    d.area().moveTo(5, 1);
    QStringList shown;
    onNextDialog<InsertListDialog>([&](InsertListDialog* dialog) {
        for (int i = 0; i < dialog->list()->count(); ++i) shown << dialog->list()->item(i)->text();
        dialog->filter()->setText(QStringLiteral("rnd("));
        dialog->accept();
    });
    d.window->dispatchCommand(kList);
    QVERIFY(shown.contains(QStringLiteral("[4,1]  Chainage")));
    QCOMPARE(shown.count(QStringLiteral("rnd(x,n)")), 1);
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("rnd(x,n)"));
    d.window->cancelEdit();

    // On a level that forbids editing nothing is inserted and editing does not start.
    setPermissionWord(d.session.protection(), 1, kPermissionReset & ~(1u << kActionEdit));
    answerNextBox(QMessageBox::Ok);
    onNextDialog<InsertListDialog>([](InsertListDialog* dialog) { dialog->accept(); });
    d.window->dispatchCommand(kList);
    QVERIFY(!d.window->editing());
}

void EditBarTest::viewShowsTheWholeEntryReadOnly() {
    Desktop d;
    const QString formula = QStringLiteral("+") + QStringList(QList<QString>(40, QStringLiteral("[1,1]"))).join('+');
    d.enterAt(2, 2, formula);
    d.area().moveTo(2, 2);
    QString shown;
    QString title;
    bool readOnly = false;
    onNextDialog<EntryViewDialog>([&](EntryViewDialog* dialog) {
        shown = dialog->textBox()->toPlainText();
        title = dialog->windowTitle();
        readOnly = dialog->textBox()->isReadOnly();
        dialog->reject();
    });
    d.window->dispatchCommand(kView);
    QCOMPARE(shown, formula.mid(1));  // as the edit bar shows a formula: without its leading '+'
    QVERIFY(title.contains(QStringLiteral("[2,2]")));
    QVERIFY(readOnly);
    QVERIFY(!d.window->editing());
}

void EditBarTest::escAndRtnButtonsActAsTheKeys() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("+5"));
    editWith(d, 1, 1, QStringLiteral("+6"), 2);
    d.window->dispatchCommand(kEsc);
    QVERIFY(!d.window->editing());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("5.00"));
    QCOMPARE(d.area().cursor().row, 1);

    editWith(d, 1, 1, QStringLiteral("+6"), 2);
    d.window->dispatchCommand(kRtn);
    QVERIFY(!d.window->editing());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("6.00"));
    QCOMPARE(d.area().cursor().row, 2);  // as Return: one row down
}

QX_UI_TEST(EditBarTest, "edit_bar_test");
#include "edit_bar_test.moc"
