#include "view/title_box.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/view/view_fixture.h"
#include "view/paint.h"

namespace vaelo::view {
namespace {

using platform::headless::HeadlessSurface;
using testing::Record;

// The headless surface with 5 px characters, so titles of 20 and 16 characters are 100 and 80
// pixels wide under a 12 px font. Everything else, the log included, is the headless one's.
class FivePixelSurface final : public platform::Surface {
  public:
    explicit FivePixelSurface(HeadlessSurface& inner) : s_(inner) {}
    int Width() const override { return s_.Width(); }
    int Height() const override { return s_.Height(); }
    platform::ObjectHandle CreateFont(const std::u16string& f, int h, int w, bool u = false) override {
        return s_.CreateFont(f, h, w, u);
    }
    platform::ObjectHandle CreatePen(Color c) override { return s_.CreatePen(c); }
    platform::ObjectHandle CreateSolidBrush(Color c) override { return s_.CreateSolidBrush(c); }
    platform::ObjectHandle GetStockBrush(platform::StockBrush b) override {
        return s_.GetStockBrush(b);
    }
    platform::ObjectHandle Select(platform::ObjectHandle o) override { return s_.Select(o); }
    bool DeleteObject(platform::ObjectHandle o) override { return s_.DeleteObject(o); }
    platform::TextMetrics GetTextMetrics() override { return s_.GetTextMetrics(); }
    int FitCount(const char16_t*, int count, int maxWidth) override {
        return std::clamp(maxWidth / 5, 0, count);
    }
    Size TextExtent(const char16_t* t, int count) override {
        return {count * 5, s_.TextExtent(t, count).cy};
    }
    void DrawTextCentered(const Rect& r, const char16_t* t, int n) override {
        s_.DrawTextCentered(r, t, n);
    }
    void TextOut(Point at, const char16_t* t, int n) override { s_.TextOut(at, t, n); }
    platform::BackgroundMode SetBackgroundMode(platform::BackgroundMode m) override {
        return s_.SetBackgroundMode(m);
    }
    Color SetTextColor(Color c) override { return s_.SetTextColor(c); }
    Color GetTextColor() const override { return s_.GetTextColor(); }
    Color SetBackgroundColor(Color c) override { return s_.SetBackgroundColor(c); }
    void FillRect(const Rect& r, platform::ObjectHandle b) override { s_.FillRect(r, b); }
    void DrawRectangle(const Rect& r) override { s_.DrawRectangle(r); }
    void CopyBitmap(Point at, const platform::SmallBitmap& b) override { s_.CopyBitmap(at, b); }
    std::vector<platform::FontFamily> EnumFontFamilies() override { return s_.EnumFontFamilies(); }
    int DpiY() const override { return s_.DpiY(); }

  private:
    HeadlessSurface& s_;
};

struct BoxCase {
    const char* what;
    std::vector<Record> records;
    std::vector<std::string> drawn;  // the box's outlines, fill and titles
};

const std::string k20(20, 'a'), k16(16, 'b');

const BoxCase kBoxCases[] = {
    {"two titles, 100 and 80 px: 132 x 34, 54 px in, 2 px above the bottom",
     {{0xDC, 0, k20}, {0xD1, 0, k16}, {0x01, 0, "text"}},
     {"Rectangle [54,284,186,318] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [55,285,185,317] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [56,286,184,316] pen=0xFFFFFF brush=0xFFFFFF",
      "Rectangle [57,287,183,315] pen=0xFF0000 brush=0xFFFFFF",
      "Rectangle [58,288,182,314] pen=0xFF0000 brush=0xFFFFFF", "FillRect [59,289,181,313] 0x00FFFF",
      "DrawText [70,289,170,301] color=0x0000FF \"" + k20 + "\"",
      "DrawText [80,301,160,313] color=0x0000FF \"" + k16 + "\""}},
    {"only a second title: one line",
     {{0xD1, 0, k16}, {0x01, 0, "text"}},
     {"Rectangle [64,296,176,318] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [65,297,175,317] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [66,298,174,316] pen=0xFFFFFF brush=0xFFFFFF",
      "Rectangle [67,299,173,315] pen=0xFF0000 brush=0xFFFFFF",
      "Rectangle [68,300,172,314] pen=0xFF0000 brush=0xFFFFFF", "FillRect [69,301,171,313] 0x00FFFF",
      "DrawText [80,301,160,313] color=0x0000FF \"" + k16 + "\""}},
    {"a title wider than the view is cut; the box is the view's width",
     {{0xDC, 0, std::string(60, 'c')}},
     {"Rectangle [0,296,240,318] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [1,297,239,317] pen=0x0000FF brush=0xFFFFFF",
      "Rectangle [2,298,238,316] pen=0xFFFFFF brush=0xFFFFFF",
      "Rectangle [3,299,237,315] pen=0xFF0000 brush=0xFFFFFF",
      "Rectangle [4,300,236,314] pen=0xFF0000 brush=0xFFFFFF", "FillRect [5,301,235,313] 0x00FFFF",
      "DrawText [0,301,240,313] color=0x0000FF \"" + std::string(48, 'c') + "\""}},
    {"no title records, no box", {{0x01, 0, k20}, {0xD1, 0, k16}}, {}},
};

class BoxCases : public testing::ViewTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxCases, RepeatsTheTitlesAtTheBottom) {
    const BoxCase& c = GetParam();
    FivePixelSurface five(surface);
    FontSpec spec16;
    spec16.fontSize = 16;  // the small style's font is 12 px high
    spec16.fontAsciiBase = content::kBaseLatin;
    const Rect rect{0, 0, 240, 320};
    auto box = CreateTextView(&five, &rect, spec16, 100);
    ASSERT_EQ(LayoutDocument(box.get(), testing::MakeDocument(c.records), true), 0);
    surface.ClearLog();
    ShowTitleBox(box.get());
    // Where the headless surface centres the text inside each box follows its own 6 px
    // characters; the boxes themselves are what is laid out here.
    std::vector<std::string> drawn;
    for (std::string line : Drawn()) {
        const auto at = line.find(" at (");
        if (at != std::string::npos) line.erase(at, line.find(')', at) + 1 - at);
        drawn.push_back(line);
    }
    EXPECT_EQ(drawn, c.drawn);
    // The next paint erases it.
    surface.ClearLog();
    PaintView(box.get(), true);
    EXPECT_EQ(Drawn().front(), "FillRect [0,0,240,320] 0xFFFFFF");
}

INSTANTIATE_TEST_SUITE_P(View, BoxCases, ::testing::ValuesIn(kBoxCases));

TEST(TitleBox, FindsTitleRecordsAtTheStart) {
    const auto doc = testing::MakeDocument({{0xDC, 0, "first"}, {0xD1, 0, "second"}});
    TitleText first, second;
    FindTitles(doc, &first, &second);
    EXPECT_EQ(first.length, 5);
    EXPECT_EQ(first.text, doc.data() + 2);
    EXPECT_EQ(second.length, 6);
    FindTitles(content::Document{}, &first, &second);
    EXPECT_EQ(first.length + second.length, 0);
}

}  // namespace
}  // namespace vaelo::view
