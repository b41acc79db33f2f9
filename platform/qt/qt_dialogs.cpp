#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/qt/qt_font.h"
#include "platform/qt/qt_surface.h"
#include "platform/qt/qt_windows.h"
#include "platform/utf.h"

namespace vaelo::platform::qt {

// Kept here, beside its one user: the font a dialog hands to a control.
const QFont* QtSurface::FontOf(ObjectHandle font) const {
    auto it = objects_.find(font);
    return it != objects_.end() && it->second.font ? &it->second.font->Font() : nullptr;
}

struct QtDialogs::Control {
    ControlKind kind = ControlKind::Static;
    int id = -1;
    WindowId window = kNoWindow;
    bool noPrefix = false;
    std::u16string text;  // as the program set it, '&' marks included
    QPointer<QWidget> widget;
    std::unique_ptr<QtSurface> surface;  // made on first use, kept while the dialog runs
};

struct QtDialogs::Running {
    WindowProc handler = nullptr;
    QPointer<DialogWidget> dialog;
    std::vector<std::unique_ptr<Control>> controls;
    QPointer<QPushButton> okButton;
    bool ended = false;
    int code = 0;
};

namespace {

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A static text as the label shows it: "&x" underlines x, "&&" is one '&'.
QString LabelMarkup(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&') {
                out += QStringLiteral("<u>") + QString(text[i]).toHtmlEscaped() +
                       QStringLiteral("</u>");
                continue;
            }
        }
        out += QString(text[i]).toHtmlEscaped();
    }
    return out;
}

void ShowText(QtDialogs::Control& c) {
    const QString text = QString::fromStdU16String(c.text);
    if (auto* label = qobject_cast<QLabel*>(c.widget.data())) {
        if (c.kind != ControlKind::Static) return;
        if (c.noPrefix) {
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
        } else {
            label->setTextFormat(Qt::RichText);
            label->setText(LabelMarkup(text));
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(c.widget.data())) {
        edit->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(c.widget.data())) {
        button->setText(text);
        button->update();
    }
}

}  // namespace

// A push button the handler draws: on every paint it gets kDrawItem with the button's own
// surface, cleared to the dialog's background, and the button shows what was drawn.
class QtDialogs::OwnerDrawnButton final : public QPushButton {
  public:
    OwnerDrawnButton(QtDialogs& owner, Control& control, QWidget* parent)
        : QPushButton(parent), owner_(owner), control_(control) {}

  protected:
    void paintEvent(QPaintEvent*) override { owner_.Paint(control_, *this); }

  private:
    QtDialogs& owner_;
    Control& control_;
};

// The dialog: Esc and the close box ask the handler (command 2) instead of closing by
// themselves; Enter presses the push button that has the focus, else it is command 1 (a
// button the handler draws is never the default one).
class QtDialogs::DialogWidget final : public QDialog {
  public:
    DialogWidget(QtDialogs& owner, QWidget* parent) : QDialog(parent), owner_(owner) {}
    WindowId id = kNoWindow;

    void reject() override { owner_.Call(id, msg::kCommand, 2, 0); }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            auto* button = qobject_cast<QPushButton*>(focusWidget());
            if (button && !dynamic_cast<OwnerDrawnButton*>(button)) {
                button->click();
            } else {
                owner_.Call(id, msg::kCommand, 1, 0);
            }
            return;
        }
        QDialog::keyPressEvent(event);
    }

  private:
    QtDialogs& owner_;
};

QtDialogs::QtDialogs(QtWindows& windows) : windows_(windows) {
    windows_.SetModalCloser([this] { return EndAll(2); });
}

QtDialogs::~QtDialogs() { windows_.SetModalCloser(nullptr); }

std::intptr_t QtDialogs::Call(WindowId dialog, unsigned message, std::uintptr_t value,
                              std::intptr_t extra) {
    auto it = running_.find(dialog);
    if (it == running_.end() || !it->second->handler) return 0;
    if (message == msg::kCommand && it->second->ended) return 0;
    const std::intptr_t result = it->second->handler(dialog, message, value, extra);
    windows_.PresentAll();  // the handler may have drawn on a window too
    return result;
}

