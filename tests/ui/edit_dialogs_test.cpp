// The block-command dialogs as a user meets them: Find with Replace, Sort rows, and the two Array
// Area dialogs, each opened from its menu command on a real frame and answered through its widgets.
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>

#include "core/cell_records.h"
#include "display/object_description.h"
#include "ui/dialogs/array_dialogs.h"
#include "ui/dialogs/find_dialog.h"
#include "ui/dialogs/sort_rows_dialog.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

constexpr int kFind = 543;
constexpr int kSortRows = 9030;
constexpr int kFindNext = 9031;
constexpr int kArraySize = 9032;
constexpr int kArraySet = 9033;

struct Entry {
    int row;
    int col;
    const char* text;
};

void enter(Desktop& d, std::initializer_list<Entry> entries) {
    for (const Entry& e : entries) {
        ErrStat err;
        d.session.commitEntry(1, e.row, e.col, e.text, err);
        QVERIFY2(!err.failed(), e.text);
    }
}

CellRec* cellAt(Desktop& d, int row, int col) {
    ErrStat err;
    return d.session.cells().findCell(row, col, 1, err);
}

QString shown(Desktop& d, int row, int col) {
    return d.area().paintedText(row, col).trimmed();
}

void selectBlock(Desktop& d, const CellArea& a) {
    d.area().moveTo(a.firstRow, a.firstCol);
    d.area().moveTo(a.lastRow, a.lastCol, true);
}

// Every dialog leaves a picture of itself in the build folder, to be looked at.
void keepPicture(QWidget* dialog, const char* name) {
    const QString path =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("dialog-%1.png").arg(name));
    QVERIFY(dialog->grab().save(path));
}

}  // namespace

class EditDialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void findMovesThePointerOrLeavesIt_data();
    void findMovesThePointerOrLeavesIt();
    void findNextRepeatsTheDialogsSearch();
    void replaceEntersTheTextOrIsRefused_data();
    void replaceEntersTheTextOrIsRefused();
    void sortRowsOrdersTheBlockOnly_data();
    void sortRowsOrdersTheBlockOnly();
    void arraySizeKeepsToItsRangeAndAsks();
    void arraySizeWithoutWarningsSaysNothing();
    void arrayElementsEditACopy();
    void arrayElementsNeedOneCell();
};

void EditDialogsTest::findMovesThePointerOrLeavesIt_data() {
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("startCol");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cellType");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<int>("foundRow");  // 0: no match, the pointer stays
    QTest::addColumn<int>("foundCol");

    // The cells: [1,255] 'abc end, [2,1] 'ABC, [3,2] 'AxxC, [4,3] 'CA, [5,1] +1+2 tagged "tagged sum".
    QTest::newRow("down from a row's last place goes on at column 1 of the next row")
        << 1 << 255 << "abc" << 0 << false << false << 0 << 0;
    QTest::newRow("down, ignoring case, continues in the next row")
        << 1 << 255 << "abc" << 0 << false << true << 2 << 1;
    QTest::newRow("up continues at column 255 of the row above") << 2 << 1 << "abc" << 0 << true << false << 1 << 255;
    QTest::newRow("a tilde matches any run between its parts") << 2 << 1 << "A~C" << 0 << false << false << 3 << 2;
    QTest::newRow("the parts must come in order") << 3 << 2 << "C~A" << 2 << false << false << 4 << 3;
    QTest::newRow("labels only passes over formulas") << 4 << 3 << "1" << 2 << false << false << 0 << 0;
    QTest::newRow("formulas by their written-out text") << 4 << 3 << "1+2" << 1 << false << false << 5 << 1;
    QTest::newRow("tags by the comment, not the formula") << 1 << 1 << "sum" << 4 << false << false << 5 << 1;
    QTest::newRow("tags never match the formula text") << 1 << 1 << "1+2" << 4 << false << false << 0 << 0;
    QTest::newRow("nothing below the last match") << 5 << 1 << "abc" << 0 << false << true << 0 << 0;
}

