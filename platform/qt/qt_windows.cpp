#include "platform/qt/qt_windows.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QStyle>
#include <cerrno>
#include <csignal>

#include "platform/platform.h"
#include "platform/qt/qt_surface.h"

namespace vaelo::platform::qt {

QImage ToQImage(const Bitmap& bitmap, std::optional<Color> transparent) {
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() !=
            static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height))
        return {};
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x) {
            const Color c = bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x];
            row[x] = transparent && (c & 0xFFFFFF) == (*transparent & 0xFFFFFF)
                         ? qRgba(0, 0, 0, 0)
                         : qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
        }
    }
    return image;
}

Color ToColor(const QColor& color) {
    return static_cast<Color>(color.red()) | (static_cast<Color>(color.green()) << 8) |
           (static_cast<Color>(color.blue()) << 16);
}

unsigned KeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::kEnter;
        case Qt::Key_PageUp:
            return key::kPageUp;
        case Qt::Key_PageDown:
            return key::kPageDown;
        case Qt::Key_End:
            return key::kEnd;
        case Qt::Key_Home:
            return key::kHome;
        case Qt::Key_Left:
            return key::kLeft;
        case Qt::Key_Up:
            return key::kUp;
        case Qt::Key_Right:
            return key::kRight;
        case Qt::Key_Down:
            return key::kDown;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<unsigned>(qtKey);  // 'A'..'Z'
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<unsigned>(qtKey);  // '0'..'9'
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + static_cast<unsigned>(qtKey - Qt::Key_F1);
    // Punctuation is left out on purpose: its Qt codes are ASCII, and '!' (33) or '#' (35)
    // would read as Page Up or End.
    return 0;
}

// The top-level window: shows its surface, and turns Qt's events into the program's messages.
class QtWindows::TopLevelWidget final : public QWidget {
  public:
    TopLevelWidget(QtWindows& owner, WindowProc proc, Color background, QSize size)
        : owner_(owner),
          proc_(proc),
          background_(background),
          surface_(std::make_unique<QtSurface>(size.width(), size.height())) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        resize(size);
    }

    WindowId id = kNoWindow;
    WindowProc Proc() const { return proc_; }
    QtSurface* Surface() const { return surface_.get(); }
    bool destroying = false;

    void SetBar(QWidget* bar, bool bottom) {
        bar_ = bar;
        barAtBottom_ = bottom;
        PlaceBar();
    }

    // The program draws on its surface whenever it likes; it is asked to paint only when the
    // window class wants the whole client drawn again (shown, resized).
    void PaintNow() {
        if (!programPaint_ || !proc_ || destroying) return;
        programPaint_ = false;
        proc_(id, msg::kPaint, 0, 0);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        PaintNow();
        QPainter painter(this);
        const QImage& image = surface_->Image();
        painter.drawImage(0, 0, image);
        if (image.width() < width())
            painter.fillRect(image.width(), 0, width() - image.width(), height(), Qt::white);
        if (image.height() < height())
            painter.fillRect(0, image.height(), width(), height() - image.height(), Qt::white);
    }

    void resizeEvent(QResizeEvent* event) override {
        const QSize size = event->size();
        // Redrawn whole on every resize: white first, then the program lays out and paints.
        surface_->Resize(size.width(), size.height());
        GdiObject background(*surface_, surface_->CreateSolidBrush(background_));
        surface_->FillRect({0, 0, size.width(), size.height()}, background.Get());
        PlaceBar();
        programPaint_ = true;
        owner_.Dispatch(id, msg::kSize, PackSize(size.width(), size.height()), 0);
        update();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1 || event->key() == Qt::Key_Help) {
            owner_.Dispatch(id, msg::kHelp, 0, 0);
            return;
        }
        if (const unsigned code = KeyCode(event->key()))
            owner_.Dispatch(id, msg::kKeyDown, code, 0);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        setFocus(Qt::MouseFocusReason);
        const QPoint at = event->position().toPoint();
        owner_.Dispatch(id, msg::kPenDown, 1, PackPoint(at.x(), at.y()));
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && !destroying)
            owner_.Dispatch(id, msg::kActivate, isActiveWindow() ? 1 : 0, 0);
        QWidget::changeEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        // The handler decides: its default handling destroys the window in order.
        event->ignore();
        if (!destroying) owner_.Dispatch(id, msg::kClose, 0, 0);
    }

  private:
    void PlaceBar() {
        if (!bar_) return;
        const int h = bar_->sizeHint().height();
        bar_->setGeometry(0, barAtBottom_ ? height() - h : 0, width(), h);
    }

    QtWindows& owner_;
    WindowProc proc_;
    Color background_;
    std::unique_ptr<QtSurface> surface_;
    QPointer<QWidget> bar_;
    bool barAtBottom_ = false;
    bool programPaint_ = true;
};

