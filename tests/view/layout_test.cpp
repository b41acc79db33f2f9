#include <gtest/gtest.h>

#include "tests/view/view_fixture.h"
#include "view/paint.h"

namespace vaelo::view {
namespace {

using testing::Lines;
using testing::Record;
using testing::ViewTest;

struct LayoutCase {
    const char* what;
    int width;
    std::vector<Record> records;
    std::vector<std::string> lines;
    int rows;
};

// Plain text is 6 px a character; a 60 px view holds 10.
const LayoutCase kLayoutCases[] = {
    {"break at a space",
     60,
     {{0x01, 0, "aaaa bbbb cccc"}},
     {"2+9 x=0 w=54 h=12 f=0x01", "12+4 x=0 w=24 h=12 f=0x01"},
     2},
    {"break after a hyphen, which ends the line",
     60,
     {{0x01, 0, "aaaa-bbbbbbb"}},
     {"2+5 x=0 w=30 h=12 f=0x01", "7+7 x=0 w=42 h=12 f=0x01"},
     2},
    {"word wider than the view split at the fit",
     60,
     {{0x01, 0, "aaaaaaaaaaaaaaa"}},
     {"2+10 x=0 w=60 h=12 f=0x01", "12+5 x=0 w=30 h=12 f=0x01"},
     2},
    {"never a break at the line's first byte",
     60,
     {{0x01, 0, "-aaaaaaaaaaaaa"}},
     {"2+10 x=0 w=60 h=12 f=0x01", "12+4 x=0 w=24 h=12 f=0x01"},
     2},
    {"leading spaces skipped, inner ones kept",
     60,
     {{0x01, 0, "  aa  bb"}},
     {"4+6 x=0 w=36 h=12 f=0x01"},
     1},
    {"a character wider than the view still takes a line",
     4,
     {{0x01, 0, "ab"}},
     {"2+1 x=0 w=6 h=12 f=0x01", "3+1 x=0 w=6 h=12 f=0x01"},
     2},
    {"right, centre and left alignment with indents",
     60,
     {{0x21, 5, "aaa"}, {0x41, 4, "aaa"}, {0x01, 5, "aaa"}, {0x61, 5, "aaa"}},
     {"2+3 x=37 w=18 h=12 f=0x21", "8+3 x=23 w=18 h=12 f=0x41", "14+3 x=5 w=18 h=12 f=0x01",
      "20+3 x=5 w=18 h=12 f=0x61"},
     4},
    {"an indent at the view's width starts again at 0",
     60,
     {{0x01, 63, "aa"}},
     {"2+2 x=0 w=12 h=12 f=0x01"},
     1},
    {"hanging first word",
     60,
     {{0x01, 0x42, "ab cd ef gh"}},
     {"2+5 x=14 w=30 hang=12 h=12 f=0x01", "11+2 x=14 w=12 h=12 f=0x01"},
     2},
    {"hanging first word of a reversed record",
     60,
     {{0x31, 0x42, "hg fe dc ba"}},
     {"5+5 x=16 w=30 hang=12 h=12 f=0x31", "2+2 x=34 w=12 h=12 f=0x31"},
     2},
    {"continuation record keeps the running indent, shifted",
     60,
     {{0x01, 0x42, "ab cd"}, {0x01, 0x45, " ef gh"}},
     {"2+2 x=14 w=12 hang=12 h=12 f=0x01", "11+5 x=17 w=30 h=12 f=0x01"},
     2},
    {"continuation record after a rule continues the text before it",
     60,
     {{0x01, 0x42, "ab cd"}, {0x07, 100, ""}, {0x01, 0x45, " ef gh"}},
     {"2+2 x=14 w=12 hang=12 h=12 f=0x01", "10+0 x=0 w=60 h=12 f=0x07",
      "14+5 x=17 w=30 h=12 f=0x01"},
     3},
    {"rules: pixels, percent, cut to the width, and 0",
     240,
     {{0x07, 100, ""}, {0x27, 185, ""}, {0x47, 255, ""}, {0x87, 0, ""}, {0x01, 0, "a"}},
     {"2+0 x=0 w=100 h=12 f=0x07", "5+0 x=120 w=120 h=12 f=0x27", "8+0 x=0 w=240 h=12 f=0x47",
      "14+1 x=0 w=6 h=12 f=0x01"},
     4},
    {"blank row after a paragraph's last line, none after the document's",
     60,
     {{0x81, 0, "aaaa bbbb cccc"}, {0x81, 0, "dd"}},
     {"2+9 x=0 w=54 h=12 f=0x01", "12+4 x=0 w=24 h=12 f=0x81", "19+2 x=0 w=12 h=12 f=0x01"},
     4},
    {"trailing spaces that do not fit still end the paragraph",
     60,
     {{0x81, 0, "aaaaaaaaa   "}, {0x01, 0, "b"}},
     {"2+10 x=0 w=60 h=12 f=0x81", "17+1 x=0 w=6 h=12 f=0x01"},
     3},
    {"a record with flags 0x80 does not end the table early",
     60,
     {{0x80, 0, "aaaa bbbb cccc"}, {0x01, 0, "d"}},
     {"2+9 x=0 w=54 h=12 f=0x00", "12+4 x=0 w=24 h=12 f=0x80", "19+1 x=0 w=6 h=12 f=0x01"},
     4},
    {"row heights and widths follow the style's font",
     60,
     {{0x04, 0, "aa"}, {0x02, 0, "aa"}},
     {"2+2 x=0 w=20 h=20 f=0x04", "7+2 x=0 w=14 h=14 f=0x02"},
     2},
};

class LayoutCases : public ViewTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutCases, FillsTheLineTable) {
    const LayoutCase& c = GetParam();
    Open(c.width, 100);
    ASSERT_EQ(Layout(c.records), 0);
    EXPECT_EQ(Lines(*view), c.lines);
    EXPECT_EQ(view->lineCount, c.lines.size());
    EXPECT_EQ(view->rowCount, c.rows);
}

INSTANTIATE_TEST_SUITE_P(View, LayoutCases, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(ViewTest, MaxTopRowLeavesTheLastPageFull) {
    // Ten 20 px rows in 100 px.
    Open(60, 100);
    ASSERT_EQ(Layout(std::vector<Record>(10, {0x04, 0, "a"})), 0);
    EXPECT_EQ(view->maxTopRow, 5);

    // 50 px over 20 px rows ending in a line with a blank row and one more line: the last page
    // starts at that blank row.
    Open(60, 50);
    ASSERT_EQ(Layout({{0x04, 0, "a"}, {0x04, 0, "b"}, {0x84, 0, "c"}, {0x04, 0, "d"}}), 0);
    EXPECT_EQ(view->rowCount, 5);
    EXPECT_EQ(view->maxTopRow, view->rowCount - 2);

    Open(60, 50);
    EXPECT_EQ(ComputeMaxTopRow(view.get()), -1);
    EXPECT_EQ(view->maxTopRow, 0);
}

TEST_F(ViewTest, RefusesDocumentsItCannotShow) {
    Open(60, 100);
    ASSERT_EQ(Layout({{0x01, 0, "kept"}}), 0);
    view->markStart = 3;
    view->markEnd = 4;
    EXPECT_EQ(Layout({{0x01, 0, ""}, {0x01, 0, "b"}}), kEmptyDocument);
    EXPECT_EQ(LayoutDocument(view.get(), testing::MakeDocument({}), true), kEmptyDocument);
    // The view keeps what it had, but the marks are gone.
    EXPECT_EQ(Lines(*view), std::vector<std::string>{"2+4 x=0 w=24 h=12 f=0x01"});
    EXPECT_TRUE(view->document);
    EXPECT_EQ(view->markStart + view->markEnd, 0);

    // A rule with its empty text is a document that can be shown.
    EXPECT_EQ(Layout({{0x07, 50, ""}}), 0);

    EXPECT_EQ(LayoutDocument(view.get(), content::Document{}, false), result::kNothingToDo);
    EXPECT_TRUE(view->document);
    EXPECT_EQ(LayoutDocument(view.get(), content::Document{}, true), result::kNothingToDo);
    EXPECT_FALSE(view->document);
    EXPECT_EQ(LayoutDocument(nullptr, content::Document{}, true), result::kMissing);
}

TEST_F(ViewTest, MeasuresAtMostTwiceALineAndMakesEachFontOnce) {
    Open(240, 100);
    std::vector<Record> records;
    const std::uint8_t styles[] = {0x01, 0x02, 0x0C, 0x11};
    for (int k = 0; k < 40; ++k)
        records.push_back({styles[k % 4], static_cast<std::uint8_t>(k % 3 == 0 ? 0x45 : 3),
                           "lorem ipsum-dolor sit amet, consectetur adipiscing-elit sed do "
                           "eiusmod tempor incididunt ut labore et dolore magna"});
    surface.ResetCounters();
    ASSERT_EQ(Layout(records), 0);
    ASSERT_GT(view->lineCount, 40);
    EXPECT_LE(surface.FitCalls(), 2 * view->lineCount);
    EXPECT_EQ(surface.FontsCreated(), 4);

    // A second layout finds every font in the cache.
    surface.ResetCounters();
    ASSERT_EQ(ResizeTextView(view.get(), 200, 100), 0);
    EXPECT_EQ(surface.FontsCreated(), 0);
}

TEST_F(ViewTest, TableGrowsBy128WhenFull) {
    Open(60, 100);
    ASSERT_EQ(Layout(std::vector<Record>(100, {0x01, 0, "a"})), 0);
    EXPECT_EQ(view->lineCapacity, 100);
    ASSERT_EQ(Layout(std::vector<Record>(101, {0x01, 0, "a"})), 0);
    EXPECT_EQ(view->lineCapacity, 228);
    EXPECT_EQ(view->lineCount, 101);
}

TEST_F(ViewTest, OutOfMemoryStopsTheLayoutAndDropsTheNewDocument) {
    content::ConversionBuffer shared;
    const std::uint8_t warm[64] = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
    ASSERT_TRUE(content::ConvertLetterCode(warm, &shared, 48, {}));
    const Rect rect{0, 0, 60, 100};
    view = CreateTextView(&surface, &rect, spec, 100, {}, &shared);
    auto doc = testing::MakeDocument(std::vector<Record>(150, {0x01, 0, "a"}));
    platform.heap.FailAllocationsAfter(0);
    EXPECT_EQ(LayoutDocument(view.get(), std::move(doc), true), kOutOfMemory);
    platform.heap.Reset();
    EXPECT_FALSE(view->document);
    EXPECT_TRUE(Lines(*view).empty());
    EXPECT_EQ(PaintView(view.get(), true), result::kMissing);
}

TEST_F(ViewTest, ResizeLaysOutAgainKeepingTheTopRow) {
    Open(60, 24);
    ASSERT_EQ(Layout({{0x01, 0, "aaaa bbbb cccc dddd eeee"}}), 0);
    ASSERT_EQ(view->lineCount, 3);
    view->topRow = 1;
    view->markStart = 4;
    view->markEnd = 6;

    EXPECT_EQ(ResizeTextView(view.get(), 0, 50), kBadSize);
    EXPECT_EQ(view->width, 60);
    EXPECT_EQ(view->markEnd, 6);

    EXPECT_EQ(ResizeTextView(view.get(), 120, 50), 0);
    EXPECT_EQ(view->lineCount, 2);
    EXPECT_EQ(view->topRow, 1);
    EXPECT_EQ(view->markStart + view->markEnd, 0);
    EXPECT_EQ(ResizeTextView(nullptr, 10, 10), result::kMissing);
}

}  // namespace
}  // namespace vaelo::view
