// Headless windows, menu bar, dialogs, shell and single-instance lock. Everything happens in
// memory and is recorded as lines of text (Log); tests send messages to the handlers
// directly, or through Send, and answer dialogs from scripts.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/headless/headless_surface.h"
#include "platform/menus.h"
#include "platform/window.h"

namespace vaelo::platform::headless {

// Shared by the headless roles: one log, in the order things happened.
struct EventLog {
    std::vector<std::string> lines;
    void Add(std::string line) { lines.push_back(std::move(line)); }
};

class HeadlessWindows final : public Windows {
public:
    explicit HeadlessWindows(EventLog& log) : log_(log) {}

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
    bool IsForeground(WindowId window) override { return window == foreground_; }
    void PostQuit(int exitCode) override;
    int RunMessageLoop() override;

    // Test helpers.
    // Client size a new top-level window gets (the screen's, in full-screen mode).
    Size defaultClientSize{240, 320};
    Size screenSize{240, 320};
    // Sets a window's client size and sends kSize, as a resize by the user would.
    void Resize(WindowId window, int width, int height);
    // Queues a message for RunMessageLoop.
    void Post(WindowId window, unsigned message, std::uintptr_t value, std::intptr_t extra);
    void SetForeground(WindowId window) { foreground_ = window; }
    WindowId Find(const std::string& className, const std::string& title) const;
    bool Exists(WindowId window) const { return windows_.count(window) != 0; }
    HeadlessSurface* SurfaceOf(WindowId window);
    struct ScrollState {
        int minimum = 0, maximum = 0, position = 0;
    };
    ScrollState Scroll(WindowId bar) const;
    bool QuitPosted() const { return quit_; }
    int QuitCode() const { return quitCode_; }

private:
    struct Record {
        std::string className, title;
        WindowProc proc = nullptr;
        WindowId parent = kNoWindow;
        Rect rect;  // screen rectangle; the client area has the same size
        bool visible = false;
        bool shown = false;
        bool scrollBar = false;
        ScrollState scroll;
        std::unique_ptr<HeadlessSurface> surface;
    };
    struct Posted {
        WindowId window;
        unsigned message;
        std::uintptr_t value;
        std::intptr_t extra;
    };
    std::string Name(WindowId w) const { return "#" + std::to_string(w); }

    EventLog& log_;
    std::map<std::string, WindowClass> classes_;
    std::map<WindowId, Record> windows_;
    std::deque<Posted> queue_;
    WindowId next_ = 1;
    WindowId foreground_ = kNoWindow;
    bool quit_ = false;
    int quitCode_ = 0;
};

class HeadlessMenus final : public Menus {
public:
    explicit HeadlessMenus(EventLog& log) : log_(log) {}
    std::optional<int> CreateMenuBar(WindowId window, const MenuBarSpec& spec) override;
    void DestroyMenuBar(WindowId window) override;
    bool SetCheck(WindowId window, unsigned command, bool on) override;
    std::optional<bool> GetCheck(WindowId window, unsigned command) override;
    void CheckRadio(WindowId window, unsigned first, unsigned last, unsigned command) override;

    // The menu bar as built: form, labels, buttons, tooltips.
    struct Bar {
        MenuBarSpec spec;
        std::vector<std::string> popupTitles;
        std::map<unsigned, bool> checks;  // every item of the menu, by command
        int height = 0;
    };
    const Bar* BarOf(WindowId window) const;
    bool failCreation = false;

private:
    EventLog& log_;
    std::map<WindowId, Bar> bars_;
};

class HeadlessDialogs final : public Dialogs {
public:
    explicit HeadlessDialogs(EventLog& log) : log_(log) {}
    int RunModal(std::uint16_t templateId, WindowId owner, WindowProc handler,
                 std::intptr_t parameter) override;
    void End(WindowId dialog, int code) override;
    WindowId Item(WindowId dialog, int controlId) override;
    std::u16string ItemText(WindowId control, int maxUnits) override;
    void SetItemText(WindowId control, const std::u16string& text) override;
    Rect ItemRect(WindowId control) override;
    void ResizeItem(WindowId control, int width, int height) override;
    Surface* ItemSurface(WindowId control) override;
    std::optional<FontDescription> ItemFont(WindowId control) override;
    void SetItemFont(WindowId control, ObjectHandle font) override;

    // What a test does while a dialog runs; without a script the dialog is closed (code 2).
    using Script = std::function<void(WindowId dialog)>;
    void AddScript(Script script) { scripts_.push_back(std::move(script)); }
    // Sends a command or a draw request to the running dialog's handler.
    std::intptr_t Command(WindowId dialog, int command);
    std::intptr_t DrawItemOf(WindowId dialog, int controlId);
    // Dialog units to pixels: 2 pixels a unit both ways.
    static constexpr int kUnit = 2;

private:
    struct Control {
        int id = -1;
        WindowId window = kNoWindow;
        Rect rect;
        std::u16string text;
        ObjectHandle font = kNoObject;
        std::unique_ptr<HeadlessSurface> surface;
    };
    struct Running {
        WindowProc handler = nullptr;
        std::vector<Control> controls;
        bool ended = false;
        int code = 0;
    };
    Control* FindControl(WindowId control);

    EventLog& log_;
    std::deque<Script> scripts_;
    std::map<WindowId, Running> running_;
    WindowId next_ = 100000;
};

class HeadlessShell final : public Shell {
public:
    explicit HeadlessShell(EventLog& log) : log_(log) {}
    bool OpenAddress(WindowId owner, const std::u16string& address) override;

private:
    EventLog& log_;
};

// Instances that share one process stand for instances of one user: the first to claim a
// name holds it until it is destroyed.
class HeadlessInstance final : public SingleInstance {
public:
    ~HeadlessInstance() override { Release(); }
    bool Claim(const std::string& name, void (*onSecondStart)()) override;
    // The instance has ended: its name is free again.
    void Release();

private:
    std::string claimed_;
};

}  // namespace vaelo::platform::headless
