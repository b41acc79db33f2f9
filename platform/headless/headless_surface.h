// A drawing surface with fixed, documented metrics that records every drawing call.
//
// Metrics, so that a test can state exact pixel results:
//  - a font's height h is the height asked for (its magnitude when negative), or 12 when 0 is
//    asked for; a new surface has a stock height-12 font, a black pen and a white brush
//    selected;
//  - the row height (TextMetrics.height) is h, the maximum character width is h;
//  - every character, space included and whatever the weight, is h / 2 pixels wide (at least
//    1); so FitCount is min(count, maxWidth / (h / 2)) and a string of n characters is
//    n × (h / 2) wide and h high;
//  - centred text of width w in a rectangle starts at left + (width − w) / 2 and top +
//    (height − h) / 2, integer division;
//  - 96 dots per inch; two families: "Headless Sans" (charset 0) and "Headless Hebrew" (177).
//
// Drawing calls are kept as lines of text (Log); measurements are only counted
// (FitCalls, ExtentCalls), and so are created fonts (FontsCreated).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace vaelo::platform::headless {

class HeadlessSurface final : public Surface {
public:
    // A new surface has a stock font, pen and brush selected, so selecting an object always
    // hands back one to put back.
    HeadlessSurface(int width, int height);

    static constexpr int kDefaultFontHeight = 12;
    static int CharWidth(int fontHeight) { return fontHeight / 2 > 0 ? fontHeight / 2 : 1; }

    // A window's surface follows its size; what it holds and every object stay.
    void Resize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    ObjectHandle CreateFont(const std::u16string& face, int height, int weight,
                            bool underline = false) override;
    ObjectHandle CreatePen(Color color) override;
    ObjectHandle CreateSolidBrush(Color color) override;
    ObjectHandle GetStockBrush(StockBrush which) override;
    ObjectHandle Select(ObjectHandle object) override;
    bool DeleteObject(ObjectHandle object) override;

    TextMetrics GetTextMetrics() override;
    int FitCount(const char16_t* text, int count, int maxWidth) override;
    Size TextExtent(const char16_t* text, int count) override;

    void DrawTextCentered(const Rect& rect, const char16_t* text, int count) override;
    void TextOut(Point at, const char16_t* text, int count) override;

    BackgroundMode SetBackgroundMode(BackgroundMode mode) override;
    Color SetTextColor(Color color) override;
    Color GetTextColor() const override { return textColor_; }
    Color SetBackgroundColor(Color color) override;

    void FillRect(const Rect& rect, ObjectHandle brush) override;
    void DrawRectangle(const Rect& rect) override;
    void CopyBitmap(Point at, const SmallBitmap& bitmap) override;

    std::vector<FontFamily> EnumFontFamilies() override;
    int DpiY() const override { return 96; }

    // Recorded drawing, one stable line per call.
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // Only the lines that draw text, fill or outline (no selections or colour changes).
    std::vector<std::string> Drawing() const;

    int FitCalls() const { return fitCalls_; }
    int ExtentCalls() const { return extentCalls_; }
    int FontsCreated() const { return fontsCreated_; }
    // Fonts, pens and brushes made and not yet deleted (stock objects not counted).
    int LiveObjects() const;
    void ResetCounters() { fitCalls_ = extentCalls_ = fontsCreated_ = 0; }

    // Makes every following creation of a font, pen or brush fail.
    bool failCreation = false;

private:
    struct Object {
        ObjectKind kind;
        Color color = 0;
        int fontHeight = 0;
        int weight = 0;
        std::u16string face{};
        bool stock = false;
    };
    ObjectHandle Add(Object object);
    int CurrentFontHeight() const;
    std::string Name(ObjectHandle h) const;
    std::string Describe(const char16_t* text, int count) const;

    int width_;
    int height_;
    std::map<ObjectHandle, Object> objects_;
    ObjectHandle next_ = 1;
    ObjectHandle nextStock_ = 0xFFFFFFFF;
    ObjectHandle font_ = kNoObject;
    ObjectHandle pen_ = kNoObject;
    ObjectHandle brush_ = kNoObject;
    ObjectHandle stockWhite_ = kNoObject;
    ObjectHandle stockBlack_ = kNoObject;
    Color textColor_ = kBlack;
    Color backgroundColor_ = kWhite;
    BackgroundMode mode_ = BackgroundMode::Opaque;
    std::vector<std::string> log_;
    int fitCalls_ = 0;
    int extentCalls_ = 0;
    int fontsCreated_ = 0;
};

}  // namespace vaelo::platform::headless
