// The Qt backend's windows, menu bar, dialogs and single-instance lock, driven offscreen
// through real Qt events. Screenshots for a person to look at go to the build folder.
#include "platform/qt/qt_windows.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QInputDevice>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "app/settings.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "dialogs/about_dialog.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_instance.h"
#include "platform/qt/qt_menus.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_surface.h"
#include "platform/ui_resources.h"
#include "tests/app/reader_fixture.h"
#include "tests/platform/qt_test_app.h"

namespace vaelo::platform::qt {
namespace {

struct Message {
    WindowId window;
    unsigned message;
    std::uintptr_t value;
    std::intptr_t extra;
};

// Handlers are plain functions: they record here and may act through `hook`.
struct Recorder {
    std::vector<Message> messages;
    std::function<std::intptr_t(const Message&)> hook;
    std::vector<unsigned> Of(unsigned message) const {
        std::vector<unsigned> values;
        for (const auto& m : messages)
            if (m.message == message) values.push_back(static_cast<unsigned>(m.value));
        return values;
    }
    const Message* Last(unsigned message) const {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it)
            if (it->message == message) return &*it;
        return nullptr;
    }
};
Recorder& Record() {
    static Recorder recorder;
    return recorder;
}

std::intptr_t WindowHandler(WindowId window, unsigned message, std::uintptr_t value,
                            std::intptr_t extra) {
    const Message m{window, message, value, extra};
    Record().messages.push_back(m);
    if (Record().hook) {
        if (const std::intptr_t r = Record().hook(m)) return r;
    }
    return Current().windows->DefaultHandling(window, message, value, extra);
}

std::string ReadSource(const std::string& name) {
    std::ifstream in(std::string(VAELO_SOURCE_DIR) + "/resources/ui/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> BitmapSource(const std::string& name) {
    std::string error;
    auto bitmap = ParseBitmapSource(ReadSource(name), &error);
    EXPECT_TRUE(bitmap) << name << ": " << error;
    return bitmap ? EncodeBitmap(*bitmap) : std::vector<std::uint8_t>{};
}

// A small dialog: a static text, a button the handler draws and a plain button.
constexpr std::uint16_t kTestDialog = 900;
constexpr char kTestDialogText[] =
    "DIALOG 120 60 \"Test\"\n"
    "STYLE popup caption sysmenu okbutton centered\n"
    "FONT 8 \"System\"\n"
    "CONTROL static -1 4 4 60 8 \"&Name\" left\n"
    "CONTROL ownerbutton 1025 4 20 80 10 \"link\" tabstop\n"
    "CONTROL button 7 4 40 40 12 \"Go\" tabstop\n";

ResourceContainer UiResources() {
    using T = ResourceType;
    auto key = [](T type, std::uint16_t id) {
        return std::make_pair(static_cast<std::uint16_t>(type), id);
    };
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>> r;
    r[key(T::Menu, 102)] = Bytes(ReadSource("menu102.txt"));
    r[key(T::Dialog, 103)] = Bytes(ReadSource("dialog103.txt"));
    r[key(T::Dialog, kTestDialog)] = Bytes(kTestDialogText);
    r[key(T::String, 302)] = Bytes("Go");
    r[key(T::String, 304)] = Bytes("Gelmo");
    r[key(T::Bitmap, 113)] = BitmapSource("bitmap113.txt");
    r[key(T::Bitmap, 114)] = BitmapSource("bitmap114.txt");
    r[key(T::Icon, 101)] = BitmapSource("icon101.txt");
    std::string error;
    auto container = ResourceContainer::Own(WriteResourceContainer(r), &error);
    EXPECT_TRUE(container) << error;
    return std::move(*container);
}

// Runs the loop until `done` holds or two seconds pass.
bool PumpUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

std::string OutputPath(const std::string& file) {
    return std::string(VAELO_TEST_OUTPUT_DIR) + "/" + file;
}

MenuBarSpec ReaderBar(bool shellForm) {
    MenuBarSpec spec;
    spec.shellForm = shellForm;
    spec.menuId = 102;
    if (shellForm) spec.dropDowns = {{40001, 302}, {40003, 304}};
    spec.bitmapId = 114;
    spec.imageCount = 6;
    spec.buttons = {{0, 110}, {1, 119}, {2, 109}, {3, 40006}, {4, 116}, {5, 117}};
    spec.tooltips = {"",       "Previous Article", "Choose Article", "Next Article", "Choose Font",
                     "Search", "Search Again"};
    return spec;
}

// Simulated input makes Qt create its keyboard and pointer devices as children of the
// application, which ends at exit. The list those devices leave when they go must outlive the
// application, so it is made first.
class InputDevicesFirst : public ::testing::Environment {
  public:
    void SetUp() override {
        QInputDevice::devices();
        testing::QtTestApp();
    }
};
const auto* const kInputDevicesFirst = ::testing::AddGlobalTestEnvironment(new InputDevicesFirst);

class QtWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::QtTestApp();
        Record() = {};
        Services s = Current();
        s.resources = &resources;
        s.system = &system;
        s.windows = &windows;
        s.menus = &menus;
        s.dialogs = &dialogs;
        previous_ = Install(s);
        ASSERT_TRUE(windows.RegisterClass({"Test", WindowHandler, 101, kWhite, true}));
    }
    void TearDown() override {
        Record().hook = nullptr;
        Install(previous_);
        // Windows and bars the test destroyed go now, not with the application at exit.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A shown window whose first messages have arrived.
    WindowId ShownWindow() {
        const WindowId w = windows.CreateTopLevel("Test", "Vaelo");
        EXPECT_NE(w, kNoWindow);
        windows.Show(w);
        EXPECT_TRUE(PumpUntil([&] { return !Record().Of(msg::kSize).empty(); }));
        return w;
    }

    ContainerResources resources{UiResources()};
    QtSystem system;
    QtWindows windows;
    QtMenus menus{windows};
    QtDialogs dialogs{windows};

  private:
    Services previous_;
};

TEST_F(QtWindowsTest, WindowMessagesAndKeptSurface) {
    Record().hook = [&](const Message& m) -> std::intptr_t {
        // The handler draws on the kept surface outside any paint, as the reader does on a key.
        if (m.message == msg::kKeyDown && m.value == key::kPageDown) {
            Surface* s = windows.GetSurface(m.window);
            GdiObject red(*s, s->CreateSolidBrush(kRed));
            s->FillRect({10, 20, 40, 50}, red.Get());
        }
        return 0;
    };
    const WindowId w = ShownWindow();
    QWidget* widget = windows.Widget(w);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->windowTitle(), "Vaelo");
    EXPECT_FALSE(widget->windowIcon().isNull());

