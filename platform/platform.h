// The platform interface, cut by role. A backend (platform/qt for a real run,
// platform/headless for tests) fills one Services record and installs it; the program reaches
// every role through Current(). Roles a backend lacks stay null, so a missing service shows
// at its first use, not as a silent stub.
#pragma once

#include "platform/dialogs.h"
#include "platform/heap.h"
#include "platform/menus.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "platform/settings_store.h"
#include "platform/system.h"
#include "platform/window.h"

namespace vaelo::platform {

struct Services {
    Heap* heap = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    SettingsStore* settings = nullptr;
    Resources* resources = nullptr;
    System* system = nullptr;
    Windows* windows = nullptr;
    Menus* menus = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    SingleInstance* instance = nullptr;
};

// The installed services. Before any backend installs its own, the heap is the system heap
// and every other role is null.
Services& Current();
// Installs services and returns the ones they replace.
Services Install(const Services& services);

}  // namespace vaelo::platform
