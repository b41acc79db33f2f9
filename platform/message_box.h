// Message boxes: the only way the program reports a failure to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window.h"

namespace vaelo::platform {


// Buttons and icons, combined with |.
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNoCancel = 0x3;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kButtonsMask = 0xF;
constexpr unsigned kIconMask = 0xF0;
}  // namespace mb

// What a message box returns: the button pressed.
namespace mbr {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace mbr

// The caption shown when the caller gives none.
inline constexpr const char* kDefaultCaption = "Error";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal message box and returns the button. Texts are UTF-8; a missing caption
    // shows kDefaultCaption.
    virtual int Show(WindowId owner, const std::string& text, const std::optional<std::string>& caption,
                     unsigned style) = 0;
};

}  // namespace vaelo::platform
