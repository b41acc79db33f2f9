// The shell's state: one record, one instance, so a test can start from a fresh one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "bookmarks/bookmark_list.h"
#include "content/letter_code.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "view/font_spec.h"
#include "view/text_view.h"

namespace vaelo {

// Bits of the Flags word.
namespace flags {
constexpr std::uint32_t kDefault = 0xD1140040;
constexpr std::uint32_t kScrollBarsLive = 0x000000C0;
constexpr std::uint32_t kReverse = 0x00000800;
constexpr std::uint32_t kKeyPageModeMask = 0x00700000;
constexpr int kKeyPageModeShift = 20;
constexpr std::uint32_t kTapPageModeMask = 0x07000000;
constexpr int kTapPageModeShift = 24;
constexpr std::uint32_t kTapSplitVertical = 0x10000000;
constexpr std::uint32_t kTapPaging = 0x80000000;
}  // namespace flags

// Options read once from the options key at the very start and never written.
struct DeviceOptions {
    std::uint32_t ignoreActivate = 0;
    std::uint32_t fullScreen = 0;
    std::uint32_t allowSipInHebrewSearch = 1;
    std::uint32_t usesShellMenuBar = 0;  // the MenuBarOnBottom value, or set from the version
    std::uint32_t surroundingGutter = 0;
};

constexpr int kSearchStringSize = 34;


struct ShellState {
    std::uint16_t lesson = 0;
    std::uint16_t lastPosition = 0;
    std::uint32_t flags = 0;
    FontSpec fontSpec;
    std::uint8_t searchString[kSearchStringSize] = {};
    std::uint32_t bottomSection = 12;
    std::uint16_t bottomSectionLastPosition = 0;
    DeviceOptions options;
    BookmarkList bookmarks;

    // The main window and its panes.
    platform::WindowId mainWindow = platform::kNoWindow;
    bool hasMenuBar = false;
    std::int32_t menuBarHeight = 0;
    platform::Surface* surface = nullptr;  // the main window's, shared by both views
    view::TextViewPtr mainView;
    view::TextViewPtr bottomView;
    view::TextView* activeView = nullptr;  // none: the main view
    platform::WindowId mainScrollBar = platform::kNoWindow;
    platform::WindowId bottomScrollBar = platform::kNoWindow;
    platform::WindowId activeScrollBar = platform::kNoWindow;
    Rect bottomRect;
    Size lastClientSize;
    content::ConversionBuffer conversion;  // shared by every conversion for measuring and drawing
    int modalDepth = 0;                    // dialogs open over the main window
    bool todaySwitch = false;              // "/today" on the command line; changes nothing
    // The three index icons, kept from start to shutdown.
    std::optional<platform::ResourceBytes> indexIcons[3];
    bool indexIconsLoaded = false;

    bool shutDownDone = false;
    bool quitRequested = false;
    int exitCode = 0;

    // What a letter code conversion reads: the letter base and the Reverse bit in force.
    content::LetterOptions LetterOptions() const {
        return {fontSpec.fontAsciiBase, (flags & flags::kReverse) != 0};
    }
};

// The one instance.
ShellState& Shell();
// Puts a fresh state in place of the current one (tests; a new run).
void ResetShell();

}  // namespace vaelo