// A vertical scroll bar that only reports: what the user does reaches the parent's handler,
// and the bar then shows the position the program set, as a program-driven bar does.
class QtWindows::ScrollBar final : public QScrollBar {
  public:
    ScrollBar(QtWindows& owner, WindowId parent, QWidget* parentWidget)
        : QScrollBar(Qt::Vertical, parentWidget), owner_(owner), parent_(parent) {
        setFocusPolicy(Qt::NoFocus);
        setRange(0, 0);
        setPageStep(1);  // no page size: the thumb keeps its smallest length
        QObject::connect(this, &QAbstractSlider::actionTriggered, this,
                         [this](int action) { OnAction(action); });
        QObject::connect(this, &QAbstractSlider::sliderReleased, this,
                         [this] { Report(scroll::kThumbPosition, dragPosition_); });
    }

    WindowId id = kNoWindow;
    int programPosition = 0;

    // Shows the program's position, without telling anyone.
    void ShowProgramPosition() {
        const QSignalBlocker quiet(this);
        setSliderPosition(programPosition);
        setValue(programPosition);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QScrollBar::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton) Report(scroll::kEndScroll, programPosition);
    }

  private:
    void OnAction(int action) {
        unsigned code = 0;
        switch (action) {
            case SliderSingleStepSub:
                code = scroll::kLineUp;
                break;
            case SliderSingleStepAdd:
                code = scroll::kLineDown;
                break;
            case SliderPageStepSub:
                code = scroll::kPageUp;
                break;
            case SliderPageStepAdd:
                code = scroll::kPageDown;
                break;
            case SliderToMinimum:
                code = scroll::kTop;
                break;
            case SliderToMaximum:
                code = scroll::kBottom;
                break;
            case SliderMove:
                code = scroll::kThumbTrack;
                dragPosition_ = sliderPosition();
                break;
            default:
                return;
        }
        Report(code, sliderPosition());
    }

    void Report(unsigned code, int thumb) {
        if (reporting_) return;
        reporting_ = true;
        QPointer<QScrollBar> self(this);
        const std::uintptr_t value = code | (static_cast<std::uintptr_t>(thumb & 0xFFFF) << 16);
        owner_.Dispatch(parent_, msg::kVScroll, value, static_cast<std::intptr_t>(id));
        if (!self) return;
        reporting_ = false;
        ShowProgramPosition();
    }

    QtWindows& owner_;
    WindowId parent_;
    int dragPosition_ = 0;
    bool reporting_ = false;
};

QtWindows::QtWindows() : guard_(std::make_unique<QObject>()) {}

QtWindows::~QtWindows() {
    guard_.reset();  // ends the connections that point back here
    std::vector<QPointer<TopLevelWidget>> windows;
    for (auto& [id, widget] : widgets_)
        if (auto* w = dynamic_cast<TopLevelWidget*>(widget.data())) {
            w->destroying = true;  // no more messages while it goes
            windows.emplace_back(w);
        }
    widgets_.clear();
    for (auto& w : windows) delete w.data();
}

WindowId QtWindows::Register(QWidget* widget) {
    const WindowId id = next_++;
    widgets_[id] = widget;
    QObject::connect(widget, &QObject::destroyed, guard_.get(), [this, id] { widgets_.erase(id); });
    return id;
}

void QtWindows::Forget(WindowId id) { widgets_.erase(id); }

QWidget* QtWindows::Widget(WindowId id) const {
    auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second.data();
}

QWidget* QtWindows::TopLevel(WindowId id) const {
    return dynamic_cast<TopLevelWidget*>(Widget(id));
}

QtSurface* QtWindows::SurfaceOf(WindowId window) const {
    auto* w = dynamic_cast<TopLevelWidget*>(Widget(window));
    return w ? w->Surface() : nullptr;
}

std::vector<WindowId> QtWindows::TopLevels() const {
    std::vector<WindowId> ids;
    for (const auto& [id, widget] : widgets_)
        if (auto* w = dynamic_cast<TopLevelWidget*>(widget.data()); w && !w->destroying)
            ids.push_back(id);
    return ids;
}

bool QtWindows::RegisterClass(const WindowClass& windowClass) {
    if (windowClass.name.empty() || !windowClass.proc) return false;
    classes_[windowClass.name] = windowClass;
    return true;
}

