#include "platform/headless/headless_surface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/utf.h"

namespace vaelo::platform::headless {
namespace {

std::string Hex(Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", c);
    return buf;
}

std::string RectText(const Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

}  // namespace

HeadlessSurface::HeadlessSurface(int width, int height) : width_(width), height_(height) {
    Object font{ObjectKind::Font, 0, kDefaultFontHeight, kWeightNormal};
    font.stock = true;
    font_ = Add(font);
    Object pen{ObjectKind::Pen, kBlack};
    pen.stock = true;
    pen_ = Add(pen);
    brush_ = GetStockBrush(StockBrush::White);
}

int HeadlessSurface::LiveObjects() const {
    int n = 0;
    for (const auto& [handle, object] : objects_) n += object.stock ? 0 : 1;
    return n;
}

ObjectHandle HeadlessSurface::Add(Object object) {
    // Stock objects number from the top, so the objects a test makes count from #1.
    const ObjectHandle h = object.stock ? nextStock_-- : next_++;
    objects_.emplace(h, std::move(object));
    return h;
}

std::string HeadlessSurface::Name(ObjectHandle h) const {
    auto it = objects_.find(h);
    if (it != objects_.end() && it->second.stock) return "stock";
    return "#" + std::to_string(h);
}

std::string HeadlessSurface::Describe(const char16_t* text, int count) const {
    return "\"" + ToUtf8(std::u16string_view(text, count > 0 ? count : 0)) + "\"";
}

ObjectHandle HeadlessSurface::CreateFont(const std::u16string& face, int height, int weight,
                                         bool underline) {
    if (failCreation) {
        log_.push_back("CreateFont failed");
        return kNoObject;
    }
    ++fontsCreated_;
    const int h = height == 0 ? kDefaultFontHeight : std::abs(height);
    const ObjectHandle handle = Add({ObjectKind::Font, 0, h, weight, face.substr(0, 32), false});
    log_.push_back("CreateFont face=\"" + ToUtf8(face) + "\" height=" + std::to_string(height) +
                   " weight=" + std::to_string(weight) + (underline ? " underline" : "") + " -> " +
                   Name(handle));
    return handle;
}

ObjectHandle HeadlessSurface::CreatePen(Color color) {
    if (failCreation) return kNoObject;
    const ObjectHandle handle = Add({ObjectKind::Pen, color});
    log_.push_back("CreatePen " + Hex(color) + " -> " + Name(handle));
    return handle;
}

ObjectHandle HeadlessSurface::CreateSolidBrush(Color color) {
    if (failCreation) return kNoObject;
    const ObjectHandle handle = Add({ObjectKind::Brush, color});
    log_.push_back("CreateSolidBrush " + Hex(color) + " -> " + Name(handle));
    return handle;
}

ObjectHandle HeadlessSurface::GetStockBrush(StockBrush which) {
    ObjectHandle& slot = which == StockBrush::White ? stockWhite_ : stockBlack_;
    if (slot == kNoObject) {
        Object o{ObjectKind::Brush, which == StockBrush::White ? kWhite : kBlack};
        o.stock = true;
        slot = Add(o);
    }
    return slot;
}

ObjectHandle HeadlessSurface::Select(ObjectHandle object) {
    auto it = objects_.find(object);
    if (it == objects_.end()) return kNoObject;
    ObjectHandle* slot = it->second.kind == ObjectKind::Font  ? &font_
                         : it->second.kind == ObjectKind::Pen ? &pen_
                                                              : &brush_;
    const ObjectHandle previous = *slot;
    *slot = object;
    log_.push_back("Select " + Name(object) + " -> " + Name(previous));
    return previous;
}

bool HeadlessSurface::DeleteObject(ObjectHandle object) {
    auto it = objects_.find(object);
    if (it == objects_.end() || it->second.stock) return false;
    if (object == font_ || object == pen_ || object == brush_) {
        log_.push_back("DeleteObject " + Name(object) + " refused: selected");
        return false;
    }
    objects_.erase(it);
    log_.push_back("DeleteObject " + Name(object));
    return true;
}

int HeadlessSurface::CurrentFontHeight() const {
    auto it = objects_.find(font_);
    return it == objects_.end() ? kDefaultFontHeight : it->second.fontHeight;
}

TextMetrics HeadlessSurface::GetTextMetrics() {
    const int h = CurrentFontHeight();
    return {h, h};
}

int HeadlessSurface::FitCount(const char16_t*, int count, int maxWidth) {
    ++fitCalls_;
    if (count <= 0 || maxWidth <= 0) return 0;
    return std::min(count, maxWidth / CharWidth(CurrentFontHeight()));
}

Size HeadlessSurface::TextExtent(const char16_t*, int count) {
    ++extentCalls_;
    const int h = CurrentFontHeight();
    return {std::max(count, 0) * CharWidth(h), h};
}

void HeadlessSurface::DrawTextCentered(const Rect& rect, const char16_t* text, int count) {
    const int h = CurrentFontHeight();
    const int w = std::max(count, 0) * CharWidth(h);
    const int x = rect.left + (rect.Width() - w) / 2;
    const int y = rect.top + (rect.Height() - h) / 2;
    log_.push_back("DrawText " + RectText(rect) + " at (" + std::to_string(x) + "," +
                   std::to_string(y) + ") font=" + Name(font_) + " color=" + Hex(textColor_) +
                   " " + Describe(text, count));
}

void HeadlessSurface::TextOut(Point at, const char16_t* text, int count) {
    log_.push_back("TextOut (" + std::to_string(at.x) + "," + std::to_string(at.y) +
                   ") font=" + Name(font_) + " color=" + Hex(textColor_) +
                   (mode_ == BackgroundMode::Opaque ? " on " + Hex(backgroundColor_) : "") + " " +
                   Describe(text, count));
}

BackgroundMode HeadlessSurface::SetBackgroundMode(BackgroundMode mode) {
    const BackgroundMode previous = mode_;
    mode_ = mode;
    log_.push_back(std::string("BackgroundMode ") +
                   (mode == BackgroundMode::Opaque ? "opaque" : "transparent"));
    return previous;
}

Color HeadlessSurface::SetTextColor(Color color) {
    const Color previous = textColor_;
    textColor_ = color;
    log_.push_back("TextColor " + Hex(color));
    return previous;
}

Color HeadlessSurface::SetBackgroundColor(Color color) {
    const Color previous = backgroundColor_;
    backgroundColor_ = color;
    log_.push_back("BackgroundColor " + Hex(color));
    return previous;
}

void HeadlessSurface::FillRect(const Rect& rect, ObjectHandle brush) {
    auto it = objects_.find(brush);
    if (it == objects_.end() || it->second.kind != ObjectKind::Brush) return;
    log_.push_back("FillRect " + RectText(rect) + " " + Hex(it->second.color));
}

void HeadlessSurface::DrawRectangle(const Rect& rect) {
    auto pen = objects_.find(pen_);
    auto brush = objects_.find(brush_);
    log_.push_back("Rectangle " + RectText(rect) + " pen=" +
                   (pen == objects_.end() ? std::string("black") : Hex(pen->second.color)) +
                   " brush=" +
                   (brush == objects_.end() ? std::string("white") : Hex(brush->second.color)));
}

void HeadlessSurface::CopyBitmap(Point at, const SmallBitmap&) {
    log_.push_back("CopyBitmap (" + std::to_string(at.x) + "," + std::to_string(at.y) + ")");
}

std::vector<FontFamily> HeadlessSurface::EnumFontFamilies() {
    return {{u"Headless Sans", 0}, {u"Headless Hebrew", kHebrewCharset}};
}

std::vector<std::string> HeadlessSurface::Drawing() const {
    std::vector<std::string> out;
    for (const auto& line : log_)
        if (line.starts_with("DrawText") || line.starts_with("TextOut") ||
            line.starts_with("FillRect") || line.starts_with("Rectangle") ||
            line.starts_with("CopyBitmap"))
            out.push_back(line);
    return out;
}

}  // namespace vaelo::platform::headless
