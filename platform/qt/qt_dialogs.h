// Modal dialogs built from the templates of the resources, on Qt Widgets. Sizes and places in
// dialog units become pixels through the base units of the template's font (horizontal: the
// average letter width over four, vertical: the line height over eight), so a template keeps
// its proportions at any font size.
//
//  [X] Caption, position centred on the owner (or the screen), template size.
//  [X] Static text ('&' marks an access letter unless `noprefix`), pictures from bitmaps at
//      their own size, push buttons, buttons the handler draws (kDrawItem on a QtSurface of the
//      button's size), single-line edits.
//  [X] kInitDialog (extra: the parameter) before the dialog shows; kCommand with the control
//      id on a click; Enter is command 1 (or the focused button), Esc and the close box are
//      command 2; End ends the loop and RunModal returns the code; -1 without a template.
//  [X] An OK button in the caption (style `okbutton`) is an OK button under the controls.
//  [X] Item, ItemText, SetItemText, ItemRect, ResizeItem (in place), ItemSurface (kept for the
//      dialog's life), ItemFont, SetItemFont (a font made on the ItemSurface).
//  [X] A quit request (SIGTERM) ends running dialogs with 2 (EndAll).
//  [ ] Underlined fonts: Surface::CreateFont has no underline, so SetItemFont cannot give one.
//  [ ] Edit change notifications, list boxes, check boxes: no template uses them yet.
#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "platform/dialogs.h"
#include "platform/ui_resources.h"

namespace vaelo::platform::qt {

class QtWindows;
class QtSurface;

class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QtWindows& windows);
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

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

    // Ends every running dialog with `code`; true while any of them has yet to return.
    bool EndAll(int code);
    // The widget of a running dialog (for tests and screenshots).
    QDialog* DialogOf(WindowId dialog) const;

    class DialogWidget;
    class OwnerDrawnButton;
    struct Control;
    struct Running;

  private:
    friend class DialogWidget;
    friend class OwnerDrawnButton;

    Control* FindControl(WindowId control) const;
    std::intptr_t Call(WindowId dialog, unsigned message, std::uintptr_t value,
                       std::intptr_t extra);
    void Build(Running& run, const DialogTemplate& tmpl, QWidget* owner);
    void Paint(Control& control, QWidget& button);

    QtWindows& windows_;
    std::map<WindowId, std::unique_ptr<Running>> running_;
};

}  // namespace vaelo::platform::qt