void EditDialogsTest::findMovesThePointerOrLeavesIt() {
    QFETCH(int, startRow);
    QFETCH(int, startCol);
    QFETCH(QString, text);
    QFETCH(int, cellType);
    QFETCH(bool, up);
    QFETCH(bool, ignoreCase);
    QFETCH(int, foundRow);
    QFETCH(int, foundCol);
    Desktop d;
    enter(d, {{1, 255, "'abc end"}, {2, 1, "'ABC"}, {3, 2, "'AxxC"}, {4, 3, "'CA"}, {5, 1, "+1+2"}});
    ErrStat err;
    CellRec* sum = cellAt(d, 5, 1);
    QVERIFY(sum != nullptr);
    d.session.cells().setTag(sum, "tagged sum", err);
    QVERIFY(!err.failed());
    d.area().moveTo(startRow, startCol);

    QString outcome;
    onNextDialog<FindDialog>([&](FindDialog* f) {
        QCOMPARE(f->windowTitle(), QStringLiteral("Find"));
        f->findField()->setText(text);
        f->cellType()->setCurrentIndex(cellType);
        f->upButton()->setChecked(up);
        f->ignoreCaseBox()->setChecked(ignoreCase);
        QTest::mouseClick(f->findButton(), Qt::LeftButton);
        outcome = f->outcome()->text();
        keepPicture(f, "find");
        f->reject();
    });
    QVERIFY(d.window->dispatchCommand(kFind));
    const int wantRow = foundRow == 0 ? startRow : foundRow;
    const int wantCol = foundRow == 0 ? startCol : foundCol;
    QCOMPARE(d.area().cursor().row, wantRow);
    QCOMPARE(d.area().cursor().col, wantCol);
    QCOMPARE(d.session.pointer().row, wantRow);
    if (foundRow == 0) {
        QCOMPARE(outcome, QStringLiteral("No more cells match."));
    } else {
        QVERIFY2(outcome.startsWith(QStringLiteral("[%1,%2]").arg(foundRow).arg(foundCol)), qPrintable(outcome));
        // The found cell's text stands in the edit bar.
        QVERIFY(!d.window->editBar()->text().isEmpty());
    }
}

void EditDialogsTest::findNextRepeatsTheDialogsSearch() {
    Desktop d;
    enter(d, {{1, 3, "'pipe"}, {4, 2, "'Pipe"}, {9, 9, "'pipes"}});
    onNextDialog<FindDialog>([](FindDialog* f) {
        f->findField()->setText(QStringLiteral("PIPE"));
        f->ignoreCaseBox()->setChecked(true);
        f->findButton()->click();
        f->reject();
    });
    QVERIFY(d.window->dispatchCommand(kFind));
    QCOMPARE(d.area().cursor().row, 1);
    QVERIFY(d.window->dispatchCommand(kFindNext));
    QCOMPARE(d.area().cursor().row, 4);
    QVERIFY(d.window->dispatchCommand(kFindNext));
    QCOMPARE(d.area().cursor().row, 9);
    QVERIFY(d.window->dispatchCommand(kFindNext));
    QCOMPARE(d.area().cursor().row, 9);

    // The dialog opens again with the last search.
    QString preset;
    bool ignoring = false;
    onNextDialog<FindDialog>([&](FindDialog* f) {
        preset = f->findField()->text();
        ignoring = f->ignoreCaseBox()->isChecked();
        f->reject();
    });
    QVERIFY(d.window->dispatchCommand(kFind));
    QCOMPARE(preset, QStringLiteral("PIPE"));
    QVERIFY(ignoring);
}

void EditDialogsTest::replaceEntersTheTextOrIsRefused_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<bool>("protectedCell");
    QTest::addColumn<QString>("boxText");  // empty: no box
    QTest::addColumn<QString>("painted");  // what [3,3] shows afterwards

    QTest::newRow("every digit one of the written-out text, the address's included") << "+[1,1]+1"
                                                                                     << "1"
                                                                                     << "2" << false << ""
                                                                                     << "9.00";
    QTest::newRow("a label keeps its prefix") << "'pump 1"
                                              << "pump"
                                              << "valve" << false << ""
                                              << "valve 1";
    QTest::newRow("a protected cell is not typed over")
        << "'pump 1"
        << "pump"
        << "valve" << true << "Attempting to edit or delete a protected cell"
        << "pump 1";
    QTest::newRow("an invalid result is an entry error") << "+[1,1]+1"
                                                         << "+1"
                                                         << "+(" << false << ""
                                                         << "?";
}

