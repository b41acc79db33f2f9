// The program's entry on the Qt backend. This header names no Qt type, so the program's own
// entry can call it without seeing Qt.
#pragma once

#include <string>
#include <vector>

#include "platform/resources.h"

namespace vaelo::platform::qt {

// Runs `reader` on Qt Widgets with every service installed: the drawing surfaces, message
// boxes, the settings file, `resources`, the windows with their menu bar, dialogs, the shell
// and the one-reader-per-user lock. SIGTERM and SIGINT close the reader in order. Without a
// display it says how to run the reader anyway and returns 1. Returns the reader's exit code.
// `started`, when given, runs once the application object exists (a benchmark watches the
// first paint from there).
int RunOnQt(int argc, char** argv, ResourceContainer resources,
            int (*reader)(const std::vector<std::string>& args), const std::vector<std::string>& args,
            void (*started)() = nullptr);

}  // namespace vaelo::platform::qt
