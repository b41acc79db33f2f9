// The About box with its link to the home page, and the update check. Both only hand an
// address to the desktop's browser.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace vaelo {

inline constexpr const char16_t* kHomePage = u"https://vaelo.example.org/";
inline constexpr const char16_t* kUpdateServer = u"https://updates.vaelo.example.org";
inline constexpr const char16_t* kProductPath = u"Tarvenco/Vaelo";
inline constexpr const char16_t* kVersion = u"1.84a";
constexpr int kLinkButton = 1025;
constexpr std::uint16_t kAboutTemplate = 103;

// Runs the About box over the owner; its end code.
int AboutDialog(platform::WindowId owner);
std::intptr_t AboutDialogProc(platform::WindowId dialog, unsigned message, std::uintptr_t value,
                              std::intptr_t extra);
void OpenAddress(platform::WindowId owner, const std::u16string& address);
// The update address for a product path: spaces as '+', letters, digits, '.' and '/' as they
// are, anything else as %XX of its 16-bit code.
std::u16string UpdateAddress(const std::u16string& productPath);
void CheckForUpdates(platform::WindowId owner);

}  // namespace vaelo
