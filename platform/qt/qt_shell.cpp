#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace vaelo::platform::qt {

bool QtShell::OpenAddress(WindowId, const std::u16string& address) {
    // Strict parsing: a half-formed address is refused here instead of being "repaired" into
    // something the desktop then opens.
    const QUrl url(QString::fromStdU16String(address), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

}  // namespace vaelo::platform::qt
