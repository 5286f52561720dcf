#pragma once
// The application icon the package installs, for the window, its dialogs and
// the About box.

#include <QIcon>

namespace qv::app {

// Built in at several sizes; the icon theme's "quorvex" where the build had
// no way to draw them.
QIcon applicationIcon();

}  // namespace qv::app