void EditDialogsTest::replaceEntersTheTextOrIsRefused() {
    QFETCH(QString, entry);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(bool, protectedCell);
    QFETCH(QString, boxText);
    QFETCH(QString, painted);
    Desktop d;
    enter(d, {{1, 1, "+2"}, {2, 2, "+7"}, {3, 3, toEngine(entry).c_str()}});
    if (protectedCell) cellAt(d, 3, 3)->set(cellflag::kProtectCell, true);
    d.area().moveTo(1, 1);

    SeenBox seen;
    QPointer<QTimer> poll;
    bool replaceEnabled = false;
    QString outcome;
    onNextDialog<FindDialog>([&](FindDialog* f) {
        f->findField()->setText(find);
        QVERIFY(!f->replaceField()->isEnabled());
        f->replaceBox()->setChecked(true);
        f->replaceField()->setText(with);
        QVERIFY(!f->replaceButton()->isEnabled());  // nothing found yet
        f->findButton()->click();
        replaceEnabled = f->replaceButton()->isEnabled();
        poll = answerNextBox(QMessageBox::Ok, &seen);
        f->replaceButton()->click();
        outcome = f->outcome()->text();
        keepPicture(f, "replace");
        f->reject();
    });
    QVERIFY(d.window->dispatchCommand(kFind));
    delete poll.data();
    QVERIFY(replaceEnabled);
    if (boxText.isEmpty() && painted != QStringLiteral("?")) {
        QVERIFY2(!seen.shown, qPrintable(seen.text));
        QVERIFY2(outcome.startsWith(QStringLiteral("Replaced.")), qPrintable(outcome));
    } else if (!boxText.isEmpty()) {
        QVERIFY(seen.text.contains(boxText));
        QCOMPARE(outcome, QStringLiteral("Not replaced."));
    } else {
        QVERIFY(seen.shown);  // the entry error's report
    }
    QCOMPARE(shown(d, 3, 3), painted);
}

void EditDialogsTest::sortRowsOrdersTheBlockOnly_data() {
    QTest::addColumn<int>("firstKey");  // index in the first list: 0 is the block's first column
    QTest::addColumn<bool>("firstDescending");
    QTest::addColumn<int>("secondKey");        // index in the second list: 0 is "(none)"
    QTest::addColumn<QStringList>("column2");  // rows 1..5 of column 2 afterwards

    // Rows 1..5 of the block [1,2]..[5,3]: column 2 holds 3, 1, (empty), 'B, 1; column 3 holds z, y, x, w, a.
    QTest::newRow("ascending: empty first, numbers, then labels")
        << 0 << false << 0 << QStringList{"", "1.00", "1.00", "3.00", "B"};
    QTest::newRow("descending: labels first, empty last")
        << 0 << true << 0 << QStringList{"B", "3.00", "1.00", "1.00", ""};
    QTest::newRow("the second key orders rows equal on the first")
        << 0 << false << 2 << QStringList{"", "1.00", "1.00", "3.00", "B"};
    QTest::newRow("the second column alone") << 1 << false << 0 << QStringList{"1.00", "B", "", "1.00", "3.00"};
}

void EditDialogsTest::sortRowsOrdersTheBlockOnly() {
    QFETCH(int, firstKey);
    QFETCH(bool, firstDescending);
    QFETCH(int, secondKey);
    QFETCH(QStringList, column2);
    Desktop d;
    enter(d, {{1, 1, "'r1"},
              {2, 1, "'r2"},
              {3, 1, "'r3"},
              {4, 1, "'r4"},
              {5, 1, "'r5"},
              {1, 2, "+3"},
              {2, 2, "+1"},
              {4, 2, "'B"},
              {5, 2, "+1"},
              {1, 3, "'z"},
              {2, 3, "'y"},
              {3, 3, "'x"},
              {4, 3, "'w"},
              {5, 3, "'a"}});
    selectBlock(d, CellArea{1, 2, 5, 3});
    QStringList titles;
    onNextDialog<SortRowsDialog>([&](SortRowsDialog* s) {
        for (QGroupBox* g : s->findChildren<QGroupBox*>()) titles << g->title();
        QCOMPARE(s->keyColumn(0)->count(), 2);  // the block's two columns
        QCOMPARE(s->keyColumn(1)->itemText(0), QStringLiteral("(none)"));
        s->keyColumn(0)->setCurrentIndex(firstKey);
        s->descending(0)->setChecked(firstDescending);
        s->keyColumn(1)->setCurrentIndex(secondKey);
        keepPicture(s, "sort");
        s->accept();
    });
    QVERIFY(d.window->dispatchCommand(kSortRows));
    QCOMPARE(titles, (QStringList{"Sort by:", "Next, sort by", "Finally, sort by"}));
    QStringList got;
    for (int row = 1; row <= 5; ++row) got << shown(d, row, 2);
    QCOMPARE(got, column2);
    // Column 1 is outside the block and stays.
    for (int row = 1; row <= 5; ++row) QCOMPARE(shown(d, row, 1), QStringLiteral("r%1").arg(row));
    if (secondKey == 2) {
        // The two rows holding 1 are ordered by column 3: 'a (row 5 before) comes before 'y.
        QCOMPARE(shown(d, 2, 3), QStringLiteral("a"));
        QCOMPARE(shown(d, 3, 3), QStringLiteral("y"));
    }
}

