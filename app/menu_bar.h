// The menu bar: menu 102 and the six tool buttons, as a command bar at the top or, on newer
// systems or when the options ask for it, as the shell's bar at the bottom.
#pragma once

#include "platform/window.h"

namespace vaelo {

void CreateMenuBar(platform::WindowId window);

}  // namespace vaelo
