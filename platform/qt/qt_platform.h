// The Qt 6 backend: the services of a real run, on Qt Widgets. QtPlatform owns one of each
// role it provides and installs them for its lifetime, as the headless backend does for tests.
//
//  [X] Heap: the system heap (malloc).
//  [X] Message boxes: QMessageBox with owner, caption (kDefaultCaption when none), icon and
//      buttons from the style bits; answers with the button codes. Without a QApplication the
//      message goes to the standard error stream and the box answers as if closed.
//  [X] Settings store: FileSettingsStore at FileSettingsStore::DefaultPath() (XDG).
//  [X] Resources: a container the caller supplies (the built-in book, or a file).
//  [X] System: version 4.20, program path, scroll bar width from the style, edge 2 × 2.
//  [X] Drawing surface: QtSurface (qt_surface.h), an off-screen image per window.
//  [X] Windows, menus, dialogs, shell and single instance: QtDesktop (qt_desktop.h), which
//      needs a running QApplication and so is installed apart, by the program's entry.
//  [ ] Clipboard: added with the copy commands.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/settings_file.h"

class QMessageBox;
class QWidget;

namespace vaelo::platform::qt {

class QtMessageBoxes final : public MessageBoxes {
  public:
    int Show(WindowId owner, const std::string& text, const std::optional<std::string>& caption,
             unsigned style) override;

    // The window a WindowId stands for; nullptr (the default) shows the box without an owner.
    std::function<QWidget*(WindowId)> findOwner;
    // Runs the prepared box and returns the QMessageBox::StandardButton pressed
    // (QMessageBox::exec by default); a test puts its own answer here.
    std::function<int(QMessageBox&)> run;
};

class QtSystem final : public System {
  public:
    // Below 4.21 on purpose: the shell then builds the menu bar that suits a desktop window.
    SystemVersion Version() const override { return {4, 20}; }
    // The application's file path when a QCoreApplication runs, else /proc/self/exe.
    std::u16string ProgramPath() const override;
    // The style's scroll bar extent; 16 without a QApplication.
    int ScrollBarWidth() const override;
    Size EdgeSize() const override { return {2, 2}; }
};

// Owns the services above and installs them while it lives; the services it replaced come
// back when it goes.
class QtPlatform {
  public:
    explicit QtPlatform(ResourceContainer resources);
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    SystemHeap heap;
    QtMessageBoxes messageBoxes;
    FileSettingsStore settings{FileSettingsStore::DefaultPath()};
    ContainerResources resources;
    QtSystem system;

  private:
    Services previous_;
};

}  // namespace vaelo::platform::qt