    // Created first, then sized on show with the client size, then painted.
    ASSERT_GE(Record().messages.size(), 2u);
    EXPECT_EQ(Record().messages[0].message, msg::kCreate);
    EXPECT_EQ(Record().messages[1].message, msg::kSize);
    const Rect client = windows.ClientRect(w);
    EXPECT_EQ(Record().messages[1].value, PackSize(client.Width(), client.Height()));
    EXPECT_EQ(client.Width(), widget->width());
    EXPECT_EQ(windows.GetSurface(w)->Width(), client.Width());

    QTest::keyClick(widget, Qt::Key_PageDown);
    QTest::keyClick(widget, Qt::Key_Right);
    QTest::keyClick(widget, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(Record().Of(msg::kKeyDown),
              (std::vector<unsigned>{key::kPageDown, key::kRight, 'Q'}));
    const QImage shown = widget->grab().toImage();
    EXPECT_EQ(shown.pixelColor(20, 30), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::white));

    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(25, 40));
    ASSERT_NE(Record().Last(msg::kPenDown), nullptr);
    EXPECT_EQ(Record().Last(msg::kPenDown)->extra, PackPoint(25, 40));

    QTest::keyClick(widget, Qt::Key_F1);
    EXPECT_EQ(Record().Of(msg::kHelp).size(), 1u);

    // A resize: new size reported, the surface follows.
    widget->resize(300, 200);
    ASSERT_TRUE(PumpUntil([&] { return Record().Of(msg::kSize).back() == PackSize(300, 200); }));
    EXPECT_EQ(windows.GetSurface(w)->Width(), 300);

    // Closing asks the handler; its default handling destroys the window, which hears kDestroy.
    widget->close();
    EXPECT_EQ(Record().Of(msg::kClose).size(), 1u);
    EXPECT_EQ(Record().messages.back().message, msg::kDestroy);
    EXPECT_EQ(windows.Widget(w), nullptr);
    EXPECT_EQ(windows.GetSurface(w), nullptr);
    EXPECT_EQ(windows.Send(w, msg::kCommand, 1, 0), 0);  // a stale id does nothing
}

