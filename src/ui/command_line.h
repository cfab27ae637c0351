#pragma once
// quorix [--settings PATH] [--screenshot PNG] [FILE]: the desktop program's command line.
#include <QString>
#include <QStringList>

namespace qx {

struct DesktopCommandLine {
    QString file;            // empty: no document to open
    QString settingsPath;    // empty: the default settings file
    QString screenshotPath;  // set: render the window into this PNG and exit
    bool help = false;
    bool version = false;
    QString error;  // a one-line reason when the line cannot be used
    QString helpText;
};

// `arguments` includes the program name first. Only the first non-option argument is used.
DesktopCommandLine parseDesktopCommandLine(const QStringList& arguments);

// A document argument as launchers pass it: one pair of surrounding double quotes is removed,
// and a file:// URL becomes its local path.
QString documentPathFromArgument(const QString& argument);

// Whether a window system can be reached; without one the program cannot start.
bool displayAvailable(const QByteArray& platformVariable, const QByteArray& display, const QByteArray& waylandDisplay);

}  // namespace qx
