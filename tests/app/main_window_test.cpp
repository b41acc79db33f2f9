#include "tests/app/reader_fixture.h"

#include "app/main_window.h"
#include "app/panes.h"
#include "app/settings.h"
#include "view/scroll.h"

namespace vaelo::testing {
namespace {

using platform::key::kDown;
using platform::key::kEnd;
using platform::key::kHome;
using platform::key::kLeft;
using platform::key::kPageDown;
using platform::key::kPageUp;
using platform::key::kRight;
using platform::key::kUp;

TEST_F(ReaderTest, PanesFollowTheWindowGeometry) {
    // A 240 × 294 client with the shell's menu bar (26 high) at the bottom, no margin.
    platform_.settings.Write(kOptionsKey, "MenuBarOnBottom", platform::SettingValue::Number(1));
    platform_.windows.defaultClientSize = {240, 294};
    Start();
    const ShellState& s = Shell();
    ASSERT_TRUE(s.mainView && s.bottomView);
    EXPECT_EQ(s.menuBarHeight, 26);
    EXPECT_EQ((std::vector<int>{s.mainView->left, s.mainView->top, s.mainView->width, s.mainView->height}),
              (std::vector<int>{0, 0, 227, 132}));
    EXPECT_EQ(s.bottomRect, (Rect{0, 135, 227, 268}));
    EXPECT_EQ((std::vector<int>{s.bottomView->top, s.bottomView->width, s.bottomView->height}),
              (std::vector<int>{135, 227, 133}));
    EXPECT_TRUE(Logged("Move #" + std::to_string(s.mainScrollBar) + " [227,-2,240,132] repaint"));
    EXPECT_TRUE(Logged("Move #" + std::to_string(s.bottomScrollBar) + " [227,133,240,268] repaint"));

    Surface().ClearLog();
    RequestRepaint(s.mainWindow, RepaintBottom);
    const auto drawn = Surface().Drawing();
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], "Rectangle [0,133,227,268] pen=0xFFFFEE brush=0xFFFFEE");
    EXPECT_EQ(drawn[1], "Rectangle [0,132,240,133] pen=0x0000FF brush=0xFFFFEE");
}

TEST_F(ReaderTest, ProportionCommandsResizeTheBottomPane) {
    Start();  // 240 × 320, command bar of 24 at the top: pane height 296
    const ShellState& s = Shell();
    EXPECT_EQ(s.bottomRect.top, 24 + 148 + 1);
    EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, 412), true);
    struct Case {
        unsigned command;
        int bottomTop;
    };
    const Case cases[] = {{414, 24 + 222 + 1}, {413, 24 + 198 + 1}, {423, 24 + 99 + 1}, {434, 24 + 74 + 1}, {401, 24 + 296 + 1}};
    for (const auto& c : cases) {
        Command(c.command);
        EXPECT_EQ(s.bottomSection, c.command - 400);
        EXPECT_EQ(s.bottomRect.top, c.bottomTop) << c.command;
        for (unsigned other : {401u, 412u, 413u, 414u, 423u, 434u})
            EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, other), other == c.command);
    }
    // The proportion in force: nothing at all happens, not even a repaint.
    Surface().ClearLog();
    Command(401);
    EXPECT_TRUE(Surface().Log().empty());
}

TEST_F(ReaderTest, ArrowKeysStepPagesWithWrapAround) {
    Start();
    struct Case {
        std::uint16_t from;
        unsigned key;
        std::uint16_t to;
    };
    const Case cases[] = {{1, kRight, 3}, {259, kRight, 1}, {1, kLeft, 259}, {3, kLeft, 1}, {260, kRight, 1}, {2, kLeft, 259}};
    for (const auto& c : cases) {
        ASSERT_EQ(SwitchArticle(Shell().mainWindow, c.from), 0);
        Key(c.key);
        EXPECT_EQ(Shell().lesson, c.to) << c.from;
        EXPECT_EQ(Shell().mainView->topRow, 0);
    }
}

