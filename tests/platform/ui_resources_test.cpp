#include <gtest/gtest.h>

#include "platform/ui_resources.h"

namespace vaelo::platform {
namespace {

TEST(UiResources, MenuWithShortcutsAndSeparators) {
    auto menu = ParseMenu(
        "# comment\nPOPUP \"&Go\"\nITEM 40004 \"&About\"\nSEPARATOR\nITEM 40006 \"F&ont\" \"Ctrl+F\"\nEND\n"
        "POPUP \"&Gelmo\"\nITEM 401 \"&None\"\nEND\n",
        nullptr);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->popups.size(), 2u);
    const auto& go = menu->popups[0];
    EXPECT_EQ(go.title, "&Go");
    ASSERT_EQ(go.items.size(), 3u);
    EXPECT_TRUE(go.items[1].Separator());
    EXPECT_EQ(go.items[2].command, 40006u);
    EXPECT_EQ(go.items[2].shortcut, "Ctrl+F");
}

TEST(UiResources, DamagedSourcesSayWhereAndWhy) {
    struct Case {
        const char* text;
        const char* where;
    };
    const Case menus[] = {
        {"ITEM 1 \"x\"\n", "line 1"},
        {"POPUP \"a\"\nITEM x \"y\"\nEND\n", "line 2"},
        {"POPUP \"a\"\nITEM 1 \"unclosed\nEND\n", "line 2"},
        {"POPUP \"a\"\nITEM 1 \"y\"\n", "no END"},
        {"", "no POPUP"},
    };
    for (const auto& c : menus) {
        std::string error;
        EXPECT_FALSE(ParseMenu(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.where), std::string::npos) << error;
    }
    const Case dialogs[] = {
        {"CONTROL static -1 1 1 1 1 \"x\"\n", "line 1"},
        {"DIALOG 10 10 \"x\"\nCONTROL slider 1 1 1 1 1 \"x\"\n", "line 2"},
        {"DIALOG 10 10 \"x\"\nCONTROL picture 1 1 1 1 1 logo\n", "line 2"},
    };
    for (const auto& c : dialogs) {
        std::string error;
        EXPECT_FALSE(ParseDialog(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.where), std::string::npos) << error;
    }
    const Case bitmaps[] = {
        {"size 2 1\n. #FFFFFF\nrows\n.x\n", "line 4"},
        {"size 2 2\n. #FFFFFF\nrows\n..\n", "fewer rows"},
        {"size 2 1\n. FFFFFF\n", "line 2"},
        {"width 2\n", "line 1"},
    };
    for (const auto& c : bitmaps) {
        std::string error;
        EXPECT_FALSE(ParseBitmapSource(c.text, &error)) << c.text;
        EXPECT_NE(error.find(c.where), std::string::npos) << error;
    }
}

TEST(UiResources, DialogTemplate) {
    auto d = ParseDialog(
        "DIALOG 130 85 \"Vaelo\"\nSTYLE caption centered\nFONT 8 \"System\"\n"
        "CONTROL picture -1 88 7 47 20 113\nCONTROL ownerbutton 1025 7 58 100 8 \"https://a.example.org/\" tabstop\n",
        nullptr);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->width, 130);
    EXPECT_TRUE(d->Has("centered"));
    EXPECT_EQ(d->fontFace, "System");
    ASSERT_EQ(d->controls.size(), 2u);
    EXPECT_EQ(d->controls[0].imageId, 113);
    EXPECT_EQ(d->controls[1].units, (Rect{7, 58, 107, 66}));
    EXPECT_EQ(d->controls[1].kind, ControlKind::OwnerDrawnButton);
    EXPECT_TRUE(d->controls[1].Has("tabstop"));
}

TEST(UiResources, BitmapsRoundTripInColourOrder) {
    auto b = ParseBitmapSource("size 3 1\nr #FF0000\nb #0000FF\nw #FFFFFF\nrows\nrbw\n", nullptr);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->pixels, (std::vector<Color>{kRed, kBlue, kWhite}));
    auto bytes = EncodeBitmap(*b);
    auto back = DecodeBitmap(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, b->pixels);
    bytes.pop_back();
    EXPECT_FALSE(DecodeBitmap(bytes));  // size and pixels disagree
}

}  // namespace
}  // namespace vaelo::platform
