// The desktop roles of the Qt backend: windows, menu bar, dialogs, shell and the
// one-reader-per-user lock. They need a running QApplication, so they live apart from
// QtPlatform, which tools and tests use without one.
//
//  [X] Windows, scroll bars, message loop: QtWindows (qt_windows.h).
//  [X] Menu bar in both forms: QtMenus (qt_menus.h).
//  [X] Modal dialogs from templates: QtDialogs (qt_dialogs.h).
//  [X] Shell: QtShell (qt_shell.h). Single instance: QtInstance (qt_instance.h).
//  [X] Message boxes owned by the program's windows.
#pragma once

#include "platform/platform.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_instance.h"
#include "platform/qt/qt_menus.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_windows.h"

namespace vaelo::platform::qt {

class QtMessageBoxes;

// Installs the desktop roles into the current services for its lifetime.
class QtDesktop {
public:
    explicit QtDesktop(QtMessageBoxes* messageBoxes = nullptr);
    ~QtDesktop();
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    QtWindows windows;
    QtMenus menus{windows};
    QtDialogs dialogs{windows};
    QtShell shell;
    QtInstance instance;

private:
    Services previous_;
};

}  // namespace vaelo::platform::qt
