// The Qt backend's services other than drawing: message boxes (answered without showing),
// system values, and installing the services for the platform's lifetime.
#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/platform/qt_test_app.h"

namespace vaelo::platform::qt {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

TEST(QtMessageBoxesTest, BuildsTheBoxFromTheStyleAndAnswersWithTheButtonCode) {
    vaelo::testing::QtTestApp();
    const auto yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    const struct {
        unsigned style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        int pressed;  // what the box's run answers
        int expected;
    } cases[] = {
        {mb::kOk | mb::kIconError, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok,
         mbr::kOk},
        {mb::kOk, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, mbr::kOk},
        {mb::kOk | mb::kIconWarning, QMessageBox::Warning, QMessageBox::Ok, 0, mbr::kOk},
        {mb::kYesNoCancel | mb::kIconQuestion, QMessageBox::Question, yesNoCancel, QMessageBox::Yes,
         mbr::kYes},
        {mb::kYesNoCancel | mb::kIconQuestion, QMessageBox::Question, yesNoCancel, QMessageBox::No,
         mbr::kNo},
        {mb::kYesNoCancel, QMessageBox::NoIcon, yesNoCancel, QMessageBox::Cancel, mbr::kCancel},
        // Closed without a button: Cancel when there is one.
        {mb::kYesNoCancel, QMessageBox::NoIcon, yesNoCancel, 0, mbr::kCancel},
    };
    for (const auto& k : cases) {
        QtMessageBoxes boxes;
        Seen seen;
        boxes.run = [&](QMessageBox& box) {
            seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                    box.defaultButton() ? box.standardButton(box.defaultButton())
                                        : QMessageBox::NoButton};
            return k.pressed;
        };
        SCOPED_TRACE(k.style);
        EXPECT_EQ(boxes.Show(kNoWindow, "Not Found! <b>", std::string("Vaelo"), k.style),
                  k.expected);
        EXPECT_EQ(seen.title, "Vaelo");
        EXPECT_EQ(seen.text, "Not Found! <b>");
        EXPECT_EQ(seen.icon, k.icon);
        EXPECT_EQ(seen.buttons, k.buttons);
        if (k.buttons == yesNoCancel) {
            EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
        }
    }
}

TEST(QtMessageBoxesTest, AMissingCaptionIsTheDefaultOne) {
    vaelo::testing::QtTestApp();
    QtMessageBoxes boxes;
    QString title, text;
    boxes.run = [&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        return int(QMessageBox::Ok);
    };
    EXPECT_EQ(boxes.Show(kNoWindow, "אין די זיכרון", std::nullopt, mb::kIconError), mbr::kOk);
    EXPECT_EQ(title, QString(kDefaultCaption));
    EXPECT_EQ(text, QString::fromUtf8("אין די זיכרון"));
}

TEST(QtSystemTest, ReportsTheVersionBelow421ThisProgramAndTheScrollBarWidth) {
    vaelo::testing::QtTestApp();
    QtSystem system;
    EXPECT_EQ(system.Version().major, 4);
    EXPECT_EQ(system.Version().minor, 20);
    const std::filesystem::path path(system.ProgramPath());
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe")) << path;
    EXPECT_GT(system.ScrollBarWidth(), 0);
}

TEST(QtPlatformTest, InstallsItsServicesForItsLifetimeWithSettingsUnderXdg) {
    vaelo::testing::QtTestApp();
    const std::filesystem::path config = std::filesystem::temp_directory_path() /
                                         ("vaelo-qt-platform-" + std::to_string(::getpid()));
    std::filesystem::remove_all(config);
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    const Services before = Current();
    {
        std::string error;
        auto container =
            ResourceContainer::Own(WriteResourceContainer({{{10, 1001}, {1, 2, 3}}}), &error);
        ASSERT_TRUE(container) << error;
        QtPlatform platform(std::move(*container));
        Services& now = Current();
        EXPECT_EQ(now.heap, &platform.heap);
        EXPECT_EQ(now.messageBoxes, &platform.messageBoxes);
        EXPECT_EQ(now.system, &platform.system);
        ASSERT_EQ(now.resources, &platform.resources);
        const auto article = now.resources->Find(ResourceType::RawData, 1001);
        ASSERT_TRUE(article);
        EXPECT_EQ(article->size(), 3u);
        ASSERT_EQ(now.settings, &platform.settings);
        EXPECT_EQ(platform.settings.Path(), (config / "Vaelo" / "settings.vreg").string());
        EXPECT_TRUE(
            now.settings->Write("Software\\Tarvenco\\Vaelo", "Lesson", SettingValue::Number(7)));
    }
    EXPECT_EQ(Current().settings, before.settings);
    EXPECT_EQ(Current().heap, before.heap);
    EXPECT_EQ(Current().system, before.system);
    // What the platform's store wrote is in the file a later run reads.
    FileSettingsStore again(FileSettingsStore::DefaultPath());
    EXPECT_EQ(again.Read("software\\tarvenco\\vaelo", "lesson"), SettingValue::Number(7));

    if (oldXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace vaelo::platform::qt
