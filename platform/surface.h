// The drawing surface: fonts, pens and brushes, text measuring and drawing, fills, rectangles
// and bitmap copies. A surface is kept by its owner for a window's life and drawn on at any
// time. Text is measured and drawn in string order, left to right, with no bidirectional
// reordering (the program lays right-to-left text out itself), and the width a measurement
// reports is the width that is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vaelo::platform {

// A font, pen or brush made on a surface. 0 is "none". Handles are owned by their creator,
// who deletes them once they are no longer selected (GdiObject does both for it).
using ObjectHandle = std::uint32_t;
constexpr ObjectHandle kNoObject = 0;

enum class ObjectKind : std::uint8_t { Font, Pen, Brush };

enum class StockBrush : std::uint8_t { White, Black };

enum class BackgroundMode : std::uint8_t { Transparent = 1, Opaque = 2 };

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;
constexpr int kWeightHeavy = 800;

constexpr int kHebrewCharset = 177;

struct TextMetrics {
    int height = 0;        // the height of a display row
    int maxCharWidth = 0;  // widest character of the font
};

struct FontFamily {
    std::u16string faceName;
    int charset = 0;  // kHebrewCharset marks a family that holds Hebrew
};

// A 9 × 9 bitmap as 0x00BBGGRR pixels, row by row from the top.
struct SmallBitmap {
    static constexpr int kSide = 9;
    Color pixels[kSide * kSide] = {};
};

class Surface {
public:
    virtual ~Surface() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Face up to 32 units (may be empty: the platform's face); height in pixels, 0 for the
    // platform's default; weight kWeightNormal, kWeightBold or kWeightHeavy; underlined text
    // (the About link) on request. kNoObject on failure.
    virtual ObjectHandle CreateFont(const std::u16string& face, int height, int weight,
                                    bool underline = false) = 0;
    virtual ObjectHandle CreatePen(Color color) = 0;  // solid, one pixel wide
    virtual ObjectHandle CreateSolidBrush(Color color) = 0;
    // Stock brushes are never deleted.
    virtual ObjectHandle GetStockBrush(StockBrush which) = 0;
    // Makes the object current for its kind and returns the object it replaces. Selecting
    // kNoObject or an unknown handle changes nothing and returns kNoObject.
    virtual ObjectHandle Select(ObjectHandle object) = 0;
    // Deletes a created object. A selected object is not deleted (false).
    virtual bool DeleteObject(ObjectHandle object) = 0;

    virtual TextMetrics GetTextMetrics() = 0;
    // The largest count of leading characters whose width does not exceed maxWidth.
    virtual int FitCount(const char16_t* text, int count, int maxWidth) = 0;
    // Width and height of the first count characters.
    virtual Size TextExtent(const char16_t* text, int count) = 0;

    // One line, centred both ways in rect and clipped to it; no prefix processing.
    virtual void DrawTextCentered(const Rect& rect, const char16_t* text, int count) = 0;
    // At a point (top left of the text), background filled when the mode is opaque.
    virtual void TextOut(Point at, const char16_t* text, int count) = 0;

    virtual BackgroundMode SetBackgroundMode(BackgroundMode mode) = 0;
    virtual Color SetTextColor(Color color) = 0;
    virtual Color GetTextColor() const = 0;
    virtual Color SetBackgroundColor(Color color) = 0;

    // Fills with a brush; a kNoObject brush skips the fill.
    virtual void FillRect(const Rect& rect, ObjectHandle brush) = 0;
    // Outline with the current pen, inside with the current brush.
    virtual void DrawRectangle(const Rect& rect) = 0;
    virtual void CopyBitmap(Point at, const SmallBitmap& bitmap) = 0;

    virtual std::vector<FontFamily> EnumFontFamilies() = 0;
    virtual int DpiY() const = 0;
};

// Owns one created object and deletes it when it goes; never wraps a stock object.
class GdiObject {
public:
    GdiObject() = default;
    GdiObject(Surface& surface, ObjectHandle handle) : surface_(&surface), handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept { *this = std::move(other); }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            surface_ = other.surface_;
            handle_ = other.handle_;
            other.handle_ = kNoObject;
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    ObjectHandle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != kNoObject; }
    void Reset() {
        if (surface_ && handle_ != kNoObject) surface_->DeleteObject(handle_);
        handle_ = kNoObject;
    }
    // Forgets the object without deleting it: for when its surface is already gone with
    // everything made on it.
    void Abandon() { handle_ = kNoObject; }

private:
    Surface* surface_ = nullptr;
    ObjectHandle handle_ = kNoObject;
};

// Selects an object for a scope and puts the previous one back: every drawing step that
// selects a font, pen or brush leaves the surface as it found it.
class SelectScope {
public:
    SelectScope(Surface& surface, ObjectHandle object)
        : surface_(surface), previous_(surface.Select(object)) {}
    ~SelectScope() {
        if (previous_ != kNoObject) surface_.Select(previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    Surface& surface_;
    ObjectHandle previous_;
};

}  // namespace vaelo::platform
