#include "app/menu_bar.h"

#include "app/main_window.h"
#include "app/shell_state.h"
#include "platform/platform.h"

namespace vaelo {

void CreateMenuBar(platform::WindowId window) {
    ShellState& s = Shell();
    auto& p = platform::Current();
    if (p.system) {
        const auto v = p.system->Version();
        if ((v.major == 4 && v.minor >= 21) || v.major > 4) s.options.usesShellMenuBar = 1;
    }
    platform::MenuBarSpec spec;
    spec.shellForm = s.options.usesShellMenuBar != 0;
    spec.menuId = 102;
    if (spec.shellForm) spec.dropDowns = {{command::kMenuGo, 302}, {command::kMenuGelmo, 304}};
    spec.bitmapId = 114;
    spec.imageCount = 6;
    spec.buttons = {{0, command::kPreviousArticle}, {1, command::kChooseSection}, {2, command::kNextArticle},
                    {3, command::kFont},            {4, command::kSearch},        {5, command::kSearchAgain}};
    spec.tooltips = {"", "Previous Article", "Choose Article", "Next Article", "Choose Font", "Search", "Search Again"};
    spec.closeBox = !spec.shellForm && s.options.fullScreen != 0;
    const std::optional<int> height = p.menus ? p.menus->CreateMenuBar(window, spec) : std::nullopt;
    // Without a menu bar the program runs on, with no menu and no buttons.
    s.hasMenuBar = height.has_value();
    s.menuBarHeight = height.value_or(0);
}

}  // namespace vaelo
