// The cell area as a user meets it: what typed entries paint, colours on screen, labels running
// over empty neighbours, navigation keys, dragging a column border, and the protection checks.
#include <QImage>
#include <QMouseEvent>

#include "core/style_word.h"
#include "protect/protection.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

class CellAreaTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void typedEntriesPaintTheirDisplayText();
    void renderedCellShowsItsColours();
    void labelRunsOverEmptyNeighboursOnly();
    void navigationKeysMoveThePointer();
    void pageDownReachesTheLastRow();
    void draggingAColumnBorderChangesItsWidth();
    void editingIsRefusedOnAProtectedLevel();
    void aProtectedCellCannotBeEdited();
    void escapeKeepsTheCellAsItWas();
    void anEntryErrorIsReportedWithTheCaretAtItsPlace();
};

void CellAreaTest::typedEntriesPaintTheirDisplayText() {
    struct Case {
        const char* typed;
        const char* painted;
    };
    const Case cases[] = {
        {"Station", "Station"},
        {"12.5", "12.50"},
        {"+2*3", "6.00"},
        {"+1/3", "0.33"},
        {"99999999999999999999", "1.00e+20"},
    };
    Desktop d;
    int row = 1;
    for (const Case& c : cases) {
        d.enterAt(row, 2, QString::fromLatin1(c.typed));
        QVERIFY2(!d.window->editing(), c.typed);
        QCOMPARE(d.area().paintedText(row, 2), QString::fromLatin1(c.painted));
        ++row;
    }
    QCOMPARE(d.area().cursor().row, row);  // Enter moved down each time
}

void CellAreaTest::renderedCellShowsItsColours() {
    Desktop d;
    LevelRec& level = *d.session.cells().levelPtr(1);
    level.colourRanges.push_back(ColourRange{CellArea{3, 3, 3, 3}, 0, 0x00FFFF});  // yellow, as 0x00BBGGRR
    d.enterAt(2, 2, QStringLiteral("MMMMMMMM"));
    ErrStat err;
    CellRec* cell = d.session.cells().findCell(2, 2, 1, err);
    QVERIFY(cell != nullptr);
    cell->style = style::withBold(style::withColour(cell->style, 9), true);  // "Red"
    d.area().moveTo(10, 10);
    d.area().refresh();
    const QImage image = d.area().viewport()->grab().toImage();
    const QRect yellow = d.area().cellRect(3, 3);
    QCOMPARE(image.pixelColor(yellow.center()), QColor(255, 255, 0));
    const QRect text = d.area().cellRect(2, 2);
    int red = 0;
    for (int x = text.left(); x <= text.right(); ++x) {
        for (int y = text.top(); y <= text.bottom(); ++y) {
            const QColor c = image.pixelColor(x, y);
            red += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
        }
    }
    QVERIFY2(red > 10, "the red label is painted in red");
}

void CellAreaTest::labelRunsOverEmptyNeighboursOnly() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("A label much wider than one column"));
    d.enterAt(2, 1, QStringLiteral("Another label much wider than one column"));
    d.enterAt(2, 2, QStringLiteral("x"));
    for (const PaintedCell& p : d.area().layoutCells()) {
        if (p.row == 1 && p.col == 1) QVERIFY(p.spanLast > 1 && p.clip.width() > p.cell.width());
        if (p.row == 2 && p.col == 1) QCOMPARE(p.clip, p.cell);
    }
}

