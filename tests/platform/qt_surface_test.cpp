// What only the Qt surface can show: where the ink of its text lands, and its pixels.
#include "platform/qt/qt_surface.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <algorithm>
#include <climits>
#include <string>

#include "tests/platform/qt_test_app.h"

namespace vaelo::platform::qt {
namespace {

constexpr QRgb kWhitePixel = 0xFFFFFFFF;

struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    bool Empty() const { return left > right; }
};

// Bounds of every pixel that is not `paper`.
Ink InkOf(const QImage& image, QRgb paper = kWhitePixel) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != paper) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

QRgb Pixel(Color c) { return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c)); }

class QtSurfaceTest : public ::testing::Test {
  protected:
    QtSurfaceTest() { vaelo::testing::QtTestApp(); }

    // A fresh surface with a 24-pixel default-face font selected.
    struct Canvas {
        QtSurface dc;
        GdiObject font;
        ObjectHandle stockFont;
        Canvas(int w, int h) : dc(w, h), font(dc, dc.CreateFont(u"", 24, kWeightNormal)) {
            stockFont = dc.Select(font.Get());
        }
        ~Canvas() { dc.Select(stockFont); }
        int Width(std::u16string_view s) { return dc.TextExtent(s.data(), int(s.size())).cx; }
        void Out(int x, int y, std::u16string_view s) {
            dc.TextOut({x, y}, s.data(), int(s.size()));
        }
    };
};

TEST_F(QtSurfaceTest, InkLiesWithinTheMeasuredWidth) {
    // Hebrew, Hebrew with Latin and digits, and a character no installed font has (a box).
    for (std::u16string s : {u"םולש רפס", u"הז 42 Reader", u"א\uE000ב"}) {
        Canvas c(300, 60);
        c.dc.SetBackgroundMode(BackgroundMode::Transparent);
        const int w = c.Width(s);
        const int h = c.dc.GetTextMetrics().height;
        c.Out(40, 10, s);
        const Ink ink = InkOf(c.dc.Image());
        SCOPED_TRACE(std::string(s.begin(), s.end()));
        ASSERT_FALSE(ink.Empty());
        EXPECT_GE(ink.left, 40);
        EXPECT_LE(ink.left, 40 + 3) << "the first glyph starts at the point";
        EXPECT_LT(ink.right, 40 + w);
        EXPECT_GT(ink.right, 40 + w - 6) << "the last glyph ends near the measured width";
        EXPECT_GE(ink.top, 10);
        EXPECT_LT(ink.bottom, 10 + h);
    }
}

TEST_F(QtSurfaceTest, TextIsDrawnInStringOrderAtTheMeasuredAdvances) {
    const std::u16string alef = u"א", bet = u"ב";
    auto draw = [](auto paint) {
        Canvas c(100, 40);
        c.dc.SetBackgroundMode(BackgroundMode::Transparent);
        paint(c);
        return c.dc.Image();
    };
    const QImage together = draw([&](Canvas& c) { c.Out(10, 5, alef + bet); });
    const QImage apart = draw([&](Canvas& c) {
        c.Out(10, 5, alef);
        c.Out(10 + c.Width(alef), 5, bet);
    });
    const QImage swapped = draw([&](Canvas& c) { c.Out(10, 5, bet + alef); });
    // "אב" is alef at the point, bet right of it: no reordering, and each glyph exactly where
    // the measurement put it.
    EXPECT_TRUE(together == apart) << "\"אב\" is not alef, then bet at alef's measured width";
    EXPECT_TRUE(together != swapped);
}

TEST_F(QtSurfaceTest, DrawTextCentresInTheRectAndClipsToIt) {
    const std::u16string s = u"ןורחא קרפ";
    auto centred = [&](const Rect& r) {
        Canvas c(300, 80);
        c.dc.DrawTextCentered(r, s.data(), int(s.size()));
        return c.dc.Image();
    };
    auto at = [&](Point p) {
        Canvas c(300, 80);
        c.Out(p.x, p.y, s);
        return c.dc.Image();
    };
    Canvas probe(1, 1);
    const int w = probe.Width(s);
    const int h = probe.dc.GetTextMetrics().height;
    // A rect exactly as wide and high as the text: the text sits at its top left.
    EXPECT_TRUE(centred({30, 20, 30 + w, 20 + h}) == at({30, 20}));
    // A larger one: centred both ways, odd remainders rounded down.
    EXPECT_TRUE(centred({11, 3, 11 + w + 41, 3 + h + 21}) == at({11 + 20, 3 + 10}));
    // A narrower one: nothing outside the rect.
    const Rect narrow{50, 20, 50 + w / 2, 20 + h};
    const Ink ink = InkOf(centred(narrow));
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, narrow.left);
    EXPECT_LT(ink.right, narrow.right);
}

