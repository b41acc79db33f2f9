#include "platform/qt/qt_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include "platform/qt/qt_windows.h"
#include "platform/ui_resources.h"

namespace vaelo::platform::qt {
namespace {

constexpr int kImageSide = 16;
constexpr Color kButtonFace = 0xC0C0C0;  // the strip's background: the bar shows through

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A label without its access mark: "&Go" → "Go", "a&&b" → "a&b".
QString WithoutAccessMark(const QString& label) {
    QString out;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == u'&' && i + 1 < label.size()) ++i;
        out += label[i];
    }
    return out;
}

}  // namespace

QtMenus::~QtMenus() {
    for (auto& [window, bar] : bars_) delete bar.widget.data();
}

std::optional<int> QtMenus::CreateMenuBar(WindowId window, const MenuBarSpec& spec) {
    QWidget* top = windows_.TopLevel(window);
    const std::optional<Menu> menu = LoadMenu(spec.menuId);
    if (!top || !menu) return std::nullopt;
    DestroyMenuBar(window);

    Bar record;
    auto* bar = new QToolBar(top);  // owned by the window
    record.widget = bar;
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setIconSize(QSize(kImageSide, kImageSide));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setAutoFillBackground(true);

    // Commands reach the handler from the loop, once the menu or button has let go, as a
    // posted command would: a command may open a modal dialog or destroy the window.
    QtWindows& windows = windows_;
    auto post = [bar, &windows, window](unsigned message, unsigned value) {
        QMetaObject::invokeMethod(
            bar,
            [&windows, window, message, value] { windows.Dispatch(window, message, value, 0); },
            Qt::QueuedConnection);
    };

    std::vector<QMenu*> popups;
    for (const MenuPopup& popup : menu->popups) {
        auto* m = new QMenu(Text(popup.title), bar);
        for (const MenuItem& item : popup.items) {
            if (item.Separator()) {
                m->addSeparator();
                continue;
            }
            // Text after a tab is shown right-aligned in the shortcut column and binds nothing.
            QString label = Text(item.label);
            if (!item.shortcut.empty()) label += u'\t' + Text(item.shortcut);
            QAction* action = m->addAction(label);
            const unsigned command = item.command;
            record.items[command] = action;
            record.checks[command] = false;
            QObject::connect(action, &QAction::triggered, bar,
                             [this, window, command, action, post] {
                                 // Qt flips a checkable item on a click; the program sets its marks
                                 // itself.
                                 auto it = bars_.find(window);
                                 if (it != bars_.end())
                                     ShowCheck(action, it->second.checks[command]);
                                 post(msg::kCommand, command);
                             });
        }
        popups.push_back(m);
    }

    if (spec.shellForm) {
        for (std::size_t i = 0; i < spec.dropDowns.size() && i < popups.size(); ++i) {
            auto* button = new QToolButton(bar);
            const std::optional<std::string> text = LoadString(spec.dropDowns[i].textId);
            button->setText(text ? Text(*text) : WithoutAccessMark(popups[i]->title()));
            button->setMenu(popups[i]);
            button->setPopupMode(QToolButton::InstantPopup);
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setFocusPolicy(Qt::NoFocus);
            bar->addWidget(button);
        }
    } else {
        auto* menuBar = new QMenuBar(bar);
        menuBar->setNativeMenuBar(false);  // the menu lives in the window, never in a desktop panel
        // As wide as its titles, on the bar's own face: the menu is the bar's first item.
        menuBar->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
        menuBar->setStyleSheet(QStringLiteral("QMenuBar { background: transparent; }"));
        for (QMenu* m : popups) menuBar->addMenu(m);
        bar->addWidget(menuBar);
    }
    bar->addSeparator();

    const std::optional<Bitmap> strip = LoadBitmap(spec.bitmapId);
    const QImage images = strip ? ToQImage(*strip, kButtonFace) : QImage();
    for (std::size_t i = 0; i < spec.buttons.size(); ++i) {
        const ToolButton& b = spec.buttons[i];
        const QString tip = i + 1 < spec.tooltips.size() ? Text(spec.tooltips[i + 1]) : QString();
        QIcon icon;
        const int x = b.image * kImageSide;
        if (b.image >= 0 && b.image < spec.imageCount && x + kImageSide <= images.width() &&
            images.height() >= kImageSide)
            icon = QIcon(QPixmap::fromImage(images.copy(x, 0, kImageSide, kImageSide)));
        // Without its image a button still says what it does.
        QAction* action = icon.isNull() ? bar->addAction(tip) : bar->addAction(icon, QString());
        action->setToolTip(tip);
        const unsigned command = b.command;
        QObject::connect(action, &QAction::triggered, bar,
                         [post, command] { post(msg::kCommand, command); });
    }

    if (spec.closeBox && !spec.shellForm) {
        auto* spacer = new QWidget(bar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        bar->addWidget(spacer);
        QAction* close =
            bar->addAction(bar->style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString());
        close->setToolTip(QStringLiteral("Close"));
        QObject::connect(close, &QAction::triggered, bar, [post] { post(msg::kClose, 0); });
    }
    for (QToolButton* button : bar->findChildren<QToolButton*>())
        button->setFocusPolicy(Qt::NoFocus);

    bars_[window] = std::move(record);
    windows_.SetMenuBar(window, bar, spec.shellForm);
    bar->show();
    return bar->sizeHint().height();
}

void QtMenus::DestroyMenuBar(WindowId window) {
    auto it = bars_.find(window);
    if (it == bars_.end()) return;
    windows_.SetMenuBar(window, nullptr, false);
    if (QToolBar* bar = it->second.widget) {
        bar->hide();
        bar->deleteLater();  // a command of its own may still be on the way out
    }
    bars_.erase(it);
}

void QtMenus::ShowCheck(QAction* action, bool on) {
    if (!action) return;
    const QSignalBlocker quiet(action);
    // Only a marked item is checkable, so that unmarked items show no empty box.
    if (on) action->setCheckable(true);
    action->setChecked(on);
    if (!on) action->setCheckable(false);
}

bool QtMenus::SetCheck(WindowId window, unsigned command, bool on) {
    auto bar = bars_.find(window);
    if (bar == bars_.end() || !bar->second.widget) return false;
    auto item = bar->second.items.find(command);
    if (item == bar->second.items.end()) return false;
    bar->second.checks[command] = on;
    ShowCheck(item->second, on);
    return true;
}

std::optional<bool> QtMenus::GetCheck(WindowId window, unsigned command) {
    auto bar = bars_.find(window);
    if (bar == bars_.end() || !bar->second.widget) return std::nullopt;
    auto item = bar->second.checks.find(command);
    if (item == bar->second.checks.end()) return std::nullopt;
    return item->second;
}

void QtMenus::CheckRadio(WindowId window, unsigned first, unsigned last, unsigned command) {
    auto it = bars_.find(window);
    if (it == bars_.end() || !it->second.widget) return;
    Bar& bar = it->second;
    // The items of the range share one group, which gives the mark its round look.
    QPointer<QActionGroup>& group = bar.radios[{first, last}];
    if (!group) {
        group = new QActionGroup(bar.widget);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (auto& [id, action] : bar.items)
            if (id >= first && id <= last && action) group->addAction(action);
    }
    // Marks come off before the new one goes on, so the group never holds two.
    for (auto& [id, action] : bar.items)
        if (id >= first && id <= last && id != command) {
            bar.checks[id] = false;
            ShowCheck(action, false);
        }
    if (command >= first && command <= last && bar.items.count(command)) {
        bar.checks[command] = true;
        ShowCheck(bar.items[command], true);
    }
}

QToolBar* QtMenus::BarOf(WindowId window) const {
    auto it = bars_.find(window);
    return it == bars_.end() ? nullptr : it->second.widget.data();
}

QAction* QtMenus::ItemOf(WindowId window, unsigned command) const {
    auto it = bars_.find(window);
    if (it == bars_.end()) return nullptr;
    auto item = it->second.items.find(command);
    return item == it->second.items.end() ? nullptr : item->second.data();
}

}  // namespace vaelo::platform::qt
