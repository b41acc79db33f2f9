// The program's user-interface resources: menus, dialog templates, strings and bitmaps. They
// are written as text in resources/ui (docs/resource-formats.md), checked and compiled by
// vaelo-rc at build time, and read back here by both backends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/types.h"

namespace vaelo::platform {

struct MenuItem {
    unsigned command = 0;  // 0 for a separator
    std::string label;     // with '&' before the access letter
    std::string shortcut;  // shown after the label; a label only, it binds no key
    bool Separator() const { return command == 0; }
};

struct MenuPopup {
    std::string title;
    std::vector<MenuItem> items;
};

struct Menu {
    std::vector<MenuPopup> popups;
};

enum class ControlKind { Static, Picture, Button, OwnerDrawnButton, Edit };

struct DialogControl {
    ControlKind kind = ControlKind::Static;
    int id = -1;
    Rect units;  // in dialog units
    std::string text;
    std::uint16_t imageId = 0;  // Picture: bitmap resource
    std::vector<std::string> styles;
    bool Has(const std::string& style) const;
};

struct DialogTemplate {
    int width = 0;  // dialog units
    int height = 0;
    std::string caption;
    std::vector<std::string> styles;
    int fontPoints = 8;
    std::string fontFace;
    std::vector<DialogControl> controls;
    bool Has(const std::string& style) const;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;  // row by row from the top, 0x00BBGGRR
};

// Parsers of the text forms. On an error they return nullopt and set *error to
// "line N: what is wrong".
std::optional<Menu> ParseMenu(const std::string& text, std::string* error);
std::optional<DialogTemplate> ParseDialog(const std::string& text, std::string* error);
std::optional<Bitmap> ParseBitmapSource(const std::string& text, std::string* error);

// The stored bitmap: width and height as 16-bit little-endian numbers, then the pixels as
// 32-bit little-endian 0x00BBGGRR values.
std::vector<std::uint8_t> EncodeBitmap(const Bitmap& bitmap);
std::optional<Bitmap> DecodeBitmap(ResourceBytes bytes);

// Looks a resource up in the installed resources and parses it; nullopt when it is missing
// or damaged.
std::optional<Menu> LoadMenu(std::uint16_t id);
std::optional<DialogTemplate> LoadDialog(std::uint16_t id);
std::optional<Bitmap> LoadBitmap(std::uint16_t id);
std::optional<std::string> LoadString(std::uint16_t id);

}  // namespace vaelo::platform
