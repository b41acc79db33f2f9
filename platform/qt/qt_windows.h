// Top-level windows, their scroll-bar children and the message loop on Qt Widgets. Each
// top-level window is a QWidget that keeps a QtSurface of its client size: the program draws on
// it at any time and the widget shows it. Qt events become the program's messages (window.h):
// resize kSize, key press kKeyDown with the key code, mouse press kPenDown, activation
// kActivate, close kClose, F1 kHelp; scroll-bar actions reach the parent's handler as kVScroll.
//
//  [X] Window classes: handler, icon from the resources, white background, redrawn whole on
//      every resize (the surface is cleared white, then kSize, then one kPaint).
//  [X] Kept surface drawn on at any time: after every message the backend delivers, and when
//      the loop starts, the windows show what their surfaces hold.
//  [X] Keys: Enter, Page Up/Down, End, Home and the arrows with the program's codes; letters,
//      digits, space, Tab, Backspace, Escape, Insert, Delete and F2..F12 with theirs; F1 kHelp.
//  [X] Mouse: left button kPenDown in client coordinates.
//  [X] Vertical scroll bars with range and position; every user action sends kVScroll to the
//      parent (code | thumb << 16, extra: the bar); setting them from the program sends nothing
//      and the bar shows the program's position, not where the mouse left it.
//  [X] Move, Show, ClientRect, ScreenRect, Send, DefaultHandling (kClose destroys), full
//      screen, bring to front, foreground test, PostQuit and RunMessageLoop.
//  [X] Ids are small integers; a stale id finds nothing and does nothing.
//  [X] Menu bar placement inside the client area (QtMenus hands the bar over).
//  [X] SIGTERM and SIGINT close every window through kDestroy (QuitOnSignals).
//  [ ] Mouse wheel over the text, pen move and pen up: the program uses taps only.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui_resources.h"
#include "platform/window.h"

namespace vaelo::platform::qt {

class QtSurface;

// A bitmap of the resources (0x00BBGGRR pixels) as an image; pixels of `transparent`, when
// given, become fully transparent.
QImage ToQImage(const Bitmap& bitmap, std::optional<Color> transparent = std::nullopt);
Color ToColor(const QColor& color);

// The program's key code for a Qt key (platform/window.h), or 0 when it has none.
unsigned KeyCode(int qtKey);

class QtWindows final : public Windows {
  public:
    QtWindows();
    ~QtWindows() override;
    QtWindows(const QtWindows&) = delete;
    QtWindows& operator=(const QtWindows&) = delete;

    bool RegisterClass(const WindowClass& windowClass) override;
    WindowId CreateTopLevel(const std::string& className, const std::string& title) override;
    WindowId CreateScrollBar(WindowId parent, int x, int y) override;
    void Destroy(WindowId window) override;
    void Show(WindowId window) override;
    void Move(WindowId window, const Rect& rect, bool repaint) override;
    Rect ClientRect(WindowId window) override;
    Rect ScreenRect(WindowId window) override;
    Surface* GetSurface(WindowId window) override;
    void SetScrollRange(WindowId bar, int minimum, int maximum, bool redraw) override;
    void SetScrollPosition(WindowId bar, int position, bool redraw) override;
    std::intptr_t DefaultHandling(WindowId window, unsigned message, std::uintptr_t value,
                                  std::intptr_t extra) override;
    std::intptr_t Send(WindowId window, unsigned message, std::uintptr_t value,
                       std::intptr_t extra) override;
    void SetFullScreen(WindowId window, bool on) override;
    void BringToFront(WindowId window) override;
    bool IsForeground(WindowId window) override;
    void PostQuit(int exitCode) override;
    int RunMessageLoop() override;

    // For the other roles of the backend.
    // Gives a widget an id; the id finds nothing once the widget is gone.
    WindowId Register(QWidget* widget);
    QWidget* Widget(WindowId id) const;
    // The widget of a top-level window made by CreateTopLevel; nullptr for any other id.
    QWidget* TopLevel(WindowId id) const;
    QtSurface* SurfaceOf(WindowId window) const;
    std::vector<WindowId> TopLevels() const;
    // Puts a menu bar inside the client area, along the top or the bottom edge, and keeps it
    // there on every resize. nullptr takes the bar away.
    void SetMenuBar(WindowId window, QWidget* bar, bool bottom);
    // Shows on screen whatever the program has drawn on the windows' surfaces.
    void PresentAll();
    // Runs after the backend hands control back from a handler that may have drawn.
    std::intptr_t Dispatch(WindowId window, unsigned message, std::uintptr_t value,
                           std::intptr_t extra);

    // What QuitOnSignals does before closing the windows: end every modal dialog, so that
    // no dialog goes on running over a window whose program state is gone.
    void SetModalCloser(std::function<bool()> closeModals) {
        closeModals_ = std::move(closeModals);
    }
    // SIGTERM and SIGINT (a desktop logout, Ctrl+C in a terminal) end the program in order:
    // running dialogs are ended with 2, then every top-level window is destroyed, so its
    // handler sees kDestroy and saves what it must; a program with no window just quits. The
    // signal handler only writes a byte to a pipe; the work is done in the loop.
    void QuitOnSignals();

    bool QuitPosted() const { return quitPosted_; }

  private:
    class TopLevelWidget;
    class ScrollBar;
    friend class TopLevelWidget;
    friend class ScrollBar;

    void Forget(WindowId id);
    void OnSignal();

    std::map<std::string, WindowClass> classes_;
    std::map<WindowId, QPointer<QWidget>> widgets_;
    WindowId next_ = 1;
    std::unique_ptr<QObject> guard_;  // context of connections that must end with this object
    bool quitPosted_ = false;
    int quitCode_ = 0;
    std::function<bool()> closeModals_;
};

}  // namespace vaelo::platform::qt
