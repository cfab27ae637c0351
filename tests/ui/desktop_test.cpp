// What reaches the program from outside the window: the command line, the display check, the
// file dialog's type list, and the stored font names mapped to fonts this machine has.
#include <QTest>

#include "ui/command_line.h"
#include "ui/font_map.h"
#include "ui/qt_platform.h"
#include "ui_fixture.h"

using namespace qx;

class DesktopTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void commandLineTakesTheFirstDocument();
    void displayIsNeededOnlyByWindowSystems();
    void fileTypesListBothCases();
    void storedFontNamesMapToLocalFonts();
    void pathsKeepTheirBytes();
};

void DesktopTest::commandLineTakesTheFirstDocument() {
    struct Case {
        QStringList args;
        QString file;
        QString settings;
        QString screenshot;
        bool error;
    };
    const QList<Case> cases{
        {{"quorix"}, {}, {}, {}, false},
        {{"quorix", "/data/survey.qx3"}, "/data/survey.qx3", {}, {}, false},
        {{"quorix", "\"/data/my survey.qx3\""}, "/data/my survey.qx3", {}, {}, false},
        {{"quorix", "file:///data/my%20survey.qx3"}, "/data/my survey.qx3", {}, {}, false},
        {{"quorix", "a.qx2", "b.qx2"}, "a.qx2", {}, {}, false},
        {{"quorix", "--settings", "/tmp/q.ini", "a.qx3"}, "a.qx3", "/tmp/q.ini", {}, false},
        {{"quorix", "--screenshot=/tmp/s.png", "a.qx3"}, "a.qx3", {}, "/tmp/s.png", false},
        {{"quorix", "--bogus"}, {}, {}, {}, true},
        {{"quorix", "--settings"}, {}, {}, {}, true},
    };
    for (const Case& c : cases) {
        const DesktopCommandLine line = parseDesktopCommandLine(c.args);
        QCOMPARE(!line.error.isEmpty(), c.error);
        if (c.error) continue;
        QCOMPARE(line.file, c.file);
        QCOMPARE(line.settingsPath, c.settings);
        QCOMPARE(line.screenshotPath, c.screenshot);
    }
    QVERIFY(parseDesktopCommandLine({"quorix", "--help"}).help);
    QVERIFY(
        parseDesktopCommandLine({"quorix", "--help"}).helpText.startsWith(QStringLiteral("Usage: quorix [options]")));
    QVERIFY(parseDesktopCommandLine({"quorix", "--version"}).version);
    QCOMPARE(documentPathFromArgument(QStringLiteral("\"")), QStringLiteral("\""));
}

void DesktopTest::displayIsNeededOnlyByWindowSystems() {
    QVERIFY(!displayAvailable("", "", ""));
    QVERIFY(displayAvailable("", ":0", ""));
    QVERIFY(displayAvailable("", "", "wayland-0"));
    QVERIFY(!displayAvailable("xcb", "", ""));
    QVERIFY(displayAvailable("offscreen", "", ""));
}

void DesktopTest::fileTypesListBothCases() {
    QCOMPARE(qtFilterText({"Quorix Workbook (*.qx3)", "*.qx3"}), QStringLiteral("Quorix Workbook (*.qx3 *.QX3)"));
    QCOMPARE(qtFilterText({"All Files (*.*)", "*.*"}), QStringLiteral("All Files (*)"));
}

void DesktopTest::storedFontNamesMapToLocalFonts() {
    struct Case {
        const char* stored;
        const char* family;
        bool bold;
        bool italic;
    };
    const Case cases[] = {
        {"Arial", "Liberation Sans", false, false},
        {"Arial Bold Italic", "Liberation Sans", true, true},
        {"Arial Black", "Liberation Sans", false, false},
        {"Courier New Italic", "Liberation Mono", false, true},
        {"Times New Roman Bold", "Liberation Serif", true, false},
        {"System", "", false, false},
        {"MS Sans Serif", "", false, false},
        {"Georgia", "Georgia", false, false},
        {"Book Antiqua", "Book Antiqua", false, false},
    };
    for (const Case& c : cases) {
        QCOMPARE(mappedFamily(c.stored), QString::fromLatin1(c.family));
        QCOMPARE(nameStyle(c.stored).bold, c.bold);
        QCOMPARE(nameStyle(c.stored).italic, c.italic);
    }
    QCOMPARE(colourFromWord(0x0000FF), QColor(255, 0, 0));  // words are 0x00BBGGRR
    QCOMPARE(textColour(12), QColor(0, 0, 255));            // "Blue"
    QCOMPARE(textColour(99), QColor(0, 0, 0));
}

void DesktopTest::pathsKeepTheirBytes() {
    const QString path = QStringLiteral("/tmp/Vermessung \u00fcber \u6d4b\u91cf.qx3");
    QCOMPARE(pathFromEngine(pathToEngine(path)), path);
}

QX_UI_TEST(DesktopTest, "desktop_test");
#include "desktop_test.moc"
