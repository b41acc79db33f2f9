// The main window's handler: creation and destruction, size, paint and activation, the menu
// and tool-button commands, the keys, the two scroll bars and taps; and article navigation.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "view/text_view.h"

namespace vaelo {

namespace command {
constexpr unsigned kChooseSectionHidden = 107;
constexpr unsigned kNextArticle = 109;
constexpr unsigned kPreviousArticle = 110;
constexpr unsigned kSearch = 116;
constexpr unsigned kSearchAgain = 117;
constexpr unsigned kChooseSection = 119;
constexpr unsigned kReverse = 122;
constexpr unsigned kBookmark = 123;
constexpr unsigned kCheckForUpdates = 129;
constexpr unsigned kProportionFirst = 401;
constexpr unsigned kProportionLast = 434;
constexpr unsigned kMenuGo = 40001;
constexpr unsigned kMenuGelmo = 40003;
constexpr unsigned kAbout = 40004;
constexpr unsigned kExit = 40005;
constexpr unsigned kFont = 40006;
constexpr unsigned kCopy = 40007;
constexpr unsigned kAppend = 40009;
}  // namespace command

// SwitchArticle: reload the current article into the main pane only.
constexpr std::uint32_t ReloadMarker = 0xF4FFF500;

std::intptr_t MainWindowProc(platform::WindowId window, unsigned message, std::uintptr_t value,
                             std::intptr_t extra);
// 0 when handled, 1 when the command is not one of the window's.
int HandleCommand(platform::WindowId window, std::uintptr_t value);

// 0, or 1 when the article cannot be loaded (nothing changes then).
int SwitchArticle(platform::WindowId window, std::uint32_t article);
void StepArticle(platform::WindowId window, int delta);
void NextArticle(platform::WindowId window);
void PreviousArticle(platform::WindowId window);

bool HitPane(const view::TextView& view, int x, int y);
// 1 when the tap hit the view and paged it, else 0.
int TapPage(platform::WindowId window, view::TextView* view, int x, int y, bool repaintNow);

// With set: puts the mark on or off by state; without: toggles it. Returns the new state.
int SetMenuCheck(platform::WindowId window, bool set, unsigned command, int state);
void RefreshBookmarkCheck(platform::WindowId window, bool set);
void SetReverseCheck(platform::WindowId window, bool set);

}  // namespace vaelo
