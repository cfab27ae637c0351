// The attribute commands of the "Standard mode" bar on the selection, as the cell area shows them:
// hidden texts, protected cells, background colours and borders, and a level that forbids them.
#include <QColorDialog>
#include <QImage>

#include "protect/protection.h"
#include "ui_fixture.h"

using namespace qx;
using namespace qx::test;

namespace {

constexpr int kHide = 4010;
constexpr int kUnhide = 4011;
constexpr int kProtect = 4012;
constexpr int kUnprotect = 4013;
constexpr int kAddBorder = 4252;
constexpr int kAddBackground = 4255;
constexpr int kRemoveBackground = 4256;
constexpr int kRemoveBorder = 4257;

void selectBlock(Desktop& d, int firstRow, int firstCol, int lastRow, int lastCol) {
    d.area().moveTo(lastRow, lastCol);
    d.area().moveTo(firstRow, firstCol, true);
}

// The colour painted at a point of a cell, with the pointer moved to [1,1], out of the way of the cells looked at.
QColor paintedAt(Desktop& d, int row, int col, bool leftEdge) {
    d.area().moveTo(1, 1);
    const QRect cell = d.area().cellRect(row, col);
    const QImage image = d.area().viewport()->grab().toImage();
    return image.pixelColor(leftEdge ? cell.left() : cell.center().x(), cell.center().y());
}

void chooseColourNext(const QColor& colour) {
    onNextDialog<QColorDialog>([colour](QColorDialog* dialog) {
        dialog->setCurrentColor(colour);
        dialog->accept();
    });
}

}  // namespace

class AttributeCommandsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void hideAndUnhideRoundTripOnARange();
    void protectRefusesEditingWithTheWarning();
    void rangesChangeWhatIsPainted();
    void aProtectedLevelRefusesAttributeChanges();
};

void AttributeCommandsTest::hideAndUnhideRoundTripOnARange() {
    Desktop d;
    d.enterAt(2, 2, QStringLiteral("N"));
    d.enterAt(2, 3, QStringLiteral("+2"));
    d.enterAt(3, 2, QStringLiteral("outside"));
    selectBlock(d, 2, 2, 2, 3);
    QVERIFY(d.window->dispatchCommand(kHide));
    QCOMPARE(d.area().paintedText(2, 2), QString());
    QCOMPARE(d.area().paintedText(2, 3), QString());
    QCOMPARE(d.area().paintedText(3, 2), QStringLiteral("outside"));
    QVERIFY(d.session.cells().levelPtr(1)->changed);
    selectBlock(d, 2, 2, 2, 3);
    QVERIFY(d.window->dispatchCommand(kUnhide));
    QCOMPARE(d.area().paintedText(2, 2), QStringLiteral("N"));
    QCOMPARE(d.area().paintedText(2, 3), QStringLiteral("2.00"));
}

void AttributeCommandsTest::protectRefusesEditingWithTheWarning() {
    Desktop d;
    d.enterAt(1, 1, QStringLiteral("kept"));
    d.area().moveTo(1, 1);
    QVERIFY(d.window->dispatchCommand(kProtect));
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(&d.area(), QStringLiteral("x"));
    QCOMPARE(seen.caption, QStringLiteral("WARNING"));
    QCOMPARE(seen.text, QStringLiteral("This cell is protected. It cannot be edited."));
    QVERIFY(!d.window->editing());
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("kept"));

    d.area().moveTo(1, 1);
    QVERIFY(d.window->dispatchCommand(kUnprotect));
    d.typeEntry(QStringLiteral("changed"));
    QCOMPARE(d.area().paintedText(1, 1), QStringLiteral("changed"));
}

void AttributeCommandsTest::rangesChangeWhatIsPainted() {
    struct Case {
        const char* name;
        int add;
        int remove;
        bool leftEdge;  // a border shows on the cell's edge, a colour inside it
        QColor added;
    };
    const Case cases[] = {
        {"background", kAddBackground, kRemoveBackground, false, QColor(255, 255, 0)},
        {"border", kAddBorder, kRemoveBorder, true, QColor(0, 0, 0)},
    };
    const QColor white(255, 255, 255);
    for (const Case& c : cases) {
        Desktop d;
        QCOMPARE(paintedAt(d, 4, 4, c.leftEdge), white);
        selectBlock(d, 4, 4, 5, 6);
        if (c.add == kAddBackground) chooseColourNext(c.added);
        QVERIFY2(d.window->dispatchCommand(c.add), c.name);
        QCOMPARE(paintedAt(d, 4, 4, c.leftEdge), c.added);
        QCOMPARE(paintedAt(d, 3, 3, c.leftEdge), white);
        QVERIFY2(d.session.cells().levelPtr(1)->changed, c.name);
        d.area().moveTo(4, 4);
        QVERIFY2(d.window->dispatchCommand(c.remove), c.name);
        QCOMPARE(paintedAt(d, 4, 4, c.leftEdge), white);
    }
    // The colour dialog cancelled changes nothing.
    Desktop d;
    onNextDialog<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    QVERIFY(d.window->dispatchCommand(kAddBackground));
    QVERIFY(d.session.cells().levelPtr(1)->colourRanges.empty());
}

void AttributeCommandsTest::aProtectedLevelRefusesAttributeChanges() {
    Desktop d;
    d.enterAt(2, 2, QStringLiteral("seen"));
    d.session.cells().levelPtr(1)->changed = false;
    setPermissionWord(d.session.protection(), 1, kPermissionReset & ~(1u << kActionAttributes));
    for (int command : {kHide, kAddBackground, kAddBorder}) {
        d.area().moveTo(2, 2);
        SeenBox seen;
        answerNextBox(QMessageBox::Ok, &seen);
        // A colour dialog must not open; if one did, the watch closes it so the test ends.
        bool asked = false;
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&asked] {
            if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                asked = true;
                dialog->reject();
            }
        });
        watch.start();
        d.window->dispatchCommand(command);
        QCOMPARE(seen.caption, QStringLiteral("Protected Operation"));
        QVERIFY(!asked);
    }
    QCOMPARE(d.area().paintedText(2, 2), QStringLiteral("seen"));
    const LevelRec& level = *d.session.cells().levelPtr(1);
    QVERIFY(level.colourRanges.empty() && level.borderRanges.empty() && !level.changed);
}

QX_UI_TEST(AttributeCommandsTest, "attribute_commands_test");
#include "attribute_commands_test.moc"