WindowId QtWindows::CreateTopLevel(const std::string& className, const std::string& title) {
    auto cls = classes_.find(className);
    if (cls == classes_.end() || !qApp) return kNoWindow;
    // Only PostQuit ends the loop: closing the last window goes through the handler.
    QApplication::setQuitOnLastWindowClosed(false);
    QSize size(480, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableSize() * 9 / 10;
        size = size.boundedTo(room).expandedTo(QSize(160, 160));
    }
    auto widget =
        std::make_unique<TopLevelWidget>(*this, cls->second.proc, cls->second.background, size);
    widget->setWindowTitle(QString::fromStdString(title));
    widget->setObjectName(QString::fromStdString(className));
    if (cls->second.iconId != 0) {
        auto* resources = Current().resources;
        auto bytes =
            resources ? resources->Find(ResourceType::Icon, cls->second.iconId) : std::nullopt;
        auto bitmap = bytes ? DecodeBitmap(*bytes) : std::nullopt;
        if (bitmap) widget->setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(*bitmap))));
    }
    QPalette palette = widget->palette();
    const Color bg = cls->second.background;
    palette.setColor(QPalette::Window, QColor(ColorRed(bg), ColorGreen(bg), ColorBlue(bg)));
    widget->setPalette(palette);

    TopLevelWidget* w = widget.release();  // owned by Qt from here; Destroy deletes it
    const WindowId id = Register(w);
    w->id = id;
    if (w->Proc()(id, msg::kCreate, 0, 0) == -1) {
        Forget(id);
        delete w;
        return kNoWindow;
    }
    PresentAll();
    return id;
}

WindowId QtWindows::CreateScrollBar(WindowId parent, int x, int y) {
    QWidget* parentWidget = TopLevel(parent);
    if (!parentWidget) return kNoWindow;
    auto* bar = new ScrollBar(*this, parent, parentWidget);  // owned by its parent widget
    const int width = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    bar->setGeometry(x, y, width, width);
    bar->id = Register(bar);
    bar->show();
    return bar->id;
}

void QtWindows::Destroy(WindowId window) {
    QWidget* widget = Widget(window);
    if (!widget) return;
    if (auto* top = dynamic_cast<TopLevelWidget*>(widget)) {
        if (top->destroying) return;
        top->destroying = true;
        top->Proc()(window, msg::kDestroy, 0, 0);
        // Its children go with it: their ids are stale from now on.
        for (auto it = widgets_.begin(); it != widgets_.end();)
            it = it->second && it->second->parentWidget() == top ? widgets_.erase(it)
                                                                 : std::next(it);
        Forget(window);
        top->hide();
        top->deleteLater();  // this may run inside one of its own event handlers
        PresentAll();
        return;
    }
    if (dynamic_cast<ScrollBar*>(widget)) {
        Forget(window);
        widget->hide();
        widget->deleteLater();
    }
}

void QtWindows::Show(WindowId window) {
    QWidget* widget = Widget(window);
    if (!widget) return;
    const bool first = !widget->isVisible();
    widget->show();  // a first show delivers the pending resize: kSize, then a paint
    if (first && widget->isWindow()) {
        widget->raise();
        widget->activateWindow();
        // Painted at once, as a window that is shown and updated is: the program learns what
        // fits on the screen (the rows a page holds) from its first paint.
        if (auto* top = dynamic_cast<TopLevelWidget*>(widget)) top->PaintNow();
    }
    PresentAll();
}

void QtWindows::Move(WindowId window, const Rect& rect, bool repaint) {
    QWidget* widget = Widget(window);
    if (!widget) return;
    if (widget->isWindow()) {
        // The rectangle is the outer frame on the screen, as ScreenRect reports it.
        const QRect frame = widget->frameGeometry(), client = widget->geometry();
        const int dl = client.left() - frame.left(), dt = client.top() - frame.top();
        const int dw = frame.width() - client.width(), dh = frame.height() - client.height();
        widget->setGeometry(rect.left + dl, rect.top + dt, std::max(1, rect.Width() - dw),
                            std::max(1, rect.Height() - dh));
    } else {
        widget->setGeometry(rect.left, rect.top, std::max(0, rect.Width()),
                            std::max(0, rect.Height()));
    }
    if (repaint) widget->update();
}

Rect QtWindows::ClientRect(WindowId window) {
    QWidget* widget = Widget(window);
    if (!widget) return {};
    return {0, 0, widget->width(), widget->height()};
}

