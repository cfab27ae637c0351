#pragma once
// Start-up of the desktop program once the command line is read: the session's directories, the
// settings file, the frame, the document from the command line, and the screenshot mode.
#include <QString>

#include "ui/command_line.h"

namespace qx {

// Runs the program; returns the exit status.
int runDesktop(const DesktopCommandLine& line);

// The settings file used without --settings.
QString defaultSettingsPath();

}  // namespace qx
