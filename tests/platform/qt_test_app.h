// The one QApplication of a test program that uses the Qt backend, made on first use. Fonts
// need it; widgets (message boxes) need the QApplication kind. Tests run it offscreen.
#pragma once

#include <QApplication>
#include <cstdlib>

namespace vaelo::testing {

inline QApplication& QtTestApp() {
    // ctest sets the offscreen platform; a test started by hand gets it here.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "vaelo-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace vaelo::testing
