// quorix: the desktop program.
#include <QApplication>
#include <cstdio>

#include "quorix_version.h"
#include "ui/command_line.h"
#include "ui/desktop_start.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const qx::DesktopCommandLine line = qx::parseDesktopCommandLine(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "quorix: %s\n", line.error.toLocal8Bit().constData());
        return 2;
    }
    if (line.help) {
        std::fputs(line.helpText.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("quorix %.*s\n", static_cast<int>(qx::kQuorixVersion.size()), qx::kQuorixVersion.data());
        return 0;
    }
    if (!qx::displayAvailable(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"))) {
        std::fputs("quorix: no display can be opened; quorix-cli works without one\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorix"));
    QApplication::setApplicationVersion(
        QString::fromLatin1(qx::kQuorixVersion.data(), static_cast<qsizetype>(qx::kQuorixVersion.size())));
    QApplication::setDesktopFileName(QStringLiteral("quorix"));
    return qx::runDesktop(line);
}
