// The reader as the vaelo program starts it, ending as soon as its main window has painted
// once: start-up to the first painted window, for hyperfine beside minimal_window.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "app/shell_state.h"
#include "app/startup.h"
#include "platform/qt/qt_entry.h"
#include "resources/builtin_resources.h"

namespace {

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (event->type() == QEvent::Paint && widget && widget->isWindow() && widget->windowTitle() == "Vaelo")
            QTimer::singleShot(0, [] {
                // Close as the user would, so the run ends in order.
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->windowTitle() == "Vaelo") w->close();
            });
        return false;
    }
};

void Watch() { qApp->installEventFilter(new FirstPaint); }

int Reader(const std::vector<std::string>& args) {
    const int code = vaelo::RunReader(args);
    vaelo::ResetShell();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    auto book = vaelo::platform::ResourceContainer::View(vaelo::BuiltinResources(), nullptr);
    if (!book) return 2;
    return vaelo::platform::qt::RunOnQt(argc, argv, std::move(*book), Reader, {}, Watch);
}