TEST_F(ReaderTest, KeysScrollTheActivePane) {
    Start();
    ShellState& s = Shell();
    view::TextView& v = *s.mainView;
    ASSERT_GT(v.maxTopRow, 20);
    const int page = v.paintedRows - 1;
    Key(kPageDown);
    EXPECT_EQ(v.topRow, page);
    Key(kDown);
    EXPECT_EQ(v.topRow, page + 1);
    Key(kUp);
    Key(kPageUp);
    EXPECT_EQ(v.topRow, 0);
    Key(kEnd);
    EXPECT_EQ(v.topRow, v.maxTopRow);
    Key(kHome);
    EXPECT_EQ(v.topRow, 0);
    // Half pages when the key page mode says 2.
    s.flags = (s.flags & ~flags::kKeyPageModeMask) | (2u << flags::kKeyPageModeShift);
    const int half = v.paintedRows / 2;
    Key(kPageDown);
    EXPECT_EQ(v.topRow, half);
    // The scroll bar of the active pane follows.
    EXPECT_EQ(platform_.windows.Scroll(s.mainScrollBar).position, v.topRow);
    EXPECT_EQ(platform_.windows.Scroll(s.mainScrollBar).maximum, v.maxTopRow);
    // Keys outside the table do nothing and say so.
    EXPECT_EQ(Send(platform::msg::kKeyDown, 114), 1);  // F3
}

TEST_F(ReaderTest, ScrollBarCodesMoveTheirPane) {
    Start();
    ShellState& s = Shell();
    view::TextView& b = *s.bottomView;
    ASSERT_GT(b.maxTopRow, 5);
    auto scroll = [&](unsigned code, int thumb = 0) {
        Send(platform::msg::kVScroll, code | (static_cast<std::uintptr_t>(thumb & 0xFFFF) << 16),
             static_cast<std::intptr_t>(s.bottomScrollBar));
    };
    scroll(platform::scroll::kLineDown);
    EXPECT_EQ(s.activeView, s.bottomView.get());
    EXPECT_EQ(s.activeScrollBar, s.bottomScrollBar);
    // Each step's target from the pane as it stands before the step: pages are a painted page
    // less one row, whatever the key page mode says.
    struct Case {
        unsigned code;
        int thumb;
        int (*target)(const view::TextView&, int thumb);
    };
    const Case cases[] = {
        {platform::scroll::kLineDown, 0, [](const view::TextView& v, int) { return v.topRow + 1; }},
        {platform::scroll::kLineUp, 0, [](const view::TextView& v, int) { return v.topRow - 1; }},
        {platform::scroll::kPageDown, 0, [](const view::TextView& v, int) { return v.topRow + v.paintedRows - 1; }},
        {platform::scroll::kPageUp, 0, [](const view::TextView& v, int) { return std::max(0, v.topRow - (v.paintedRows - 1)); }},
        {platform::scroll::kThumbTrack, 4, [](const view::TextView&, int t) { return t; }},
        {platform::scroll::kThumbPosition, 3, [](const view::TextView&, int t) { return t; }},
        {platform::scroll::kBottom, 0, [](const view::TextView& v, int) { return v.topRow + 1; }},  // one row only
        {platform::scroll::kTop, 0, [](const view::TextView&, int) { return 0; }},
        {platform::scroll::kEndScroll, 0, [](const view::TextView& v, int) { return static_cast<int>(v.topRow); }},
    };
    s.flags = (s.flags & ~flags::kKeyPageModeMask) | (2u << flags::kKeyPageModeShift);
    for (const auto& c : cases) {
        const int want = c.target(b, c.thumb);
        scroll(c.code, c.thumb);
        EXPECT_EQ(b.topRow, want) << "code " << c.code;
        EXPECT_EQ(platform_.windows.Scroll(s.bottomScrollBar).position, b.topRow);
    }
    // Keys now act on the bottom pane.
    Key(kDown);
    EXPECT_EQ(b.topRow, 1);
    EXPECT_EQ(s.mainView->topRow, 0);
}

TEST_F(ReaderTest, TapsPageTheirPane) {
    Start();
    ShellState& s = Shell();
    view::TextView& m = *s.mainView;
    const int page = m.paintedRows - 1;
    auto tap = [&](int x, int y) { Send(platform::msg::kPenDown, 0, platform::PackPoint(x, y)); };
    tap(100, m.top + m.height - 5);  // lower half: forward
    EXPECT_EQ(m.topRow, page);
    tap(100, m.top + 5);  // upper half: back
    EXPECT_EQ(m.topRow, 0);
    // A tap in the bottom pane makes it active and pages it.
    tap(100, s.bottomView->top + s.bottomView->height - 3);
    EXPECT_EQ(s.activeView, s.bottomView.get());
    EXPECT_GT(s.bottomView->topRow, 0);
    // Without tap paging a tap only picks the pane.
    s.flags &= ~flags::kTapPaging;
    tap(100, m.top + m.height - 5);
    EXPECT_EQ(s.activeView, s.mainView.get());
    EXPECT_EQ(m.topRow, 0);
}

