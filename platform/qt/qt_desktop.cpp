#include "platform/qt/qt_desktop.h"

#include "platform/qt/qt_platform.h"

namespace vaelo::platform::qt {

QtDesktop::QtDesktop(QtMessageBoxes* messageBoxes) {
    previous_ = Current();
    Services services = Current();
    services.windows = &windows;
    services.menus = &menus;
    services.dialogs = &dialogs;
    services.shell = &shell;
    services.instance = &instance;
    Install(services);
    if (messageBoxes) messageBoxes->findOwner = [this](WindowId id) { return windows.Widget(id); };
}

QtDesktop::~QtDesktop() { Install(previous_); }

}  // namespace vaelo::platform::qt
