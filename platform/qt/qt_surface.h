// The drawing surface of the Qt backend: an off-screen image that the surface owns, drawn on
// at any time and presented (or saved) by whoever holds it.
//
// Text does not go through Qt's text layout. That layout would reorder right-to-left runs and
// shape them, and the program has already put its text into display order; reordering it again
// would mirror every Hebrew line. So each font maps characters to glyphs itself (QRawFont),
// rounds every advance to whole pixels, keeps them in a table filled a page at a time, and
// places the glyphs left to right at those positions. Measuring reads the same table, so the
// width a measurement reports is exactly the width drawn.
//
//  [X] Fonts by face, pixel height (0: 16 px; negative: its magnitude) and weight; an empty
//      face is a Hebrew face (a culmus family when installed, else DejaVu Sans).
//  [X] Characters the font lacks come from the Hebrew face or DejaVu Sans, else a box; the box
//      is measured as it is drawn.
//  [X] Text measured and drawn in string order, no bidirectional reordering, no shaping.
//  [X] Solid pens and brushes, stock white and black brushes, Select / DeleteObject rules.
//  [X] Opaque and transparent text background, text and background colours.
//  [X] FillRect, DrawRectangle (right and bottom edges exclusive), 9 × 9 bitmap copies.
//  [X] Font families with the Hebrew charset mark; DpiY from the screen (96 without one).
//  [ ] Surrogate pairs: each unit is drawn as a box (the letter code never makes them).
//
// Fonts need a QGuiApplication (or QApplication). Without one, font creation fails and text
// measures 0 wide and draws nothing; fills and rectangles still work.
#pragma once

#include <QImage>
#include <map>
#include <memory>

#include "platform/surface.h"

class QFont;

namespace vaelo::platform::qt {

class QtFont;

class QtSurface final : public Surface {
  public:
    // A white width × height image (sizes below 0 count as 0), with a stock font, a black pen
    // and the white brush selected.
    QtSurface(int width, int height);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    // Keeps what is drawn in the part both sizes share; a new area is white.
    void Resize(int width, int height);
    // The image, for presenting and for saving.
    const QImage& Image() const { return image_; }
    // The QFont of a font made here, to hand to a widget (defined in qt_dialogs.cpp); or nullptr.
    const QFont* FontOf(ObjectHandle font) const;

    // The family an empty face stands for.
    static QString DefaultFamily();
    static constexpr int kDefaultFontHeight = 16;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }

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
    int DpiY() const override;

  private:
    struct Object {
        ObjectKind kind = ObjectKind::Brush;
        Color color = 0;
        std::unique_ptr<QtFont> font;  // fonts only
        bool stock = false;
    };

    ObjectHandle Add(Object object);
    QtFont* CurrentFont() const;
    Color ColorOf(ObjectHandle handle, Color otherwise) const;
    // Draws count characters with their top left at (x, y), inside clip, the background box
    // first when the mode is opaque.
    void DrawText(int x, int y, const QRect& clip, const char16_t* text, int count);
    void Fill(const Rect& rect, Color color);

    QImage image_;
    std::map<ObjectHandle, Object> objects_;
    ObjectHandle next_ = 1;
    ObjectHandle font_ = kNoObject;
    ObjectHandle pen_ = kNoObject;
    ObjectHandle brush_ = kNoObject;
    ObjectHandle stockWhite_ = kNoObject;
    ObjectHandle stockBlack_ = kNoObject;
    Color textColor_ = kBlack;
    Color backgroundColor_ = kWhite;
    BackgroundMode mode_ = BackgroundMode::Opaque;
};

}  // namespace vaelo::platform::qt
