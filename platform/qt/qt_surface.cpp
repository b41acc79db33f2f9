#include "platform/qt/qt_surface.h"

#include <QColor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/qt_font.h"

namespace vaelo::platform::qt {
namespace {

// Larger requests are clamped: a font a thousand pixels high already fills any window, and
// glyph caches for bigger ones cost memory for nothing.
constexpr int kMaxFontHeight = 1000;
constexpr int kMaxFaceUnits = 32;

QColor ToQColor(Color c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

bool HaveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QString FaceName(const std::u16string& face) {
    std::size_t n = 0;
    while (n < face.size() && n < kMaxFaceUnits && face[n] != 0) ++n;
    return QString::fromUtf16(face.data(), static_cast<qsizetype>(n));
}

}  // namespace

QString QtSurface::DefaultFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"David CLM", "Frank Ruehl CLM", "Nachlieli CLM", "Miriam CLM"})
            if (installed.contains(QLatin1String(name), Qt::CaseInsensitive))
                return QString::fromLatin1(name);
        return QStringLiteral("DejaVu Sans");
    }();
    return family;
}

QtSurface::QtSurface(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32) {
    image_.fill(Qt::white);
    font_ = CreateFont(u"", 0, kWeightNormal);
    if (font_ != kNoObject) objects_[font_].stock = true;
    pen_ = Add({ObjectKind::Pen, kBlack, nullptr, true});
    brush_ = GetStockBrush(StockBrush::White);
}

QtSurface::~QtSurface() = default;