void QtDialogs::Build(Running& run, const DialogTemplate& tmpl, QWidget* owner) {
    DialogWidget& dialog = *run.dialog;
    QFont font = QApplication::font();
    // "System" and its kin name the platform's dialog font, which is the application's font.
    if (!tmpl.fontFace.empty() && tmpl.fontFace != "System" && tmpl.fontFace != "MS Shell Dlg")
        font.setFamily(Text(tmpl.fontFace));
    if (tmpl.fontPoints > 0) font.setPointSize(tmpl.fontPoints);
    dialog.setFont(font);

    // Base units: the average width of the 52 Latin letters, and the line height.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max(1, (letters / 26 + 1) / 2);
    const int baseY = std::max(1, metrics.height());
    auto px = [](int units, int base, int per) { return (units * base + per / 2) / per; };
    auto place = [&](const Rect& u) {
        return QRect(px(u.left, baseX, 4), px(u.top, baseY, 8), px(u.Width(), baseX, 4),
                     px(u.Height(), baseY, 8));
    };

    dialog.setWindowTitle(Text(tmpl.caption));
    int width = px(tmpl.width, baseX, 4);
    int height = px(tmpl.height, baseY, 8);

    for (const DialogControl& source : tmpl.controls) {
        auto control = std::make_unique<Control>();
        Control& c = *control;
        c.kind = source.kind;
        c.id = source.id;
        c.noPrefix = source.Has("noprefix");
        c.text = FromUtf8(source.text).value_or(u"");
        const QRect rect = place(source.units);
        switch (source.kind) {
            case ControlKind::Static: {
                auto* label = new QLabel(&dialog);
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                c.widget = label;
                break;
            }
            case ControlKind::Picture: {
                auto* label = new QLabel(&dialog);
                c.widget = label;
                c.text.clear();
                const std::optional<Bitmap> bitmap = LoadBitmap(source.imageId);
                const QImage image = bitmap ? ToQImage(*bitmap) : QImage();
                if (!image.isNull()) label->setPixmap(QPixmap::fromImage(image));
                // A picture takes its bitmap's size, whatever the template says.
                label->setGeometry(rect.left(), rect.top(),
                                   image.isNull() ? rect.width() : image.width(),
                                   image.isNull() ? rect.height() : image.height());
                break;
            }
            case ControlKind::Button:
            case ControlKind::OwnerDrawnButton: {
                QPushButton* button = source.kind == ControlKind::Button
                                          ? new QPushButton(&dialog)
                                          : new OwnerDrawnButton(*this, c, &dialog);
                button->setAutoDefault(false);
                const int id = c.id;
                const WindowId dialogId = dialog.id;
                QObject::connect(button, &QPushButton::clicked, button, [this, dialogId, id] {
                    Call(dialogId, msg::kCommand, static_cast<std::uintptr_t>(id) & 0xFFFF, 0);
                });
                c.widget = button;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(&dialog);
                c.widget = edit;
                break;
            }
        }
        if (source.kind != ControlKind::Picture) c.widget->setGeometry(rect);
        const bool tabStop = source.Has("tabstop") || source.kind == ControlKind::Edit;
        c.widget->setFocusPolicy(
            tabStop ? Qt::StrongFocus
                    : (source.kind == ControlKind::Button ? Qt::ClickFocus : Qt::NoFocus));
        ShowText(c);
        c.window = windows_.Register(c.widget);
        run.controls.push_back(std::move(control));
    }

    if (tmpl.Has("okbutton")) {
        // The caption's OK button of a small screen, as an OK button under the controls.
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        const QSize hint = ok->sizeHint();
        const int margin = px(4, baseY, 8);
        ok->setGeometry(width - hint.width() - margin, height, hint.width(), hint.height());
        height += hint.height() + margin;
        const WindowId dialogId = dialog.id;
        QObject::connect(ok, &QPushButton::clicked, ok,
                         [this, dialogId] { Call(dialogId, msg::kCommand, 1, 0); });
        run.okButton = ok;
    }
    dialog.setFixedSize(width, height);

    // Centred on the owner, else on the screen.
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isEmpty()) dialog.move(area.center() - QPoint(width / 2, height / 2));
}

int QtDialogs::RunModal(std::uint16_t templateId, WindowId owner, WindowProc handler,
                        std::intptr_t parameter) {
    const std::optional<DialogTemplate> tmpl = LoadDialog(templateId);
    if (!tmpl || !handler || !qApp) return -1;
    QWidget* ownerWidget = windows_.Widget(owner);
    if (ownerWidget) ownerWidget = ownerWidget->window();

    auto running = std::make_unique<Running>();
    Running& run = *running;
    run.handler = handler;
    // The owner may go while the dialog runs (its deleteLater); the QPointer notices.
    run.dialog = new DialogWidget(*this, ownerWidget);
    DialogWidget* dialog = run.dialog;
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setModal(true);
    dialog->id = windows_.Register(dialog);
    const WindowId id = dialog->id;
    running_[id] = std::move(running);
    Build(run, *tmpl, ownerWidget);

    Call(id, msg::kInitDialog, 0, parameter);
    if (!run.ended && run.dialog) run.dialog->exec();
    // Not ended by the handler: the loop itself ended (a quit request), which counts as Cancel.
    const int code = run.ended ? run.code : 2;

    // Controls and surfaces go before the widgets they belong to.
    std::unique_ptr<Running> done = std::move(running_[id]);
    running_.erase(id);
    done->controls.clear();
    delete done->dialog.data();
    windows_.PresentAll();
    return code;
}