TEST_F(ReaderTest, ReverseTogglesWithItsCheckMark) {
    Start();
    ShellState& s = Shell();
    EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, 122), false);
    Command(122);
    EXPECT_TRUE(s.flags & flags::kReverse);
    EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, 122), true);
    Command(122);
    EXPECT_FALSE(s.flags & flags::kReverse);
    EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, 122), false);
    EXPECT_EQ(*platform_.menus.GetCheck(s.mainWindow, 123), false);  // no bookmarks yet
}

TEST_F(ReaderTest, ExitSavesStateAndTheNextStartComesBack) {
    Start();
    ShellState& s = Shell();
    Key(kRight);
    Key(kRight);  // article 5
    Key(kPageDown);
    Command(413);
    Command(122);
    const std::uint16_t mainRow = s.mainView->topRow;
    Command(40005);
    EXPECT_TRUE(platform_.windows.QuitPosted());
    EXPECT_FALSE(platform_.windows.Exists(s.mainWindow));
    auto stored = [&](const char* name) { return platform_.settings.Read(kProgramKey, name)->number; };
    EXPECT_EQ(stored("Lesson"), 5u);
    EXPECT_EQ(stored("LastPosition"), mainRow);
    EXPECT_EQ(stored("BottomSection"), 13u);
    EXPECT_TRUE(stored("Flags") & flags::kReverse);

    // The same settings, a new run once this one has ended.
    platform_.instance.Release();
    platform::headless::HeadlessPlatform again;
    again.settings = platform_.settings;
    ResetShell();
    again.SetResources(*platform::ResourceContainer::Own(platform::WriteResourceContainer(Book()), nullptr));
    ASSERT_EQ(RunReader({}), 0);
    EXPECT_EQ(Shell().lesson, 5);
    EXPECT_EQ(Shell().mainView->topRow, mainRow);
    EXPECT_EQ(Shell().bottomSection, 13u);
    EXPECT_TRUE(Shell().flags & flags::kReverse);
    EXPECT_EQ(*again.menus.GetCheck(Shell().mainWindow, 122), true);
    EXPECT_EQ(*again.menus.GetCheck(Shell().mainWindow, 413), true);
    ResetShell();  // the views go before the surface they draw on
}

TEST_F(ReaderTest, MissingArticlesAreReported) {
    Start(Book({7, 10}));
    ShellState& s = Shell();
    SwitchArticle(s.mainWindow, 5);
    platform_.messageBoxes.ClearLog();
    Key(kRight);  // article 7 is missing: nothing changes, nothing is said
    EXPECT_EQ(s.lesson, 5);
    EXPECT_TRUE(platform_.messageBoxes.Log().empty());
    SwitchArticle(s.mainWindow, 9);  // its commentary, 10, is missing
    EXPECT_EQ(s.lesson, 9);
    ASSERT_EQ(platform_.messageBoxes.Log().size(), 1u);
    EXPECT_NE(platform_.messageBoxes.Log()[0].find("caption=\"Error\" text=\"Resource not found\" style=0x30"),
              std::string::npos);
}

TEST_F(ReaderTest, OddStoredValuesStartOnADefault) {
    platform_.settings.Write(kProgramKey, "BottomSection", platform::SettingValue::Number(40));
    platform_.settings.Write(kProgramKey, "Lesson", platform::SettingValue::Number(300));
    platform_.settings.Write(kProgramKey, "LastPosition", platform::SettingValue::Number(60000));
    Start();
    EXPECT_EQ(Shell().bottomSection, 12u);
    EXPECT_EQ(Shell().lesson, 1);
    // A row beyond the document is shown as its last page.
    EXPECT_LE(Shell().mainView->topRow, Shell().mainView->maxTopRow);
}

TEST_F(ReaderTest, ASecondStartWakesTheFirstAndShowsNothing) {
    Start();
    const platform::WindowId first = Shell().mainWindow;
    platform::headless::HeadlessInstance second;
    platform_.windows.SetForeground(first);
    // In front: the first opens its Choose Section list (command 119, not one of its own yet).
    EXPECT_FALSE(second.Claim("Vaelo.Vaelo", nullptr));
    EXPECT_TRUE(Logged("DefaultHandling #" + std::to_string(first) + " message 273"));
    // Behind another program: it comes to the front.
    platform_.windows.SetForeground(platform::kNoWindow);
    EXPECT_FALSE(second.Claim("Vaelo.Vaelo", nullptr));
    EXPECT_TRUE(Logged("BringToFront #" + std::to_string(first)));
}

}  // namespace
}  // namespace vaelo::testing