TEST_F(QtWindowsTest, ScrollBarsReportUserActionsOnly) {
    Record().hook = [&](const Message& m) -> std::intptr_t {
        // The reader answers a scroll by setting the bar itself.
        if (m.message == msg::kVScroll)
            windows.SetScrollPosition(static_cast<WindowId>(m.extra), 20, true);
        return 0;
    };
    const WindowId w = ShownWindow();
    const WindowId bar = windows.CreateScrollBar(w, 100, 0);
    ASSERT_NE(bar, kNoWindow);
    auto* sb = qobject_cast<QScrollBar*>(windows.Widget(bar));
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(sb->parentWidget(), windows.Widget(w));
    EXPECT_EQ(sb->width(), system.ScrollBarWidth());
    windows.Move(bar, {100, 0, 100 + sb->width(), 200}, true);

    windows.SetScrollRange(bar, 0, 50, true);
    windows.SetScrollPosition(bar, 10, true);
    windows.SetScrollPosition(bar, 99, true);  // kept inside the range
    EXPECT_TRUE(Record().Of(msg::kVScroll).empty());
    EXPECT_EQ(sb->maximum(), 50);
    EXPECT_EQ(sb->value(), 50);
    windows.SetScrollPosition(bar, 10, true);

    // A click on the lower arrow: line down with the moved thumb, then the end of the scroll.
    QTest::mouseClick(sb, Qt::LeftButton, Qt::NoModifier,
                      QPoint(sb->width() / 2, sb->height() - 3));
    const std::vector<unsigned> seen = Record().Of(msg::kVScroll);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], scroll::kLineDown | (11u << 16));
    EXPECT_EQ(seen[1] & 0xFFFF, scroll::kEndScroll);
    EXPECT_EQ(Record().Last(msg::kVScroll)->extra, static_cast<std::intptr_t>(bar));
    EXPECT_EQ(Record().Last(msg::kVScroll)->window, w);
    EXPECT_EQ(sb->value(), 20);  // where the program put it

    struct Case {
        QAbstractSlider::SliderAction action;
        unsigned code;
    };
    for (const Case c : {Case{QAbstractSlider::SliderPageStepSub, scroll::kPageUp},
                         Case{QAbstractSlider::SliderPageStepAdd, scroll::kPageDown},
                         Case{QAbstractSlider::SliderSingleStepSub, scroll::kLineUp},
                         Case{QAbstractSlider::SliderToMinimum, scroll::kTop},
                         Case{QAbstractSlider::SliderToMaximum, scroll::kBottom}}) {
        Record().messages.clear();
        sb->triggerAction(c.action);
        ASSERT_EQ(Record().Of(msg::kVScroll).size(), 1u) << c.code;
        EXPECT_EQ(Record().Of(msg::kVScroll)[0] & 0xFFFF, c.code);
        EXPECT_EQ(sb->value(), 20);
    }
    // Dragging the thumb reports where it is dragged.
    Record().messages.clear();
    sb->setSliderDown(true);
    sb->setSliderPosition(33);
    sb->setSliderDown(false);
    const std::vector<unsigned> drag = Record().Of(msg::kVScroll);
    ASSERT_GE(drag.size(), 2u);
    EXPECT_EQ(drag[0], scroll::kThumbTrack | (33u << 16));
    EXPECT_EQ(drag[1], scroll::kThumbPosition | (33u << 16));
}

