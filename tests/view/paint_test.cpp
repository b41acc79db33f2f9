#include "view/paint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/view/view_fixture.h"

namespace vaelo::view {
namespace {

using testing::Record;
using testing::ViewTest;

std::string Text(int l, int t, int r, int b, const char* color, const std::string& text) {
    return "DrawText [" + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) +
           "," + std::to_string(b) + "] at (" + std::to_string(l) + "," + std::to_string(t) +
           ") color=" + color + " \"" + text + "\"";
}
constexpr const char* kBlackText = "0x000000";
constexpr const char* kMatch = "0xFF0000";

struct PageCase {
    const char* what;
    int height;
    std::uint16_t topRow;
    std::vector<std::string> drawn;  // after the clearing fill
    int paintedRows;
    std::uint16_t topRowAfter;
};

// "aa" with a blank row, then "bb" and "cc": rows aa 0, blank 1, bb 2, cc 3.
const PageCase kPageCases[] = {
    {"from the blank top row the page starts one row down",
     60,
     1,
     {Text(0, 12, 12, 24, kBlackText, "bb"), Text(0, 24, 12, 36, kBlackText, "cc")},
     2,
     1},
    {"no partial line at the bottom; the blank row is counted",
     30,
     0,
     {Text(0, 0, 12, 12, kBlackText, "aa")},
     2,
     0},
    {"a blank row that no longer fits is counted too",
     12,
     0,
     {Text(0, 0, 12, 12, kBlackText, "aa")},
     2,
     0},
    {"a top row past the rows becomes the largest top row",
     24,
     9,
     {Text(0, 0, 12, 12, kBlackText, "bb"), Text(0, 12, 12, 24, kBlackText, "cc")},
     2,
     2},
};

class PageCases : public ViewTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageCases, DrawsWholeLinesFromTheTopRow) {
    const PageCase& c = GetParam();
    Open(60, c.height);
    ASSERT_EQ(Layout({{0x81, 0, "aa"}, {0x01, 0, "bb"}, {0x01, 0, "cc"}}), 0);
    view->topRow = c.topRow;
    surface.ClearLog();
    EXPECT_EQ(PaintView(view.get(), true), 0);
    std::vector<std::string> want = {"FillRect [0,0,60," + std::to_string(c.height) + "] 0xFFFFFF"};
    want.insert(want.end(), c.drawn.begin(), c.drawn.end());
    EXPECT_EQ(Drawn(), want);
    EXPECT_EQ(view->paintedRows, c.paintedRows);
    EXPECT_EQ(view->topRow, c.topRowAfter);
}

INSTANTIATE_TEST_SUITE_P(View, PageCases, ::testing::ValuesIn(kPageCases));

TEST_F(ViewTest, PaintsHangWordsRulesAndStyleColours) {
    Open(60, 100);
    ASSERT_EQ(Layout({{0x01, 0x42, "ab cd ef gh"},
                      {0x31, 0x42, "hg fe dc ba"},
                      {0x07, 30, ""},
                      {0x02, 0, "s"},
                      {0x0C, 0, "t"}}),
              0);
    surface.SetTextColor(0x123456);
    surface.ClearLog();
    EXPECT_EQ(PaintView(view.get(), false), 0);
    EXPECT_EQ(Drawn(), (std::vector<std::string>{
                           // The hang word in its column left of the line.
                           Text(2, 0, 14, 12, kBlackText, "ab"),
                           Text(14, 0, 44, 12, kBlackText, "cd ef"),
                           Text(14, 12, 26, 24, kBlackText, "gh"),
                           // Reversed: the column stands right of the line.
                           Text(46, 24, 58, 36, kBlackText, "ba"),
                           Text(16, 24, 46, 36, kBlackText, "fe dc"),
                           Text(34, 36, 46, 48, kBlackText, "hg"),
                           "Rectangle [0,54,30,55] pen=0x000000 brush=0x000000",
                           Text(0, 60, 7, 74, "0x800000", "s"),
                           Text(0, 74, 10, 94, "0xFF0000", "t"),
                       }));
    // Font and text colour are as they were before.
    EXPECT_EQ(surface.GetTextColor(), 0x123456u);
    EXPECT_EQ(surface.GetTextMetrics().height, 10);
}

struct MatchCase {
    const char* what;
    std::vector<Record> records;
    content::LetterOptions letters;
    std::uint16_t markStart, markEnd;
    std::vector<std::string> highlighted;
};

const content::LetterOptions kPlain{content::kBaseLatin, false};

const MatchCase kMatchCases[] = {
    {"a match across two lines is drawn on both",
     {{0x01, 0, "aaaa bbbb cccc"}},
     kPlain,
     9,
     14,
     {Text(42, 0, 54, 12, kMatch, "bb"), Text(0, 12, 12, 24, kMatch, "cc")}},
    {"a line that only touches the match draws nothing",
     {{0x01, 0, "aaaa bbbb cccc"}},
     kPlain,
     11,
     13,
     {Text(0, 12, 6, 24, kMatch, "c")}},
    {"no match, no highlight", {{0x01, 0, "aaaa bbbb cccc"}}, kPlain, 0, 0, {}},
    {"a match at the end of a hanging line's text",
     {{0x01, 0x42, "ab cd ef gh"}},
     kPlain,
     8,
     10,
     {Text(32, 0, 44, 12, kMatch, "ef")}},
    {"a match inside a reversed record's hang word",
     {{0x31, 0x42, "hg fe dc ba"}},
     kPlain,
     11,
     13,
     {Text(46, 0, 58, 12, kMatch, "ba")}},
    {"with Reverse on, the highlight stands on the mirrored characters",
     {{0x01, 0, "abcdef"}},
     {content::kBaseUnicode, true},
     3,
     5,
     {Text(18, 0, 30, 12, kMatch, "\u05D2\u05D1")}},
};

class MatchCases : public ViewTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchCases, DrawsTheMatchBlueOnYellow) {
    const MatchCase& c = GetParam();
    Open(60, 100);
    letters = c.letters;
    ASSERT_EQ(Layout(c.records), 0);
    view->markStart = c.markStart;
    view->markEnd = c.markEnd;
    surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
    surface.ClearLog();
    EXPECT_EQ(PaintView(view.get(), false), 0);
    EXPECT_EQ(DrawnIn(kMatch), c.highlighted);
    if (!c.highlighted.empty()) {
        // Drawn opaque on yellow, and the surface's colours and mode come back.
        const auto& log = surface.Log();
        EXPECT_NE(std::find(log.begin(), log.end(), "BackgroundColor 0x00FFFF"), log.end());
        auto mode = std::find_if(log.rbegin(), log.rend(),
                                 [](const std::string& l) { return l.starts_with("Background"); });
        ASSERT_NE(mode, log.rend());
        EXPECT_EQ(*mode, "BackgroundMode transparent");
    }
}

INSTANTIATE_TEST_SUITE_P(View, MatchCases, ::testing::ValuesIn(kMatchCases));

TEST_F(ViewTest, PaintNeedsADocument) {
    Open(60, 60);
    EXPECT_EQ(PaintView(view.get(), true), result::kMissing);
    EXPECT_EQ(PaintMatch(view.get()), result::kMissing);
    EXPECT_EQ(PaintView(nullptr, true), result::kMissing);
}

}  // namespace
}  // namespace vaelo::view
