// The menu bar: menu 102 with its two pop-ups and the six tool buttons, in one of two forms.
// The command-bar form sits at the top of the window with the menu as its first item; the
// shell form sits at the bottom with two drop-down buttons over the two pop-ups.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace vaelo::platform {

struct ToolButton {
    int image = 0;  // index into the bitmap strip
    unsigned command = 0;
};

struct DropDownButton {
    unsigned command = 0;
    std::uint16_t textId = 0;  // string resource with the button's text
};

struct MenuBarSpec {
    bool shellForm = false;  // false: command bar at the top
    std::uint16_t menuId = 0;
    std::vector<DropDownButton> dropDowns;  // shell form: one per pop-up, in order
    std::uint16_t bitmapId = 0;             // strip of 16 × 16 images
    int imageCount = 0;
    std::vector<ToolButton> buttons;
    std::vector<std::string> tooltips;  // an empty first entry, then one per button
    bool closeBox = false;              // command bar only
};

class Menus {
public:
    virtual ~Menus() = default;
    // Builds the menu bar of a window; its height in pixels, or nullopt when it cannot be
    // made (the program then runs without menu and buttons).
    virtual std::optional<int> CreateMenuBar(WindowId window, const MenuBarSpec& spec) = 0;
    virtual void DestroyMenuBar(WindowId window) = 0;
    // Check marks of the menu items by command. SetCheck returns false when the window has
    // no menu or no such item.
    virtual bool SetCheck(WindowId window, unsigned command, bool on) = 0;
    virtual std::optional<bool> GetCheck(WindowId window, unsigned command) = 0;
    // Puts the radio mark on `command` and takes it off every other item in first..last.
    virtual void CheckRadio(WindowId window, unsigned first, unsigned last, unsigned command) = 0;
};

}  // namespace vaelo::platform