TEST_F(QtWindowsTest, MenuBarFormsCommandsAndChecks) {
    for (const bool shellForm : {false, true}) {
        SCOPED_TRACE(shellForm ? "shell form" : "command bar");
        Record().messages.clear();
        const WindowId w = ShownWindow();
        const std::optional<int> height = menus.CreateMenuBar(w, ReaderBar(shellForm));
        ASSERT_TRUE(height);
        EXPECT_GT(*height, 16);
        QToolBar* bar = menus.BarOf(w);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->parentWidget(), windows.Widget(w));  // inside the client area
        EXPECT_EQ(bar->width(), windows.ClientRect(w).Width());
        EXPECT_EQ(shellForm ? bar->geometry().bottom() + 1 : bar->y(),
                  shellForm ? windows.ClientRect(w).bottom : 0);

        // Menu items and tool buttons reach the handler once the loop runs.
        menus.ItemOf(w, 119)->trigger();
        QToolButton* next = nullptr;
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            if (b->defaultAction() && b->defaultAction()->toolTip() == "Next Article") next = b;
        ASSERT_NE(next, nullptr);
        EXPECT_FALSE(next->icon().isNull());
        next->click();
        ASSERT_TRUE(PumpUntil([] { return Record().Of(msg::kCommand).size() == 2; }));
        EXPECT_EQ(Record().Of(msg::kCommand), (std::vector<unsigned>{119, 109}));

        // Checks: the program's state, which a click does not flip.
        EXPECT_TRUE(menus.SetCheck(w, 122, true));
        menus.ItemOf(w, 122)->trigger();
        ASSERT_TRUE(PumpUntil([] { return Record().Of(msg::kCommand).size() == 3; }));
        EXPECT_EQ(Record().Of(msg::kCommand).back(), 122u);
        EXPECT_EQ(menus.GetCheck(w, 122), true);
        EXPECT_TRUE(menus.ItemOf(w, 122)->isChecked());
        EXPECT_TRUE(menus.SetCheck(w, 122, false));
        EXPECT_EQ(menus.GetCheck(w, 122), false);
        EXPECT_FALSE(menus.SetCheck(w, 999, true));
        EXPECT_EQ(menus.GetCheck(w, 999), std::nullopt);
        menus.CheckRadio(w, 401, 434, 412);
        menus.CheckRadio(w, 401, 434, 413);
        EXPECT_EQ(menus.GetCheck(w, 413), true);
        EXPECT_EQ(menus.GetCheck(w, 412), false);
        EXPECT_TRUE(menus.ItemOf(w, 413)->actionGroup() != nullptr);  // shown as a radio mark

        // The shortcut text is a label: Ctrl+Q reaches the handler as a plain key, not Exit.
        QAction* exit = menus.ItemOf(w, 40005);
        EXPECT_TRUE(exit->text().endsWith("\tCtrl+Q"));
        EXPECT_TRUE(exit->shortcut().isEmpty());
        Record().messages.clear();
        QTest::keyClick(windows.Widget(w), Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(windows.Widget(w), Qt::Key_F3);
        QTest::qWait(50);
        EXPECT_TRUE(Record().Of(msg::kCommand).empty());
        EXPECT_EQ(Record().Of(msg::kKeyDown), (std::vector<unsigned>{'Q', 114}));

        if (!shellForm) {
            menus.CheckRadio(w, 401, 434, 412);
            menus.SetCheck(w, 122, true);
            QMenu* go = qobject_cast<QMenu*>(menus.ItemOf(w, 40005)->parent());
            QMenu* gelmo = qobject_cast<QMenu*>(menus.ItemOf(w, 412)->parent());
            ASSERT_TRUE(go && gelmo);
            go->grab().save(QString::fromStdString(OutputPath("qt_menu_go.png")));
            gelmo->grab().save(QString::fromStdString(OutputPath("qt_menu_gelmo.png")));
        }
        windows.Widget(w)->resize(320, 240);
        PumpUntil([&] { return windows.ClientRect(w).Width() == 320; });
        windows.Widget(w)->grab().save(QString::fromStdString(
            OutputPath(shellForm ? "qt_window_shell_bar.png" : "qt_window_command_bar.png")));
        EXPECT_EQ(bar->width(), 320);  // the bar follows the window

        menus.DestroyMenuBar(w);
        EXPECT_FALSE(menus.SetCheck(w, 122, true));
        windows.Destroy(w);
    }
    // No menu: no bar.
    EXPECT_EQ(menus.CreateMenuBar(ShownWindow(),
                                  [] {
                                      MenuBarSpec s = ReaderBar(false);
                                      s.menuId = 55;
                                      return s;
                                  }()),
              std::nullopt);
}

TEST_F(QtWindowsTest, CloseBoxOfTheFullScreenCommandBar) {
    const WindowId w = ShownWindow();
    MenuBarSpec spec = ReaderBar(false);
    spec.closeBox = true;
    ASSERT_TRUE(menus.CreateMenuBar(w, spec));
    QToolButton* close = nullptr;
    for (QToolButton* b : menus.BarOf(w)->findChildren<QToolButton*>())
        if (b->defaultAction() && b->defaultAction()->toolTip() == "Close") close = b;
    ASSERT_NE(close, nullptr);
    close->click();
    ASSERT_TRUE(PumpUntil([] { return !Record().Of(msg::kDestroy).empty(); }));
    EXPECT_EQ(Record().Of(msg::kClose).size(), 1u);
}

