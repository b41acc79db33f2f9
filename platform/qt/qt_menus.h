// The menu bar on Qt Widgets, inside the window's client area so that the program's pane
// geometry stays exact: the command-bar form is a tool bar along the top whose first item is
// the menu (its two pop-ups as a menu bar), the shell form a tool bar along the bottom with two
// drop-down buttons over the pop-ups. Both carry the tool buttons.
//
//  [X] Menu from the resources: labels with '&' access letters, shortcut texts shown at the
//      right as labels only (they bind no key), separators.
//  [X] Check marks by command, the program's state being the truth (a click does not flip a
//      mark by itself); the radio mark of CheckRadio for its range.
//  [X] Items and tool buttons send kCommand (the command id) to the window's handler once the
//      menu has closed.
//  [X] Tool button images cut from the bitmap strip (16 × 16, the grey 0xC0C0C0 shows the bar
//      through), tooltips from the list (its first entry is not a button's).
//  [X] Close box at the right end of the command bar when asked for: it sends kClose.
//  [X] Height reported; the bar follows the window's width and edge on every resize.
//  [ ] Enabling and disabling items: the program never greys anything.
#pragma once

#include <QPointer>
#include <QToolBar>
#include <map>
#include <optional>

#include "platform/menus.h"

class QAction;
class QActionGroup;

namespace vaelo::platform::qt {

class QtWindows;

class QtMenus final : public Menus {
  public:
    explicit QtMenus(QtWindows& windows) : windows_(windows) {}
    ~QtMenus() override;
    QtMenus(const QtMenus&) = delete;
    QtMenus& operator=(const QtMenus&) = delete;

    std::optional<int> CreateMenuBar(WindowId window, const MenuBarSpec& spec) override;
    void DestroyMenuBar(WindowId window) override;
    bool SetCheck(WindowId window, unsigned command, bool on) override;
    std::optional<bool> GetCheck(WindowId window, unsigned command) override;
    void CheckRadio(WindowId window, unsigned first, unsigned last, unsigned command) override;

    // The bar widget of a window, and the menu item of a command (for tests and screenshots).
    QToolBar* BarOf(WindowId window) const;
    QAction* ItemOf(WindowId window, unsigned command) const;

  private:
    struct Bar {
        QPointer<QToolBar> widget;
        std::map<unsigned, QPointer<QAction>> items;  // menu items by command
        std::map<unsigned, bool> checks;
        std::map<std::pair<unsigned, unsigned>, QPointer<QActionGroup>> radios;
    };
    static void ShowCheck(QAction* action, bool on);

    QtWindows& windows_;
    std::map<WindowId, Bar> bars_;
};

}  // namespace vaelo::platform::qt
