#include "platform/qt/qt_entry.h"

#include <QApplication>
#include <iostream>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_display.h"
#include "platform/qt/qt_platform.h"

namespace vaelo::platform::qt {

int RunOnQt(int argc, char** argv, ResourceContainer resources,
            int (*reader)(const std::vector<std::string>& args), const std::vector<std::string>& args,
            void (*started)()) {
    const std::string advice = NoDisplayAdvice(argc > 0 ? argv[0] : "vaelo");
    if (!advice.empty()) {
        std::cerr << advice;
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vaelo");
    if (started) started();
    int code;
    {
        QtPlatform platform(std::move(resources));
        for (const auto& problem : platform.settings.Problems())
            std::cerr << problem << " (the other settings are kept)\n";
        QtDesktop desktop(&platform.messageBoxes);
        desktop.windows.QuitOnSignals();
        code = reader(args);
    }
    return code;
}

}  // namespace vaelo::platform::qt