// The dialog handler of the small template.
struct DialogRun {
    std::intptr_t parameter = 0;
    int drawn = 0;
    Size drawnSize;
    std::vector<int> commands;
};
DialogRun& Dialog() {
    static DialogRun run;
    return run;
}
std::intptr_t TestDialogProc(WindowId dialog, unsigned message, std::uintptr_t value,
                             std::intptr_t extra) {
    auto* d = Current().dialogs;
    switch (message) {
        case msg::kInitDialog:
            Dialog().parameter = extra;
            return 1;
        case msg::kDrawItem: {
            const auto& item = *reinterpret_cast<const DrawItem*>(extra);
            ++Dialog().drawn;
            Dialog().drawnSize = {item.rect.Width(), item.rect.Height()};
            GdiObject blue(*item.surface, item.surface->CreateSolidBrush(kBlue));
            item.surface->FillRect({0, 0, 8, 8}, blue.Get());
            return 1;
        }
        case msg::kCommand: {
            const int id = static_cast<int>(value & 0xFFFF);
            Dialog().commands.push_back(id);
            if (id == 7) d->End(dialog, 42);
            if (id == 2) d->End(dialog, 2);
            return 1;
        }
    }
    return 0;
}

TEST_F(QtWindowsTest, ModalDialogFromATemplate) {
    Dialog() = {};
    const WindowId owner = ShownWindow();
    QDialog* shown = nullptr;
    QImage buttonImage;
    Rect linkRect, resized;
    std::u16string labelText;
    QTimer::singleShot(0, [&] {
        QDialog* d = QApplication::activeModalWidget()
                         ? qobject_cast<QDialog*>(QApplication::activeModalWidget())
                         : nullptr;
        shown = d;
        if (!d) return;
        const WindowId dialog = [&] {
            for (WindowId id = 1; id < 1000; ++id)
                if (windows.Widget(id) == d) return id;
            return kNoWindow;
        }();
        const WindowId link = dialogs.Item(dialog, 1025);
        linkRect = dialogs.ItemRect(link);
        dialogs.ResizeItem(link, 50, 20);
        resized = dialogs.ItemRect(link);
        buttonImage = windows.Widget(link)->grab().toImage();
        labelText = dialogs.ItemText(dialogs.Item(dialog, -1), 99);
        qobject_cast<QPushButton*>(windows.Widget(dialogs.Item(dialog, 7)))->click();
    });
    EXPECT_EQ(dialogs.RunModal(kTestDialog, owner, TestDialogProc, 1234), 42);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Dialog().parameter, 1234);
    EXPECT_EQ(Dialog().commands, std::vector<int>{7});
    EXPECT_GT(Dialog().drawn, 0);
    EXPECT_EQ(Dialog().drawnSize, (Size{50, 20}));
    EXPECT_EQ(buttonImage.pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_GT(linkRect.left, 0);
    EXPECT_EQ(resized.left, linkRect.left);  // resized in place
    EXPECT_EQ(resized.top, linkRect.top);
    EXPECT_EQ(labelText, u"&Name");  // the text as set; the label shows the access letter

    // Esc asks the handler for Cancel.
    Dialog() = {};
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(dialogs.RunModal(kTestDialog, owner, TestDialogProc, 0), 2);
    EXPECT_EQ(Dialog().commands, std::vector<int>{2});

    EXPECT_EQ(dialogs.RunModal(77, owner, TestDialogProc, 0), -1);
}

TEST_F(QtWindowsTest, AboutBoxScreenshot) {
    const WindowId owner = ShownWindow();
    Rect link;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) return;
        for (WindowId id = 1; id < 1000; ++id)
            if (windows.Widget(id) == d) link = dialogs.ItemRect(dialogs.Item(id, 1025));
        d->grab().save(QString::fromStdString(OutputPath("qt_about_box.png")));
        QTest::keyClick(d, Qt::Key_Return);  // the OK button
    });
    EXPECT_EQ(dialogs.RunModal(103, owner, AboutDialogProc, 0), 1);
    // The link button was sized to its text by the handler: about the text's width, 8 units tall
    // or more.
    EXPECT_GT(link.Width(), 40);
    EXPECT_LT(link.Width(), 400);
}