TEST_F(QtSurfaceTest, OpaqueTextFillsItsBoxWithTheBackgroundColour) {
    for (BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
        Canvas c(120, 50);
        GdiObject navy(c.dc, c.dc.CreateSolidBrush(kNavy));
        c.dc.FillRect({0, 0, 120, 50}, navy.Get());
        c.dc.SetBackgroundMode(mode);
        c.dc.SetBackgroundColor(kYellow);
        c.dc.SetTextColor(kBlue);
        const std::u16string s = u"ךורב";
        c.Out(10, 10, s);
        const int w = c.Width(s), h = c.dc.GetTextMetrics().height;
        const QImage& image = c.dc.Image();
        const QRgb box = mode == BackgroundMode::Opaque ? Pixel(kYellow) : Pixel(kNavy);
        EXPECT_EQ(image.pixel(10, 10), box);
        EXPECT_EQ(image.pixel(10 + w - 1, 10 + h - 1), box);
        EXPECT_EQ(image.pixel(10 + w, 10), Pixel(kNavy));
        EXPECT_EQ(image.pixel(10, 10 + h), Pixel(kNavy));
        EXPECT_EQ(image.pixel(9, 10), Pixel(kNavy));
    }
}

TEST_F(QtSurfaceTest, FillsAndRectanglesLandOnTheirPixels) {
    QtSurface dc(40, 30);
    GdiObject red(dc, dc.CreateSolidBrush(kRed));
    GdiObject bluePen(dc, dc.CreatePen(kBlue));
    dc.FillRect({2, 3, 6, 7}, red.Get());
    dc.FillRect({0, 0, 40, 30}, kNoObject);  // no brush: skipped
    {
        SelectScope pen(dc, bluePen.Get());
        SelectScope brush(dc, dc.GetStockBrush(StockBrush::Black));
        dc.DrawRectangle({10, 10, 20, 16});
        dc.DrawRectangle({10, 25, 30, 26});  // one pixel high: only the outline
    }
    const QImage& image = dc.Image();
    const struct {
        int x, y;
        Color color;
    } cases[] = {
        {2, 3, kRed},     {5, 6, kRed},     {6, 6, kWhite},   {5, 7, kWhite},  {1, 3, kWhite},
        {10, 10, kBlue},  {19, 10, kBlue},  {19, 15, kBlue},  {10, 15, kBlue}, {11, 11, kBlack},
        {18, 14, kBlack}, {20, 12, kWhite}, {15, 16, kWhite}, {10, 25, kBlue}, {29, 25, kBlue},
        {30, 25, kWhite}, {20, 24, kWhite}, {20, 26, kWhite},
    };
    for (const auto& k : cases)
        EXPECT_EQ(image.pixel(k.x, k.y), Pixel(k.color)) << "(" << k.x << "," << k.y << ")";
}

TEST_F(QtSurfaceTest, CopyBitmapCopiesItsPixelsUnchangedAndClips) {
    SmallBitmap bitmap;
    for (int i = 0; i < SmallBitmap::kSide * SmallBitmap::kSide; ++i)
        bitmap.pixels[i] = static_cast<Color>(i * 0x030507 + 0x102030) & 0xFFFFFF;
    QtSurface dc(20, 20);
    dc.CopyBitmap({5, 4}, bitmap);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(dc.Image().pixel(5 + x, 4 + y), Pixel(bitmap.pixels[y * 9 + x]))
                << x << "," << y;
    EXPECT_EQ(dc.Image().pixel(14, 4), kWhitePixel);
    EXPECT_EQ(dc.Image().pixel(5, 13), kWhitePixel);
    // Partly off the image on every side: the part inside lands, nothing else is touched.
    dc.CopyBitmap({-4, -4}, bitmap);
    dc.CopyBitmap({15, 15}, bitmap);
    EXPECT_EQ(dc.Image().pixel(0, 0), Pixel(bitmap.pixels[4 * 9 + 4]));
    EXPECT_EQ(dc.Image().pixel(19, 19), Pixel(bitmap.pixels[4 * 9 + 4]));
}

