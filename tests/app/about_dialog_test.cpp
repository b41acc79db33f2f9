#include "tests/app/reader_fixture.h"

#include "dialogs/about_dialog.h"

namespace vaelo::testing {
namespace {

TEST_F(ReaderTest, AboutBoxLinkOpensTheHomePageAndEndsReleasingItsFont) {
    Start();
    auto& dialogs = platform_.dialogs;
    platform::headless::HeadlessSurface* button = nullptr;
    dialogs.AddScript([&](platform::WindowId dialog) {
        const platform::WindowId link = dialogs.Item(dialog, kLinkButton);
        button = static_cast<platform::headless::HeadlessSurface*>(dialogs.ItemSurface(link));
        // 96 dots per inch: a 10-point character height is -13; the face comes from the button.
        EXPECT_EQ(button->Log()[0], "CreateFont face=\"Headless Sans\" height=-13 weight=800 underline -> #1");
        // The button fits its text: 26 characters of 6 pixels, 13 high, and the edges.
        EXPECT_EQ(dialogs.ItemRect(link).Width(), 26 * 6 + 2 * 2);
        EXPECT_EQ(dialogs.ItemRect(link).Height(), 13 + 2 * 2);
        button->ClearLog();
        dialogs.DrawItemOf(dialog, kLinkButton);
        EXPECT_EQ(button->Drawing(),
                  (std::vector<std::string>{"TextOut (1,0) font=#1 color=0xFF0000 \"https://vaelo.example.org/\""}));
        dialogs.Command(dialog, kLinkButton);  // opens the page; the box stays
        dialogs.Command(dialog, 0);            // ignored
        dialogs.Command(dialog, 1);
        EXPECT_EQ(button->LiveObjects(), 0);  // the link font went with the dialog
    });
    Command(40004);
    EXPECT_TRUE(std::any_of(platform_.log.lines.begin(), platform_.log.lines.end(), [](const std::string& l) {
        return l.starts_with("Open owner=#") && l.ends_with(" https://vaelo.example.org/");
    }));
    EXPECT_TRUE(std::any_of(platform_.log.lines.begin(), platform_.log.lines.end(),
                            [](const std::string& l) { return l.ends_with(" 1") && l.starts_with("EndDialog"); }));
    ASSERT_TRUE(button);
}

TEST_F(ReaderTest, ClosingTheAboutBoxAlsoReleasesTheFont) {
    Start();
    // The script ends without a command: the user closed the box, and the handler heard
    // Cancel while the button still had its surface.
    platform_.dialogs.AddScript([&](platform::WindowId) {});
    EXPECT_EQ(AboutDialog(Shell().mainWindow), 2);
    for (const auto& line : platform_.log.lines) EXPECT_FALSE(line.starts_with("Leaked")) << line;
}

TEST(UpdateCheck, AddressNamesProductAndVersion) {
    EXPECT_EQ(UpdateAddress(u"Tarvenco/Vaelo"),
              u"https://updates.vaelo.example.org/cgi-bin/upgrade?p=arm/Tarvenco/Vaelo&v=1.84a");
    EXPECT_EQ(UpdateAddress(u"A b-c\u05D0"),
              u"https://updates.vaelo.example.org/cgi-bin/upgrade?p=arm/A+b%2Dc%5D0&v=1.84a");
}

}  // namespace
}  // namespace vaelo::testing
