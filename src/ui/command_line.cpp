#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QUrl>

namespace qx {

DesktopCommandLine parseDesktopCommandLine(const QStringList& arguments) {
    DesktopCommandLine out;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorix, a spreadsheet for engineering and surveying."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Read and write the settings file PATH."), QStringLiteral("PATH"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Show the window with FILE loaded, save it as PNG and exit."),
                                        QStringLiteral("PNG"));
    parser.addOptions({help, version, settings, screenshot});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A workbook (.qx3) or worksheet (.qx2) to open."),
                                 QStringLiteral("[FILE]"));
    // The help is printed before any application object exists, which is where the parser would take
    // the program's name from.
    out.helpText = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype options = out.helpText.indexOf(QStringLiteral(" [options]"));
    if (out.helpText.startsWith(usage) && options > usage.size()) {
        out.helpText.replace(usage.size(), options - usage.size(), QStringLiteral("quorix"));
    }
    if (!parser.parse(arguments)) {
        out.error = parser.errorText();
        return out;
    }
    out.help = parser.isSet(help);
    out.version = parser.isSet(version);
    out.settingsPath = parser.value(settings);
    out.screenshotPath = parser.value(screenshot);
    if (parser.isSet(settings) && out.settingsPath.isEmpty()) out.error = QStringLiteral("--settings needs a PATH");
    if (parser.isSet(screenshot) && out.screenshotPath.isEmpty())
        out.error = QStringLiteral("--screenshot needs a PNG path");
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) out.file = documentPathFromArgument(positional.front());
    return out;
}

QString documentPathFromArgument(const QString& argument) {
    QString path = argument;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        path = path.mid(1, path.size() - 2);
    }
    if (path.startsWith(QStringLiteral("file://"))) {
        const QUrl url(path);
        if (url.isValid() && url.isLocalFile()) path = url.toLocalFile();
    }
    return path;
}

bool displayAvailable(const QByteArray& platformVariable, const QByteArray& display, const QByteArray& waylandDisplay) {
    const bool windowSystem =
        platformVariable.isEmpty() || platformVariable.startsWith("xcb") || platformVariable.startsWith("wayland");
    if (!windowSystem) return true;  // offscreen, vnc, ...: Qt needs no display of ours
    return !display.isEmpty() || !waylandDisplay.isEmpty();
}

}  // namespace qx
