#pragma once
// The program's start: Qt set up in the order the platform needs, the
// settings' names, the main window, and a recipe named on the command line.

#include <QString>

namespace qv::app {

// The folder of the program file itself (symbolic links resolved), ending
// in '/': ATOMS.LST lies there.
QString programDirectory();

// Runs the desktop program; the process's exit code.
int runApplication(int argc, char** argv);

}  // namespace qv::app