void CellAreaTest::navigationKeysMoveThePointer() {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;
        int col;
    };
    const Case cases[] = {
        {Qt::Key_Down, Qt::NoModifier, 6, 5},      {Qt::Key_Up, Qt::NoModifier, 4, 5},
        {Qt::Key_Right, Qt::NoModifier, 5, 6},     {Qt::Key_Left, Qt::NoModifier, 5, 4},
        {Qt::Key_Tab, Qt::NoModifier, 5, 6},       {Qt::Key_Backtab, Qt::ShiftModifier, 5, 4},
        {Qt::Key_Return, Qt::NoModifier, 6, 5},    {Qt::Key_Home, Qt::NoModifier, 5, 1},
        {Qt::Key_Home, Qt::ControlModifier, 1, 1},
    };
    Desktop d;
    for (const Case& c : cases) {
        d.area().moveTo(5, 5);
        QTest::keyClick(&d.area(), c.key, c.modifiers);
        QCOMPARE(d.area().cursor().row, c.row);
        QCOMPARE(d.area().cursor().col, c.col);
    }
    d.area().moveTo(1, 1);
    QTest::keyClick(&d.area(), Qt::Key_Up);
    QTest::keyClick(&d.area(), Qt::Key_Left);
    QCOMPARE(d.area().cursor().row, 1);
    QCOMPARE(d.area().cursor().col, 1);
    QTest::keyClick(&d.area(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&d.area(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(d.session.selection().lastRow, 2);
    QCOMPARE(d.session.selection().lastCol, 2);
}

void CellAreaTest::pageDownReachesTheLastRow() {
    Desktop d;
    int presses = 0;
    while (d.area().cursor().row < kMaxRow && presses < kMaxRow) {
        QTest::keyClick(&d.area(), Qt::Key_PageDown);
        ++presses;
    }
    QCOMPARE(d.area().cursor().row, kMaxRow);
    QVERIFY(d.area().topRow() + d.area().visibleRows() > kMaxRow);
    QVERIFY(!d.area().cellRect(kMaxRow, 1).isEmpty());
}

void CellAreaTest::draggingAColumnBorderChangesItsWidth() {
    Desktop d;
    const QRect cell = d.area().cellRect(1, 2);
    const int before = cell.width();
    const QPoint grip(cell.right() + 1, 5);
    QWidget* viewport = d.area().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(40, 0)),
                     viewport->mapToGlobal(QPointF(grip + QPoint(40, 0))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, grip + QPoint(40, 0));
    QCOMPARE(d.area().cellRect(1, 2).width(), before + 40);
    QVERIFY(d.session.cells().levelPtr(1)->changed);

    // A level whose layout may not change keeps its widths, after the refusal box.
    setPermissionWord(d.session.protection(), 1, kPermissionReset & ~(1u << kActionLayout));
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(d.area().cellRect(1, 2).right() + 1, 5));
    QTest::mouseRelease(viewport, Qt::LeftButton);
    QCOMPARE(seen.caption, QStringLiteral("Protected Operation"));
    QCOMPARE(d.area().cellRect(1, 2).width(), before + 40);
}

void CellAreaTest::editingIsRefusedOnAProtectedLevel() {
    Desktop d;
    setPermissionWord(d.session.protection(), 1, kPermissionReset & ~(1u << kActionEdit));
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(&d.area(), QStringLiteral("x"));
    QVERIFY(seen.shown);
    QCOMPARE(seen.text,
             QStringLiteral("The Password Protection settings do not allow you to EDIT cells at this level."));
    QVERIFY(!d.window->editing());
    QCOMPARE(d.window->modeSelector()->currentText(), QStringLiteral("Standard mode"));
}

void CellAreaTest::aProtectedCellCannotBeEdited() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("kept"));
    ErrStat err;
    d.session.cells().findCell(1, 1, 1, err)->set(cellflag::kProtectCell);
    d.area().moveTo(1, 1);
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClick(&d.area(), Qt::Key_F2);
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QCOMPARE(seen.text, QStringLiteral("This cell is protected. It cannot be edited."));
    QVERIFY(!d.window->editing());
}

void CellAreaTest::escapeKeepsTheCellAsItWas() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("+1+1"));
    d.area().moveTo(1, 1);
    QTest::keyClicks(&d.area(), QStringLiteral("9"));
    QVERIFY(d.window->editing());
    QTest::keyClick(d.window->editBar(), Qt::Key_Escape);
    QVERIFY(!d.window->editing());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("2.00"));
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("1+1"));  // the stored formula, as it re-enters
}

void CellAreaTest::anEntryErrorIsReportedWithTheCaretAtItsPlace() {
    Desktop d;
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    d.enterAt(1, 1, QStringLiteral("+2+*3"));
    QVERIFY(seen.shown);
    QVERIFY2(seen.caption.startsWith(QStringLiteral("ERROR")), qPrintable(seen.caption));
    QVERIFY(d.window->editing());
    QCOMPARE(d.window->editBar()->text(), QStringLiteral("+2+*3"));
    QCOMPARE(d.window->editBar()->cursorPosition(), 3);  // at the operator that cannot stand there
    // Mended, the entry commits and editing ends.
    d.window->editBar()->setText(QStringLiteral("+2+3"));
    QTest::keyClick(d.window->editBar(), Qt::Key_Return);
    QVERIFY(!d.window->editing());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("5.00"));
}

QX_UI_TEST(CellAreaTest, "cell_area_test");
#include "cell_area_test.moc"