void EditDialogsTest::arraySizeKeepsToItsRangeAndAsks() {
    Desktop d;
    enter(d, {{1, 1, "+1"}, {1, 2, "'text"}, {1, 3, "+3"}});
    ErrStat err;
    d.session.cells().setArraySize(cellAt(d, 1, 3), 3, err);
    QVERIFY(!err.failed());
    cellAt(d, 1, 3)->formula->array[2] = 42.0;
    selectBlock(d, CellArea{1, 1, 1, 3});

    QStringList refusals;
    SeenBox created;
    SeenBox wrongType;
    SeenBox question;
    QString maximum;
    onNextDialog<ArraySizeDialog>([&](ArraySizeDialog* a) {
        QCOMPARE(a->windowTitle(), QStringLiteral("Array Areas  (create or remove)"));
        for (QLabel* l : a->findChildren<QLabel*>()) {
            if (l->text().startsWith(QLatin1Char('('))) maximum = l->text();
        }
        keepPicture(a, "array-size");
        for (const char* typed : {"8192", "-1", "x"}) {
            SeenBox seen;
            answerNextBox(QMessageBox::Ok, &seen);
            a->sizeField()->setText(QString::fromLatin1(typed));
            QTest::keyClick(a->sizeField(), Qt::Key_Return);
            refusals << seen.text;
            QVERIFY(a->isVisible());
        }
        QVERIFY(a->warningBox()->isChecked());
        a->sizeField()->setText(QStringLiteral("5"));
        // Row by row: [1,1] is asked from 0 to 5, [1,2] is no formula, [1,3] is asked from 3 to 5.
        answerNextBox(QMessageBox::Yes, &created, [&] {
            answerNextBox(QMessageBox::Ok, &wrongType, [&] { answerNextBox(QMessageBox::Yes, &question); });
        });
        QTest::keyClick(a->sizeField(), Qt::Key_Return);
    });
    QVERIFY(d.window->dispatchCommand(kArraySize));
    QCOMPARE(maximum, QStringLiteral("(Maximun array size: 8191)"));
    QCOMPARE(refusals, (QStringList{"Entry MUST be less than 8192.", "Entry MUST be greater than -1.",
                                    "Entry MUST be greater than -1."}));
    QVERIFY(created.text.contains(QStringLiteral("cell [1,1] from 0 to 5")));
    QCOMPARE(wrongType.caption, QStringLiteral("WARNING:  Wrong Cell Type!"));
    QCOMPARE(wrongType.text,
             QStringLiteral("Cell [1,2] is not a Formula Cell.\nAn Array Area can not be assigned to it."));
    QCOMPARE(question.caption, QStringLiteral("WARNING!"));
    QVERIFY(question.text.contains(QStringLiteral("from 3 to 5")));
    QCOMPARE(arrayElementCount(*cellAt(d, 1, 1)->formula), 5);
    const FormulaRec& grown = *cellAt(d, 1, 3)->formula;
    QCOMPARE(arrayElementCount(grown), 5);
    QCOMPARE(arrayElement(grown, 2), 42.0);
    QCOMPARE(arrayElement(grown, 5), 0.0);
}

void EditDialogsTest::arraySizeWithoutWarningsSaysNothing() {
    Desktop d;
    enter(d, {{1, 1, "+1"}, {2, 1, "'text"}, {3, 1, "+3"}});
    ErrStat err;
    d.session.cells().setArraySize(cellAt(d, 3, 1), 3, err);
    selectBlock(d, CellArea{1, 1, 3, 1});
    SeenBox seen;
    QPointer<QTimer> poll;
    onNextDialog<ArraySizeDialog>([&](ArraySizeDialog* a) {
        a->warningBox()->setChecked(false);
        a->sizeField()->setText(QStringLiteral("0"));
        poll = answerNextBox(QMessageBox::Ok, &seen);
        QTest::keyClick(a->sizeField(), Qt::Key_Return);
    });
    QVERIFY(d.window->dispatchCommand(kArraySize));
    delete poll.data();
    QVERIFY2(!seen.shown, qPrintable(seen.text));
    QCOMPARE(arrayElementCount(*cellAt(d, 3, 1)->formula), 0);
    QVERIFY(cellAt(d, 2, 1)->isLabel());
}

