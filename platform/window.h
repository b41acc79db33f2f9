// Windows and messages. Handlers receive the platform's messages by number, with the key and
// scroll codes below; the Qt backend translates its events into them and tests send them
// directly to the handlers on the headless backend.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace vaelo::platform {

using WindowId = std::uintptr_t;  // 0: no window
constexpr WindowId kNoWindow = 0;

// A message handler: (window, message, value, extra) → result.
using WindowProc = std::intptr_t (*)(WindowId window, unsigned message, std::uintptr_t value,
                                     std::intptr_t extra);

namespace msg {
constexpr unsigned kCreate = 1;
constexpr unsigned kDestroy = 2;
constexpr unsigned kSize = 5;         // value: width in the low 16 bits, height in the high 16
constexpr unsigned kActivate = 6;     // value: low 16 bits not 0 when being activated
constexpr unsigned kPaint = 15;
constexpr unsigned kClose = 16;
constexpr unsigned kSettingChange = 26;
constexpr unsigned kDrawItem = 43;    // extra: a DrawItem*
constexpr unsigned kHelp = 83;
constexpr unsigned kKeyDown = 256;    // value: key code
constexpr unsigned kInitDialog = 272; // extra: the dialog's parameter
constexpr unsigned kCommand = 273;    // value: command id in the low 16 bits
constexpr unsigned kVScroll = 277;    // value: code | thumb << 16; extra: the scroll bar
constexpr unsigned kPenDown = 513;    // extra: x in the low 16 bits, y in the high 16
constexpr unsigned kMemoryShortage = 1023;
}  // namespace msg

namespace key {
constexpr unsigned kEnter = 13;
constexpr unsigned kPageUp = 33;
constexpr unsigned kPageDown = 34;
constexpr unsigned kEnd = 35;
constexpr unsigned kHome = 36;
constexpr unsigned kLeft = 37;
constexpr unsigned kUp = 38;
constexpr unsigned kRight = 39;
constexpr unsigned kDown = 40;
}  // namespace key

namespace scroll {
constexpr unsigned kLineUp = 0;
constexpr unsigned kLineDown = 1;
constexpr unsigned kPageUp = 2;
constexpr unsigned kPageDown = 3;
constexpr unsigned kThumbPosition = 4;
constexpr unsigned kThumbTrack = 5;
constexpr unsigned kTop = 6;
constexpr unsigned kBottom = 7;
constexpr unsigned kEndScroll = 8;
}  // namespace scroll

constexpr std::uintptr_t PackSize(int width, int height) {
    return (static_cast<std::uintptr_t>(height & 0xFFFF) << 16) | static_cast<std::uintptr_t>(width & 0xFFFF);
}
constexpr std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}

struct WindowClass {
    std::string name;
    WindowProc proc = nullptr;
    std::uint16_t iconId = 0;
    Color background = kWhite;
    bool redrawWholeOnResize = true;
};

class Surface;

// Top-level windows, scroll-bar children, the message loop.
class Windows {
public:
    virtual ~Windows() = default;

    virtual bool RegisterClass(const WindowClass& windowClass) = 0;
    // Creates a visible top-level window of a registered class; its handler gets kCreate
    // before this returns. kNoWindow on failure.
    virtual WindowId CreateTopLevel(const std::string& className, const std::string& title) = 0;
    // A visible vertical scroll bar, child of `parent`, at (x, y) with the default size.
    virtual WindowId CreateScrollBar(WindowId parent, int x, int y) = 0;
    // Sends kDestroy to the window's handler, then removes it.
    virtual void Destroy(WindowId window) = 0;

    virtual void Show(WindowId window) = 0;
    virtual void Move(WindowId window, const Rect& rect, bool repaint) = 0;
    virtual Rect ClientRect(WindowId window) = 0;
    virtual Rect ScreenRect(WindowId window) = 0;

    // The surface kept for a top-level window's life; what is drawn on it is shown.
    virtual Surface* GetSurface(WindowId window) = 0;

    // Scroll bars: range and position.
    virtual void SetScrollRange(WindowId bar, int minimum, int maximum, bool redraw) = 0;
    virtual void SetScrollPosition(WindowId bar, int position, bool redraw) = 0;

    // What a handler returns for a message it leaves to the platform.
    virtual std::intptr_t DefaultHandling(WindowId window, unsigned message, std::uintptr_t value,
                                          std::intptr_t extra) = 0;
    // Sends a message to a window's handler and returns its result.
    virtual std::intptr_t Send(WindowId window, unsigned message, std::uintptr_t value,
                               std::intptr_t extra) = 0;

    // Full screen: the window covers the screen, without the desktop's panels.
    virtual void SetFullScreen(WindowId window, bool on) = 0;
    virtual void BringToFront(WindowId window) = 0;
    virtual bool IsForeground(WindowId window) = 0;

    // Ends the message loop with the exit code once the current message is handled.
    virtual void PostQuit(int exitCode) = 0;
    // Runs the loop until a quit request; returns its exit code.
    virtual int RunMessageLoop() = 0;
};

}  // namespace vaelo::platform
