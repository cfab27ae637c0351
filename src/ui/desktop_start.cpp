#include "ui/desktop_start.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "app/session.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

void printLine(FILE* to, const QString& text) {
    std::fprintf(to, "quorix: %s\n", text.toLocal8Bit().constData());
}

SessionOptions sessionOptions(const DesktopCommandLine& line) {
    SessionOptions options;
    options.directories.startDirectory = pathToEngine(QDir::currentPath());
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir()) documents = QDir::homePath();
    options.directories.documentDirectory = pathToEngine(documents);
    QString install = qEnvironmentVariable("QUORIX_HOME");
    if (install.isEmpty())
        install = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/quorix"));
    options.directories.installDirectory = pathToEngine(install);
    options.settingsPath = pathToEngine(line.settingsPath.isEmpty() ? defaultSettingsPath() : line.settingsPath);
    return options;
}

// Opens the command line's document into level 1 without asking; false with a reason on failure.
bool openStartDocument(Session& session, const QString& file, QString& reason) {
    const SplitPath where = splitPath(pathToEngine(QFileInfo(file).absoluteFilePath()));
    ErrStat err;
    if (!session.files().openFile(1, false, where.directory, where.name, err)) {
        reason = fromEngine(oneLine(true, err, session.scratch()));
        if (reason.isEmpty()) reason = QStringLiteral("cannot open %1").arg(file);
        return false;
    }
    return true;
}

}  // namespace

QString defaultSettingsPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath();
    return QDir(dir).absoluteFilePath(QStringLiteral("quorix/Quorix.ini"));
}

int runDesktop(const DesktopCommandLine& line) {
    const bool screenshot = !line.screenshotPath.isEmpty();
    QtPlatform platform;
    platform.setQuiet(screenshot);
    SessionOptions options = sessionOptions(line);
    if (!line.settingsPath.isEmpty() || !screenshot) {
        QDir().mkpath(QFileInfo(pathFromEngine(*options.settingsPath)).absolutePath());
    }
    Session session(platform, options);
    ErrStat err;
    if (!session.start(err)) {
        printLine(stderr, QStringLiteral("start-up failed: ") + fromEngine(oneLine(true, err, session.scratch())));
        return 1;
    }
    MainWindow window(session, platform);
    window.show();
    if (!line.file.isEmpty()) {
        QString reason;
        const bool opened = openStartDocument(session, line.file, reason);
        if (!opened && screenshot) {
            printLine(stderr, reason);
            return 1;
        }
        window.afterEvents();
    }
    if (screenshot) {
        int status = 0;
        QTimer::singleShot(0, &window, [&] {
            window.afterEvents();
            QApplication::processEvents();
            const QImage image = window.grab().toImage();
            if (image.isNull() || !image.save(line.screenshotPath, "PNG")) {
                printLine(stderr, QStringLiteral("cannot write %1").arg(line.screenshotPath));
                status = 1;
            }
            QApplication::exit(status);
        });
        QApplication::exec();
        return status;
    }
    QApplication::exec();
    if (!session.finish(err)) printLine(stderr, fromEngine(oneLine(true, err, session.scratch())));
    return 0;
}

}  // namespace qx
