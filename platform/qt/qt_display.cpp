#include "platform/qt/qt_display.h"

#include <cstdlib>
#include <string_view>

namespace vaelo::platform::qt {

std::string NoDisplayAdvice(const std::string& program) {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (set("DISPLAY") || set("WAYLAND_DISPLAY")) return {};
    if (const char* platform = std::getenv("QT_QPA_PLATFORM"); platform && *platform) {
        const std::string_view p(platform);
        // Only the desktop platforms need a display server; the others bring their own.
        if (p.substr(0, 3) != "xcb" && p.substr(0, 7) != "wayland") return {};
    }
    return "There is no display to show the reader on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set).\n"
           "Run it on a virtual display:\n"
           "    xvfb-run -a " +
           program +
           "\n"
           "or through Qt's VNC platform, then connect a VNC viewer to port 5900:\n"
           "    QT_QPA_PLATFORM=vnc " +
           program + "\n";
}

}  // namespace vaelo::platform::qt