void QtSurface::Resize(int width, int height) {
    QImage next(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    next.fill(Qt::white);
    if (!next.isNull() && !image_.isNull()) {
        QPainter painter(&next);
        painter.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

ObjectHandle QtSurface::Add(Object object) {
    const ObjectHandle handle = next_++;
    objects_.emplace(handle, std::move(object));
    return handle;
}

QtFont* QtSurface::CurrentFont() const {
    auto it = objects_.find(font_);
    return it == objects_.end() ? nullptr : it->second.font.get();
}

Color QtSurface::ColorOf(ObjectHandle handle, Color otherwise) const {
    auto it = objects_.find(handle);
    return it == objects_.end() ? otherwise : it->second.color;
}

ObjectHandle QtSurface::CreateFont(const std::u16string& face, int height, int weight,
                                   bool underline) {
    if (!HaveGuiApplication()) return kNoObject;
    const QString family = face.empty() || face[0] == 0 ? DefaultFamily() : FaceName(face);
    const int pixels =
        height == 0 ? kDefaultFontHeight : std::min(std::abs(height), kMaxFontHeight);
    // 0 leaves the weight to the platform, as any other value out of range does.
    const int w = weight >= 1 && weight <= 1000 ? weight : kWeightNormal;
    auto font = QtFont::Create(family, std::max(pixels, 1), w, underline);
    if (!font) return kNoObject;
    return Add({ObjectKind::Font, 0, std::move(font), false});
}

ObjectHandle QtSurface::CreatePen(Color color) {
    return Add({ObjectKind::Pen, color & 0xFFFFFF, nullptr, false});
}

ObjectHandle QtSurface::CreateSolidBrush(Color color) {
    return Add({ObjectKind::Brush, color & 0xFFFFFF, nullptr, false});
}

ObjectHandle QtSurface::GetStockBrush(StockBrush which) {
    ObjectHandle& slot = which == StockBrush::White ? stockWhite_ : stockBlack_;
    if (slot == kNoObject)
        slot =
            Add({ObjectKind::Brush, which == StockBrush::White ? kWhite : kBlack, nullptr, true});
    return slot;
}

ObjectHandle QtSurface::Select(ObjectHandle object) {
    auto it = objects_.find(object);
    if (it == objects_.end()) return kNoObject;
    ObjectHandle* slot = it->second.kind == ObjectKind::Font  ? &font_
                         : it->second.kind == ObjectKind::Pen ? &pen_
                                                              : &brush_;
    const ObjectHandle previous = *slot;
    *slot = object;
    return previous;
}

bool QtSurface::DeleteObject(ObjectHandle object) {
    auto it = objects_.find(object);
    if (it == objects_.end() || it->second.stock) return false;
    if (object == font_ || object == pen_ || object == brush_) return false;
    objects_.erase(it);
    return true;
}

TextMetrics QtSurface::GetTextMetrics() {
    const QtFont* font = CurrentFont();
    if (!font) return {};
    return {font->Height(), font->MaxWidth()};
}

int QtSurface::FitCount(const char16_t* text, int count, int maxWidth) {
    QtFont* font = CurrentFont();
    if (!font || !text || count <= 0 || maxWidth < 0) return 0;
    return font->Fit(text, count, maxWidth);
}

Size QtSurface::TextExtent(const char16_t* text, int count) {
    QtFont* font = CurrentFont();
    if (!font) return {};
    if (!text || count <= 0) return {0, font->Height()};
    return {font->Width(text, count), font->Height()};
}

void QtSurface::DrawText(int x, int y, const QRect& clip, const char16_t* text, int count) {
    QtFont* font = CurrentFont();
    if (!font || !text || count <= 0 || image_.isNull()) return;
    QPainter painter(&image_);
    painter.setClipRect(clip);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (mode_ == BackgroundMode::Opaque)
        painter.fillRect(QRect(x, y, font->Width(text, count), font->Height()),
                         ToQColor(backgroundColor_));
    font->Draw(painter, x, y + font->Ascent(), text, count, ToQColor(textColor_));
}

void QtSurface::DrawTextCentered(const Rect& rect, const char16_t* text, int count) {
    QtFont* font = CurrentFont();
    if (!font || !text || count <= 0 || rect.Empty()) return;
    const int x = rect.left + (rect.Width() - font->Width(text, count)) / 2;
    const int y = rect.top + (rect.Height() - font->Height()) / 2;
    DrawText(x, y, ToQRect(rect), text, count);
}

void QtSurface::TextOut(Point at, const char16_t* text, int count) {
    DrawText(at.x, at.y, image_.rect(), text, count);
}

BackgroundMode QtSurface::SetBackgroundMode(BackgroundMode mode) {
    const BackgroundMode previous = mode_;
    mode_ = mode;
    return previous;
}

Color QtSurface::SetTextColor(Color color) {
    const Color previous = textColor_;
    textColor_ = color & 0xFFFFFF;
    return previous;
}

Color QtSurface::SetBackgroundColor(Color color) {
    const Color previous = backgroundColor_;
    backgroundColor_ = color & 0xFFFFFF;
    return previous;
}

void QtSurface::Fill(const Rect& rect, Color color) {
    if (rect.Empty() || image_.isNull()) return;
    QPainter painter(&image_);
    painter.fillRect(ToQRect(rect), ToQColor(color));
}

void QtSurface::FillRect(const Rect& rect, ObjectHandle brush) {
    auto it = objects_.find(brush);
    if (it == objects_.end() || it->second.kind != ObjectKind::Brush) return;
    Fill(rect, it->second.color);
}

void QtSurface::DrawRectangle(const Rect& rect) {
    if (rect.Empty()) return;
    // The one-pixel outline lies inside the rectangle, so it is the whole rectangle in the pen's
    // colour with the inside filled over it.
    Fill(rect, ColorOf(pen_, kBlack));
    Fill({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, ColorOf(brush_, kWhite));
}

void QtSurface::CopyBitmap(Point at, const SmallBitmap& bitmap) {
    constexpr int n = SmallBitmap::kSide;
    for (int y = 0; y < n; ++y) {
        const int py = at.y + y;
        if (py < 0 || py >= image_.height()) continue;
        for (int x = 0; x < n; ++x) {
            const int px = at.x + x;
            if (px < 0 || px >= image_.width()) continue;
            const Color c = bitmap.pixels[y * n + x];
            image_.setPixel(px, py, qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c)));
        }
    }
}

std::vector<FontFamily> QtSurface::EnumFontFamilies() {
    std::vector<FontFamily> families;
    if (!HaveGuiApplication()) return families;
    for (const QString& family : QFontDatabase::families()) {
        const bool hebrew = QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew);
        families.push_back({family.toStdU16String(), hebrew ? kHebrewCharset : 0});
    }
    return families;
}

int QtSurface::DpiY() const {
    if (HaveGuiApplication())
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return qRound(screen->logicalDotsPerInchY());
    return 96;
}

}  // namespace vaelo::platform::qt