void EditDialogsTest::arrayElementsEditACopy() {
    Desktop d;
    enter(d, {{2, 3, "+1"}});
    ErrStat err;
    d.session.cells().setArraySize(cellAt(d, 2, 3), 3, err);
    QVERIFY(!err.failed());
    d.area().moveTo(2, 3);

    struct Step {
        const char* name;
        std::function<void(ArrayElementsDialog*)> act;
        bool ok;
        std::vector<double> want;
    };
    const std::vector<Step> steps{
        {"set one element to a formula's value, then Ok",
         [](ArrayElementsDialog* a) {
             a->list()->setCurrentRow(1);
             a->valueField()->setText(QStringLiteral("2*3"));
             a->setButton()->click();
             QCOMPARE(a->list()->currentRow(), 2);  // on to the next element
         },
         true,
         {0, 6, 0}},
        {"a value typed and not set is kept by Ok",
         [](ArrayElementsDialog* a) {
             a->list()->setCurrentRow(0);
             a->valueField()->setText(QStringLiteral("1.5"));
             a->valueField()->setModified(true);
         },
         true,
         {1.5, 6, 0}},
        {"Set all, then Cancel discards the copy",
         [](ArrayElementsDialog* a) {
             a->valueField()->setText(QStringLiteral("9"));
             a->setAllButton()->click();
             QCOMPARE(a->elements(), (std::vector<double>{9, 9, 9}));
         },
         false,
         {1.5, 6, 0}},
        {"Clear all", [](ArrayElementsDialog* a) { a->clearAllButton()->click(); }, true, {0, 0, 0}},
    };
    for (const Step& step : steps) {
        QString label;
        onNextDialog<ArrayElementsDialog>([&](ArrayElementsDialog* a) {
            label = a->cellLabel()->text();
            step.act(a);
            if (std::string_view(step.name).starts_with("set one")) keepPicture(a, "array-elements");
            if (step.ok) {
                for (QPushButton* b : a->findChildren<QPushButton*>()) {
                    if (b->text() == QStringLiteral("Ok")) b->click();
                }
            } else {
                a->reject();
            }
        });
        QVERIFY(d.window->dispatchCommand(kArraySet));
        QCOMPARE(label, QStringLiteral("[2,3,3,1]"));
        const FormulaRec& f = *cellAt(d, 2, 3)->formula;
        std::vector<double> got;
        for (int i = 1; i <= arrayElementCount(f); ++i) got.push_back(arrayElement(f, i));
        QVERIFY2(got == step.want, step.name);
    }
}

void EditDialogsTest::arrayElementsNeedOneCell() {
    struct Case {
        const char* name;
        CellArea selection;
        const char* caption;
        const char* text;
    };
    const std::vector<Case> cases{
        {"two cells",
         {1, 1, 1, 2},
         "ERROR (DB45)!",
         "You can only select ONE cell at a time,\nwhen performing this operation."},
        {"no cell",
         {4, 4, 4, 4},
         "ERROR (DB45)",
         "A Formula cell with an assigned Array Area\ndoes not exists at this location."},
        {"a label",
         {1, 2, 1, 2},
         "WARNING:  Illegal Cell Type ",
         "Cell [1,2] is not a Formula cell.  An\nArray Area can not be assigned to it."},
        {"no Array Area", {1, 1, 1, 1}, "WARNING", "Cell [1,1] does not have an Array Area assigned to it."},
    };
    Desktop d;
    enter(d, {{1, 1, "+1"}, {1, 2, "'text"}});
    for (const Case& c : cases) {
        selectBlock(d, c.selection);
        SeenBox seen;
        answerNextBox(QMessageBox::Ok, &seen);
        QVERIFY(d.window->dispatchCommand(kArraySet));
        QVERIFY2(seen.shown, c.name);
        QCOMPARE(seen.caption, QString::fromLatin1(c.caption));
        QCOMPARE(seen.text, QString::fromLatin1(c.text));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
}

QX_UI_TEST(EditDialogsTest, "edit_dialogs_test");
#include "edit_dialogs_test.moc"
