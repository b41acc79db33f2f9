// The yardstick for start-up time and memory: the smallest Qt Widgets program that shows one
// window, ending as soon as the window has painted once.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle("Minimal");
    window.resize(480, 640);
    window.show();
    return app.exec();
}
