// The drawing and settings contract that the program relies on, run against every backend:
// what a test proves on the headless surface must also hold on the Qt one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/headless/headless_surface.h"
#include "platform/qt/qt_surface.h"
#include "platform/settings_file.h"
#include "tests/platform/qt_test_app.h"

namespace vaelo::platform {
namespace {

template <class S>
std::unique_ptr<Surface> MakeSurface(int width, int height) {
    if constexpr (std::is_same_v<S, qt::QtSurface>) vaelo::testing::QtTestApp();
    return std::make_unique<S>(width, height);
}

template <class S>
class SurfaceContract : public ::testing::Test {
  protected:
    std::unique_ptr<Surface> surface = MakeSurface<S>(200, 100);
    Surface& dc = *surface;
};

using Backends = ::testing::Types<headless::HeadlessSurface, qt::QtSurface>;
TYPED_TEST_SUITE(SurfaceContract, Backends);

const std::u16string kHebrew = u"םולש רפס הז";
const std::u16string kLatin = u"Reader 42";

int Width(Surface& dc, const std::u16string& s, int n) { return dc.TextExtent(s.data(), n).cx; }

TYPED_TEST(SurfaceContract, EmptyTextIsZeroWideAndWidthsGrowWithTheString) {
    Surface& dc = this->dc;
    const TextMetrics metrics = dc.GetTextMetrics();
    EXPECT_GT(metrics.height, 0);
    EXPECT_GT(metrics.maxCharWidth, 0);
    EXPECT_EQ(dc.TextExtent(u"", 0), (Size{0, metrics.height}));
    for (const auto& s : {kHebrew, kLatin}) {
        for (int n = 1; n <= static_cast<int>(s.size()); ++n) {
            const Size extent = dc.TextExtent(s.data(), n);
            EXPECT_GT(extent.cx, Width(dc, s, n - 1)) << "prefix " << n;
            EXPECT_EQ(extent.cy, metrics.height);
        }
    }
}

TYPED_TEST(SurfaceContract, FitCountIsTheLongestPrefixThatFits) {
    Surface& dc = this->dc;
    const std::u16string& s = kHebrew;
    const int count = static_cast<int>(s.size());
    const int full = Width(dc, s, count);
    for (int maxWidth : {-5, 0, 1, Width(dc, s, 3) - 1, Width(dc, s, 3), Width(dc, s, 3) + 1,
                         full - 1, full, full + 100}) {
        const int fit = dc.FitCount(s.data(), count, maxWidth);
        SCOPED_TRACE(maxWidth);
        ASSERT_GE(fit, 0);
        ASSERT_LE(fit, count);
        EXPECT_LE(Width(dc, s, fit), std::max(maxWidth, 0));
        if (fit < count) {
            EXPECT_GT(Width(dc, s, fit + 1), maxWidth);
        }
    }
    EXPECT_EQ(dc.FitCount(s.data(), 0, 1000), 0);
}

TYPED_TEST(SurfaceContract, ABiggerFontMeasuresBiggerAndNegativeHeightIsItsMagnitude) {
    Surface& dc = this->dc;
    GdiObject small(dc, dc.CreateFont(u"", 12, kWeightNormal));
    GdiObject large(dc, dc.CreateFont(u"", 30, kWeightBold));
    GdiObject negative(dc, dc.CreateFont(u"", -30, kWeightBold));
    ASSERT_TRUE(small && large && negative);
    auto measure = [&](ObjectHandle font) {
        SelectScope scope(dc, font);
        return std::pair(dc.GetTextMetrics().height, Width(dc, kHebrew, 5));
    };
    const auto [smallHeight, smallWidth] = measure(small.Get());
    const auto [largeHeight, largeWidth] = measure(large.Get());
    EXPECT_GT(largeHeight, smallHeight);
    EXPECT_GT(largeWidth, smallWidth);
    EXPECT_EQ(measure(negative.Get()), measure(large.Get()));
}

TYPED_TEST(SurfaceContract, SelectReturnsThePreviousObjectOfItsKind) {
    Surface& dc = this->dc;
    GdiObject font(dc, dc.CreateFont(u"", 20, kWeightNormal));
    GdiObject pen(dc, dc.CreatePen(kRed));
    GdiObject brush(dc, dc.CreateSolidBrush(kYellow));
    ASSERT_TRUE(font && pen && brush);
    for (ObjectHandle object : {font.Get(), pen.Get(), brush.Get()}) {
        const ObjectHandle previous = dc.Select(object);
        ASSERT_NE(previous, kNoObject) << "a new surface has an object of every kind selected";
        EXPECT_EQ(dc.Select(object), object);  // selecting it again hands it back
        EXPECT_EQ(dc.Select(previous), object);
        EXPECT_EQ(dc.Select(previous), previous);
    }
    // The kinds are kept apart: a pen does not replace the font.
    const ObjectHandle oldFont = dc.Select(font.Get());
    const ObjectHandle oldPen = dc.Select(pen.Get());
    EXPECT_EQ(dc.Select(oldFont), font.Get());
    EXPECT_EQ(dc.Select(oldPen), pen.Get());
    // Nothing and unknown handles change nothing.
    EXPECT_EQ(dc.Select(kNoObject), kNoObject);
    EXPECT_EQ(dc.Select(0xBADBAD), kNoObject);
    EXPECT_EQ(dc.Select(oldFont), oldFont);
}

TYPED_TEST(SurfaceContract, DeleteRefusesSelectedAndStockObjects) {
    Surface& dc = this->dc;
    const ObjectHandle pen = dc.CreatePen(kBlue);
    const ObjectHandle font = dc.CreateFont(u"", 14, kWeightNormal);
    ASSERT_NE(pen, kNoObject);
    ASSERT_NE(font, kNoObject);
    for (ObjectHandle object : {pen, font}) {
        const ObjectHandle previous = dc.Select(object);
        EXPECT_FALSE(dc.DeleteObject(object));
        dc.Select(previous);
        EXPECT_TRUE(dc.DeleteObject(object));
        EXPECT_FALSE(dc.DeleteObject(object));
        EXPECT_EQ(dc.Select(object), kNoObject) << "a deleted object is gone";
    }
    const ObjectHandle white = dc.GetStockBrush(StockBrush::White);
    const ObjectHandle black = dc.GetStockBrush(StockBrush::Black);
    EXPECT_NE(white, black);
    EXPECT_EQ(dc.GetStockBrush(StockBrush::Black), black);
    EXPECT_FALSE(dc.DeleteObject(black));
    EXPECT_FALSE(dc.DeleteObject(kNoObject));
}

TYPED_TEST(SurfaceContract, ColoursAndModeReturnThePreviousValue) {
    Surface& dc = this->dc;
    EXPECT_EQ(dc.GetTextColor(), kBlack);
    EXPECT_EQ(dc.SetTextColor(kBlue), kBlack);
    EXPECT_EQ(dc.GetTextColor(), kBlue);
    EXPECT_EQ(dc.SetTextColor(kNavy), kBlue);
    EXPECT_EQ(dc.SetBackgroundColor(kYellow), kWhite);
    EXPECT_EQ(dc.SetBackgroundColor(kWhite), kYellow);
    EXPECT_EQ(dc.SetBackgroundMode(BackgroundMode::Transparent), BackgroundMode::Opaque);
    EXPECT_EQ(dc.SetBackgroundMode(BackgroundMode::Opaque), BackgroundMode::Transparent);
}

TYPED_TEST(SurfaceContract, FamiliesIncludeAHebrewOneAndDpiIsSet) {
    Surface& dc = this->dc;
    const auto families = dc.EnumFontFamilies();
    EXPECT_TRUE(std::any_of(families.begin(), families.end(),
                            [](const FontFamily& f) { return f.charset == kHebrewCharset; }));
    EXPECT_GT(dc.DpiY(), 0);
}

// Settings: a value comes back with its type from the memory store and from the file store,
// also once the file is read again.
class SettingsContract : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vaelo-contract-" + std::to_string(::getpid()) + (GetParam() ? "-file" : "-mem"));
        std::filesystem::remove_all(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::unique_ptr<MemorySettingsStore> Open() {
        if (!GetParam()) return std::make_unique<MemorySettingsStore>();
        return std::make_unique<FileSettingsStore>((dir_ / "settings.vreg").string());
    }
    std::filesystem::path dir_;
};

TEST_P(SettingsContract, ValuesRoundTripWithTheirType) {
    const SettingValue values[] = {
        SettingValue::Number(0),   SettingValue::Number(0xFFFFFFFF),
        SettingValue::String(u""), SettingValue::String(u"David CLM \"ספר\" \\ =\n"),
        SettingValue::Bytes({}),   SettingValue::Bytes({0, 1, 0xFF, '\n', '='}),
    };
    auto store = Open();
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(store->Write("Software\\Tarvenco\\Vaelo", "V" + std::to_string(i), values[i]));
    EXPECT_TRUE(store->KeyExists("software\\tarvenco"));
    auto check = [&](const MemorySettingsStore& s) {
        for (std::size_t i = 0; i < std::size(values); ++i)
            EXPECT_EQ(s.Read("SOFTWARE\\Tarvenco\\Vaelo", "v" + std::to_string(i)), values[i]) << i;
        EXPECT_EQ(s.Read("Software\\Tarvenco\\Vaelo", "Missing"), std::nullopt);
    };
    check(*store);
    if (GetParam()) check(*Open());
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsContract, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

}  // namespace
}  // namespace vaelo::platform