TEST_F(QtWindowsTest, SignalEndsDialogsThenClosesWindows) {
    windows.QuitOnSignals();
    Record().hook = [&](const Message& m) -> std::intptr_t {
        if (m.message == msg::kDestroy) windows.PostQuit(0);
        return 0;
    };
    const WindowId w = ShownWindow();
    Dialog() = {};
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    // The dialog ends as if cancelled; only then does the window go.
    EXPECT_EQ(dialogs.RunModal(kTestDialog, w, TestDialogProc, 0), 2);
    EXPECT_TRUE(Record().Of(msg::kDestroy).empty());
    ASSERT_TRUE(PumpUntil([] { return !Record().Of(msg::kDestroy).empty(); }));
    EXPECT_EQ(windows.Widget(w), nullptr);
    EXPECT_TRUE(windows.QuitPosted());
    EXPECT_EQ(windows.RunMessageLoop(), 0);  // the quit request was already there
}

// The reader itself on the Qt windows, menu bar and dialogs, over a generated book: it starts,
// shows both panes with their scroll bars and the bar, pages on a key, and saves its place
// when its window is closed.
TEST(ReaderOnQt, StartsPagesAndEndsInOrder) {
    testing::QtTestApp();
    headless::HeadlessPlatform headless;  // heap, settings in memory, message boxes, lock
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>> book;
    for (int n = 1; n <= 260; ++n)
        book[{10, static_cast<std::uint16_t>(1000 + n)}] =
            vaelo::testing::ArticleResource(vaelo::testing::DemoArticle(n, n % 2 ? 40 : 25));
    ResourceContainer ui = UiResources();
    for (const auto& e : ui.Entries()) book[{e.type, e.id}] = {e.bytes.begin(), e.bytes.end()};
    ContainerResources resources(*ResourceContainer::Own(WriteResourceContainer(book), nullptr));
    QtSystem system;
    QtWindows windows;
    QtMenus menus{windows};
    QtDialogs dialogs{windows};
    Services s = Current();
    s.resources = &resources;
    s.system = &system;
    s.windows = &windows;
    s.menus = &menus;
    s.dialogs = &dialogs;
    const Services previous = Install(s);

    int topBefore = -1, topAfter = -1;
    QTimer::singleShot(0, [&] {
        QWidget* widget = windows.Widget(vaelo::Shell().mainWindow);
        if (!widget || !vaelo::Shell().mainView) return windows.PostQuit(3);
        topBefore = vaelo::Shell().mainView->topRow;
        QTest::keyClick(widget, Qt::Key_PageDown);
        topAfter = vaelo::Shell().mainView->topRow;
        widget->grab().save(QString::fromStdString(OutputPath("qt_reader.png")));
        widget->close();
    });
    EXPECT_EQ(RunReader({}), 0);
    EXPECT_EQ(topBefore, 0);
    EXPECT_GT(topAfter, 0);
    EXPECT_EQ(headless.settings.Read(kProgramKey, "LastPosition"),
              SettingValue::Number(static_cast<std::uint32_t>(topAfter)));
    Install(previous);
    ResetShell();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(QtInstanceTest, SecondStartWakesTheFirst) {
    testing::QtTestApp();
    const std::string name = "vaelo-test-" + std::to_string(getpid());
    static std::atomic<int> woken{0};
    woken = 0;
    QtInstance first;
    ASSERT_TRUE(first.Claim(name, [] { ++woken; }));

    // The later start runs on its own thread, as it would in its own process, so that the
    // first can answer from its loop.
    std::atomic<int> result{-1};
    std::thread later([&] {
        QtInstance second;
        result = second.Claim(name, nullptr) ? 1 : 0;
    });
    PumpUntil([&] { return result != -1 && woken == 1; });
    later.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(woken, 1);
}

TEST(QtInstanceTest, SocketLeftByACrashDoesNotBlock) {
    testing::QtTestApp();
    const std::string name = "vaelo-stale-" + std::to_string(getpid());
    const std::string path = QtInstance::SocketPath(name);
    // A socket file nobody listens on, as a killed reader leaves it.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    unlink(path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(path)));

    QtInstance instance;
    EXPECT_TRUE(instance.Claim(name, nullptr));
}

}  // namespace
}  // namespace vaelo::platform::qt