TEST_F(QtSurfaceTest, ResizeKeepsTheSharedPartAndWhitensTheRest) {
    QtSurface dc(10, 10);
    dc.FillRect({0, 0, 10, 10}, dc.GetStockBrush(StockBrush::Black));
    dc.Resize(20, 5);
    EXPECT_EQ(dc.Width(), 20);
    EXPECT_EQ(dc.Height(), 5);
    EXPECT_EQ(dc.Image().pixel(9, 4), Pixel(kBlack));
    EXPECT_EQ(dc.Image().pixel(10, 0), kWhitePixel);
    dc.Resize(0, 0);  // an empty surface draws nothing and does not fail
    dc.FillRect({0, 0, 5, 5}, dc.GetStockBrush(StockBrush::Black));
    dc.TextOut({0, 0}, u"א", 1);
}

TEST_F(QtSurfaceTest, FontsFollowTheRequest) {
    QtSurface dc(10, 10);
    EXPECT_TRUE(
        QFontDatabase::writingSystems(QtSurface::DefaultFamily()).contains(QFontDatabase::Hebrew));
    auto metrics = [&](int height, int weight) {
        GdiObject font(dc, dc.CreateFont(u"", height, weight));
        SelectScope scope(dc, font.Get());
        return std::pair(dc.GetTextMetrics().height, dc.TextExtent(u"שלום", 4).cx);
    };
    EXPECT_EQ(metrics(0, kWeightNormal), metrics(QtSurface::kDefaultFontHeight, kWeightNormal));
    EXPECT_EQ(dc.GetTextMetrics().height, metrics(0, kWeightNormal).first) << "the stock font";
    EXPECT_NE(metrics(40, kWeightNormal), metrics(20, kWeightNormal));
    // A face that is not installed still gives a font, and one that draws Hebrew.
    GdiObject missing(dc, dc.CreateFont(u"No Such Face At All", 20, kWeightBold));
    ASSERT_TRUE(missing);
    SelectScope scope(dc, missing.Get());
    EXPECT_GT(dc.TextExtent(u"א", 1).cx, 0);
}

// A sample for a person to look at: Hebrew lines right-aligned as the view lays them out, a
// rule, and a highlighted match.
TEST_F(QtSurfaceTest, SavesASample) {
    Canvas c(420, 170);
    auto visual = [](std::u16string logical) {  // pure Hebrew: display order is reversed
        std::reverse(logical.begin(), logical.end());
        return logical;
    };
    const std::u16string lines[] = {visual(u"בראשית הספר הזה נכתב לקורא"),
                                    visual(u"שורה שנייה עם מילה מודגשת"),
                                    visual(u"וזו השורה השלישית והאחרונה")};
    const int h = c.dc.GetTextMetrics().height;
    int y = 8;
    for (const auto& line : lines) {
        c.Out(410 - c.Width(line), y, line);
        y += h;
    }
    {
        SelectScope brush(c.dc, c.dc.GetStockBrush(StockBrush::Black));
        c.dc.DrawRectangle({10, y + h / 2, 410, y + h / 2 + 1});
    }
    y += h;
    const std::u16string word = visual(u"מודגשת");
    const int w = c.Width(word);
    c.dc.SetBackgroundColor(kYellow);
    c.dc.SetTextColor(kBlue);
    c.dc.DrawTextCentered({410 - w, y, 410, y + h}, word.data(), int(word.size()));
    c.dc.SetTextColor(kBlack);
    const std::string path = std::string(VAELO_TEST_OUTPUT_DIR) + "/qt_surface_sample.png";
    EXPECT_TRUE(c.dc.Image().save(QString::fromStdString(path), "PNG")) << path;
}

}  // namespace
}  // namespace vaelo::platform::qt