void QtDialogs::End(WindowId dialog, int code) {
    auto it = running_.find(dialog);
    if (it == running_.end() || it->second->ended) return;
    it->second->ended = true;
    it->second->code = code;
    if (it->second->dialog) it->second->dialog->done(code);
}

bool QtDialogs::EndAll(int code) {
    for (auto& [id, run] : running_)
        if (!run->ended) End(id, code);
    return !running_.empty();
}

QDialog* QtDialogs::DialogOf(WindowId dialog) const {
    auto it = running_.find(dialog);
    return it == running_.end() ? nullptr : it->second->dialog.data();
}

QtDialogs::Control* QtDialogs::FindControl(WindowId control) const {
    if (control == kNoWindow) return nullptr;
    for (const auto& [id, run] : running_)
        for (const auto& c : run->controls)
            if (c->window == control && c->widget) return c.get();
    return nullptr;
}

WindowId QtDialogs::Item(WindowId dialog, int controlId) {
    auto it = running_.find(dialog);
    if (it == running_.end()) return kNoWindow;
    for (const auto& c : it->second->controls)
        if (c->id == controlId) return c->window;
    return kNoWindow;
}

std::u16string QtDialogs::ItemText(WindowId control, int maxUnits) {
    Control* c = FindControl(control);
    if (!c || maxUnits <= 0) return {};
    if (auto* edit = qobject_cast<QLineEdit*>(c->widget.data()))
        c->text = edit->text().toStdU16String();
    return c->text.substr(0, static_cast<std::size_t>(maxUnits));
}

void QtDialogs::SetItemText(WindowId control, const std::u16string& text) {
    Control* c = FindControl(control);
    if (!c) return;
    c->text = text;
    ShowText(*c);
}

Rect QtDialogs::ItemRect(WindowId control) {
    Control* c = FindControl(control);
    if (!c) return {};
    const QRect r = c->widget->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void QtDialogs::ResizeItem(WindowId control, int width, int height) {
    Control* c = FindControl(control);
    if (!c) return;
    // resize keeps the place and the stacking order among the siblings.
    c->widget->resize(std::max(0, width), std::max(0, height));
    if (c->surface) c->surface->Resize(c->widget->width(), c->widget->height());
    c->widget->show();
}

Surface* QtDialogs::ItemSurface(WindowId control) {
    Control* c = FindControl(control);
    if (!c) return nullptr;
    if (!c->surface)
        c->surface = std::make_unique<QtSurface>(c->widget->width(), c->widget->height());
    return c->surface.get();
}

std::optional<FontDescription> QtDialogs::ItemFont(WindowId control) {
    Control* c = FindControl(control);
    if (!c) return std::nullopt;
    const QFont font = c->widget->font();
    FontDescription d;
    d.face = font.family().toStdU16String();
    // A character height, negative, as the program's font descriptions hold it.
    const int pixels =
        font.pixelSize() > 0
            ? font.pixelSize()
            : static_cast<int>(font.pointSizeF() * c->widget->logicalDpiY() / 72.0 + 0.5);
    d.height = -pixels;
    d.weight = font.weight();
    d.underline = font.underline();
    return d;
}

void QtDialogs::SetItemFont(WindowId control, ObjectHandle font) {
    Control* c = FindControl(control);
    if (!c || !c->surface) return;
    if (const QFont* f = c->surface->FontOf(font)) {
        c->widget->setFont(*f);
        c->widget->update();
    }
}

void QtDialogs::Paint(Control& control, QWidget& button) {
    const WindowId dialog = [&] {
        for (const auto& [id, run] : running_)
            for (const auto& c : run->controls)
                if (c.get() == &control) return id;
        return kNoWindow;
    }();
    QPainter painter(&button);
    auto* surface = static_cast<QtSurface*>(ItemSurface(control.window));
    if (dialog == kNoWindow || !surface) return;
    if (surface->Width() != button.width() || surface->Height() != button.height())
        surface->Resize(button.width(), button.height());
    // Nothing is drawn for the handler: what shows under its drawing is the dialog's face.
    {
        GdiObject face(
            *surface, surface->CreateSolidBrush(ToColor(button.palette().color(QPalette::Window))));
        surface->FillRect({0, 0, surface->Width(), surface->Height()}, face.Get());
    }
    DrawItem item{control.window, control.id, surface, {0, 0, surface->Width(), surface->Height()}};
    Call(dialog, msg::kDrawItem, static_cast<std::uintptr_t>(control.id),
         reinterpret_cast<std::intptr_t>(&item));
    painter.drawImage(0, 0, surface->Image());
}

}  // namespace vaelo::platform::qt