Rect QtWindows::ScreenRect(WindowId window) {
    QWidget* widget = Widget(window);
    if (!widget) return {};
    QRect r = widget->isWindow() ? widget->frameGeometry()
                                 : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Surface* QtWindows::GetSurface(WindowId window) { return SurfaceOf(window); }

void QtWindows::SetScrollRange(WindowId bar, int minimum, int maximum, bool redraw) {
    auto* b = dynamic_cast<ScrollBar*>(Widget(bar));
    if (!b) return;
    {
        const QSignalBlocker quiet(b);
        b->setRange(minimum, std::max(minimum, maximum));
    }
    b->programPosition = std::clamp(b->programPosition, b->minimum(), b->maximum());
    b->ShowProgramPosition();
    if (redraw) b->update();
}

void QtWindows::SetScrollPosition(WindowId bar, int position, bool redraw) {
    auto* b = dynamic_cast<ScrollBar*>(Widget(bar));
    if (!b) return;
    b->programPosition = std::clamp(position, b->minimum(), b->maximum());
    b->ShowProgramPosition();
    if (redraw) b->update();
}

std::intptr_t QtWindows::DefaultHandling(WindowId window, unsigned message, std::uintptr_t,
                                         std::intptr_t) {
    if (message == msg::kClose) Destroy(window);
    return 0;
}

std::intptr_t QtWindows::Send(WindowId window, unsigned message, std::uintptr_t value,
                              std::intptr_t extra) {
    return Dispatch(window, message, value, extra);
}

std::intptr_t QtWindows::Dispatch(WindowId window, unsigned message, std::uintptr_t value,
                                  std::intptr_t extra) {
    auto* w = dynamic_cast<TopLevelWidget*>(Widget(window));
    if (!w || !w->Proc() || w->destroying) return 0;
    const std::intptr_t result = w->Proc()(window, message, value, extra);
    PresentAll();
    return result;
}

void QtWindows::PresentAll() {
    for (const auto& [id, widget] : widgets_)
        if (auto* w = dynamic_cast<TopLevelWidget*>(widget.data()); w && !w->destroying)
            w->update();
}

void QtWindows::SetMenuBar(WindowId window, QWidget* bar, bool bottom) {
    if (auto* w = dynamic_cast<TopLevelWidget*>(Widget(window))) w->SetBar(bar, bottom);
}

void QtWindows::SetFullScreen(WindowId window, bool on) {
    QWidget* widget = TopLevel(window);
    if (!widget || widget->isFullScreen() == on) return;
    if (on)
        widget->showFullScreen();
    else
        widget->showNormal();
}

void QtWindows::BringToFront(WindowId window) {
    QWidget* widget = TopLevel(window);
    if (!widget) return;
    if (widget->isMinimized()) widget->showNormal();
    widget->raise();
    widget->activateWindow();
}

bool QtWindows::IsForeground(WindowId window) {
    QWidget* widget = TopLevel(window);
    return widget && widget->isActiveWindow();
}

void QtWindows::PostQuit(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
    // Without a running loop this does nothing; RunMessageLoop then sees the request.
    QCoreApplication::exit(exitCode);
}

int QtWindows::RunMessageLoop() {
    if (!qApp) return -1;
    QApplication::setQuitOnLastWindowClosed(false);
    int code = quitCode_;
    if (!quitPosted_) {
        PresentAll();
        code = QCoreApplication::exec();
    }
    quitPosted_ = false;
    quitCode_ = 0;
    return code;
}

namespace {
int gSignalPipe[2] = {-1, -1};

extern "C" void OnQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(gSignalPipe[1], &byte, 1);
    errno = saved;
}
}  // namespace

void QtWindows::QuitOnSignals() {
    if (gSignalPipe[0] < 0 && pipe2(gSignalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, guard_.get());
    QObject::connect(notifier, &QSocketNotifier::activated, guard_.get(), [this] {
        char buffer[16];
        while (read(gSignalPipe[0], buffer, sizeof buffer) > 0) {
        }
        OnSignal();
    });
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void QtWindows::OnSignal() {
    // A dialog ends first; the windows go once its loop has returned to the program.
    if (closeModals_ && closeModals_()) {
        QMetaObject::invokeMethod(
            guard_.get(), [this] { OnSignal(); }, Qt::QueuedConnection);
        return;
    }
    const std::vector<WindowId> windows = TopLevels();
    for (WindowId w : windows) Destroy(w);
    // A program with no window (or whose handler did not quit) still ends.
    if (!quitPosted_) PostQuit(0);
}

}  // namespace vaelo::platform::qt
