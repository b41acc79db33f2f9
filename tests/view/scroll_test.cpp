#include "view/scroll.h"

#include <gtest/gtest.h>

#include "tests/view/view_fixture.h"

namespace vaelo::view {
namespace {

using testing::ViewTest;

struct ScrollCase {
    const char* what;
    std::uint16_t topRow, rowCount, maxTopRow;
    int delta;
    bool endRule;
    int result;
    std::uint16_t topRowAfter;
};

const ScrollCase kScrollCases[] = {
    {"up from row 0 changes nothing", 0, 20, 3, -1, true, kScrollUnchanged, 0},
    {"down may pass the largest top row", 0, 20, 3, 5, true, kScrollMoved, 5},
    {"no step down from the largest top row", 12, 20, 12, 4, true, kScrollUnchanged, 12},
    {"past the rows means the largest top row", 0, 20, 12, 100, true, kScrollMoved, 12},
    {"without the end rule one row past it", 12, 20, 12, 1, false, kScrollMoved, 13},
    {"without the end rule, not past the rows", 20, 20, 12, 1, false, kScrollUnchanged, 20},
    {"up from past the end works", 5, 20, 3, -2, true, kScrollMoved, 3},
};

class ScrollCases : public ViewTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollCases, MovesTheTopRow) {
    const ScrollCase& c = GetParam();
    Open(60, 60);
    view->topRow = c.topRow;
    view->rowCount = c.rowCount;
    view->maxTopRow = c.maxTopRow;
    EXPECT_EQ(ScrollView(view.get(), c.delta, false, c.endRule), c.result);
    EXPECT_EQ(view->topRow, c.topRowAfter);
}

INSTANTIATE_TEST_SUITE_P(View, ScrollCases, ::testing::ValuesIn(kScrollCases));

TEST_F(ViewTest, ScrollRepaintsOnlyWhenTheRowChanges) {
    Open(60, 24);
    ASSERT_EQ(Layout({{0x01, 0, "aa"}, {0x01, 0, "bb"}, {0x01, 0, "cc"}}), 0);
    surface.ClearLog();
    EXPECT_EQ(ScrollView(view.get(), -1, true, true), kScrollUnchanged);
    EXPECT_TRUE(Drawn().empty());
    EXPECT_EQ(ScrollView(view.get(), 1, true, true), 0);
    EXPECT_EQ(Drawn().front(), "FillRect [0,0,60,24] 0xFFFFFF");
    EXPECT_EQ(ScrollView(nullptr, 1, true, true), result::kMissing);
}

TEST_F(ViewTest, ScrollToOffsetFindsTheLineHoldingIt) {
    // Lines: [2,12] (the first space at the break drawn last), [14,18], then dd, ee, ff.
    Open(60, 24);
    ASSERT_EQ(
        Layout({{0x01, 0, "aaaa bbbb   cccc"}, {0x01, 0, "dd"}, {0x01, 0, "ee"}, {0x01, 0, "ff"}}),
        0);
    ASSERT_EQ(view->maxTopRow, 3);
    const struct {
        std::uint16_t offset;
        int found;
        std::uint16_t topRow;
    } cases[] = {
        {12, 1, 0},  // one past the line's last byte still belongs to it
        {13, 0, 2},  // inside the run of spaces at the break: no line
        {15, 1, 1},
        {31, 1, 3},  // on the last page: never past the largest top row
    };
    for (const auto& c : cases) {
        view->topRow = 2;
        EXPECT_EQ(ScrollToOffset(view.get(), c.offset), c.found) << c.offset;
        EXPECT_EQ(view->topRow, c.topRow) << c.offset;
    }
}

TEST_F(ViewTest, SearchResumesFromTheTopLineOrTheMatch) {
    // Rows: [2,11] 0, [12,16] 1, blank 2, [19,28] 3; the largest top row is 2 (the blank).
    // The document is 30 bytes long.
    Open(60, 24);
    ASSERT_EQ(Layout({{0x81, 0, "aaaa bbbb cccc"}, {0x01, 0, "dddd eeee"}}), 0);
    ASSERT_EQ(view->maxTopRow, 2);
    const struct {
        const char* what;
        std::uint16_t topRow, markStart, markEnd, start;
    } cases[] = {
        {"no match: the top line's last byte", 0, 0, 0, 10},
        {"match at the top line's first byte: end of the next line", 0, 2, 4, 16},
        {"match ending on the top line: just before it", 0, 7, 9, 6},
        {"match below the top line", 1, 19, 21, 15},
        {"from the blank top row, the line below it", 2, 21, 23, 20},
        {"at the largest top row without a match: still the top line", 2, 0, 0, 27},
        {"match at the last line's first byte: nothing after it", 3, 19, 21, 30},
        {"past the last line: nothing left to search here", 4, 0, 0, 30},
    };
    for (const auto& c : cases) {
        view->topRow = c.topRow;
        view->markStart = c.markStart;
        view->markEnd = c.markEnd;
        EXPECT_EQ(SearchStartOffset(*view), c.start) << c.what;
    }
}

}  // namespace
}  // namespace vaelo::view
