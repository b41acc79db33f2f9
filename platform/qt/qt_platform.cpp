#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStyle>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vaelo::platform::qt {
namespace {

QApplication* WidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

QMessageBox::Icon IconFor(unsigned style) {
    switch (style & mb::kIconMask) {
        case mb::kIconError:
            return QMessageBox::Critical;
        case mb::kIconQuestion:
            return QMessageBox::Question;
        case mb::kIconWarning:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtMessageBoxes::Show(WindowId owner, const std::string& text,
                         const std::optional<std::string>& caption, unsigned style) {
    const bool yesNoCancel = (style & mb::kButtonsMask) == mb::kYesNoCancel;
    // What closing the box without a button means: Cancel when there is one, else OK.
    const int closed = yesNoCancel ? mbr::kCancel : mbr::kOk;
    const std::string& title = caption ? *caption : std::string(kDefaultCaption);
    if (!WidgetApplication()) {
        // No widgets to show a box with: the message must still reach someone.
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return closed;
    }
    QWidget* parent = findOwner && owner != kNoWindow ? findOwner(owner) : nullptr;
    const QMessageBox::StandardButtons buttons =
        yesNoCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(IconFor(style), QString::fromStdString(title), QString::fromStdString(text),
                    buttons, parent);
    box.setTextFormat(Qt::PlainText);  // a message is never markup, whatever it contains
    if (yesNoCancel) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    switch (run ? run(box) : box.exec()) {
        case QMessageBox::Ok:
            return mbr::kOk;
        case QMessageBox::Yes:
            return mbr::kYes;
        case QMessageBox::No:
            return mbr::kNo;
        case QMessageBox::Cancel:
            return mbr::kCancel;
        default:
            return closed;
    }
}

std::u16string QtSystem::ProgramPath() const {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath().toStdU16String();
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return QFile::decodeName(QByteArray::fromStdString(path.string())).toStdU16String();
}

int QtSystem::ScrollBarWidth() const {
    if (QApplication* app = WidgetApplication())
        return app->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return 16;
}

QtPlatform::QtPlatform(ResourceContainer container) : resources(std::move(container)) {
    previous_ = Install({.heap = &heap,
                         .messageBoxes = &messageBoxes,
                         .settings = &settings,
                         .resources = &resources,
                         .system = &system});
}

QtPlatform::~QtPlatform() { Install(previous_); }

}  // namespace vaelo::platform::qt
