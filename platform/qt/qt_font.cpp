#include "platform/qt/qt_font.h"

#include <QColor>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPointF>
#include <algorithm>

#include "platform/qt/qt_surface.h"

namespace vaelo::platform::qt {

std::unique_ptr<QtFont> QtFont::Create(const QString& family, int pixelHeight, int weight,
                                       bool underline) {
    auto font = std::make_unique<QtFont>(Key{});
    font->font_ = QFont(family);
    font->font_.setPixelSize(pixelHeight);
    font->font_.setWeight(static_cast<QFont::Weight>(weight));
    font->font_.setKerning(false);
    font->font_.setUnderline(underline);
    font->underline_ = underline;
    font->raw_ = QRawFont::fromFont(font->font_);
    if (!font->raw_.isValid()) return nullptr;
    const QFontMetrics metrics(font->font_);
    font->ascent_ = metrics.ascent();
    font->descent_ = metrics.descent();
    font->maxWidth_ = metrics.maxWidth();
    font->boxAdvance_ = std::max(1, pixelHeight / 2);
    return font;
}

void QtFont::MakeFallbacks() {
    fallbacksMade_ = true;
    const QString own = raw_.familyName();
    for (const QString& family : {QtSurface::DefaultFamily(), QStringLiteral("DejaVu Sans")}) {
        if (family.compare(own, Qt::CaseInsensitive) == 0) continue;
        QFont other(family);
        other.setPixelSize(font_.pixelSize());
        other.setWeight(font_.weight());
        QRawFont raw = QRawFont::fromFont(other);
        // Only a font that really is the family asked for: a stand-in chosen by the font
        // matcher could be anything.
        if (raw.isValid() && raw.familyName().compare(family, Qt::CaseInsensitive) == 0)
            fallbacks_.push_back(raw);
    }
}

const QRawFont& QtFont::Source(std::uint8_t source) const {
    return source == kOwn ? raw_ : fallbacks_[source - 1];
}

const QtFont::Page& QtFont::FillPage(int pageNumber) {
    auto page = std::make_unique<Page>();
    const char16_t first = static_cast<char16_t>(pageNumber << 8);
    // Surrogate units stay boxes: a lone unit has no glyph, and the glyph lookup would pair
    // neighbouring units up.
    const bool surrogates = first >= 0xD800 && first <= 0xDFFF;
    if (!surrogates) {
        QChar chars[256];
        std::uint32_t indexes[256] = {};
        QPointF advances[256];
        for (int i = 0; i < 256; ++i) chars[i] = QChar(static_cast<char16_t>(first + i));
        int n = 256;
        if (raw_.glyphIndexesForChars(chars, 256, indexes, &n) && n == 256 &&
            raw_.advancesForGlyphIndexes(indexes, advances, 256, QRawFont::SeparateAdvances)) {
            for (int i = 0; i < 256; ++i) {
                if (indexes[i] == 0) continue;  // glyph 0 is the font's "missing" glyph
                (*page)[i] = {indexes[i], std::max(0, qRound(advances[i].x())), kOwn};
            }
        }
        for (int i = 0; i < 256; ++i) {
            if ((*page)[i].source != kBox) continue;
            if (!fallbacksMade_) MakeFallbacks();
            for (std::size_t k = 0; k < fallbacks_.size(); ++k) {
                std::uint32_t index = 0;
                QPointF advance;
                int one = 1;
                if (!fallbacks_[k].glyphIndexesForChars(&chars[i], 1, &index, &one) || index == 0)
                    continue;
                fallbacks_[k].advancesForGlyphIndexes(&index, &advance, 1,
                                                      QRawFont::SeparateAdvances);
                (*page)[i] = {index, std::max(0, qRound(advance.x())),
                              static_cast<std::uint8_t>(k + 1)};
                break;
            }
        }
    }
    for (Glyph& glyph : *page)
        if (glyph.source == kBox) glyph.advance = boxAdvance_;
    pages_[pageNumber] = std::move(page);
    return *pages_[pageNumber];
}

int QtFont::Width(const char16_t* text, int count) {
    int width = 0;
    for (int i = 0; i < count; ++i) width += Lookup(text[i]).advance;
    return width;
}

int QtFont::Fit(const char16_t* text, int count, int maxWidth) {
    int width = 0;
    int i = 0;
    for (; i < count; ++i) {
        const int next = width + Lookup(text[i]).advance;
        if (next > maxWidth) break;
        width = next;
    }
    return i;
}

void QtFont::Draw(QPainter& painter, int x, int baseline, const char16_t* text, int count,
                  const QColor& color) {
    const int startX = x;
    painter.setPen(color);
    std::vector<std::uint32_t> indexes;
    std::vector<QPointF> positions;
    indexes.reserve(static_cast<std::size_t>(count));
    positions.reserve(static_cast<std::size_t>(count));
    std::uint8_t runSource = kOwn;
    auto flush = [&] {
        if (indexes.empty()) return;
        QGlyphRun run;
        run.setRawFont(Source(runSource));
        run.setRawData(indexes.data(), positions.data(), static_cast<int>(indexes.size()));
        painter.drawGlyphRun(QPointF(0, 0), run);
        indexes.clear();
        positions.clear();
    };
    for (int i = 0; i < count; ++i) {
        const Glyph& glyph = Lookup(text[i]);
        if (glyph.source == kBox) {
            // An outline inside the advance, from the baseline up to about the letter height.
            const int w = glyph.advance - 2;
            const int h = std::max(2, ascent_ * 7 / 10);
            if (w >= 2) {
                const int left = x + 1;
                const int top = baseline - h;
                painter.fillRect(left, top, w, 1, color);
                painter.fillRect(left, baseline - 1, w, 1, color);
                painter.fillRect(left, top, 1, h, color);
                painter.fillRect(left + w - 1, top, 1, h, color);
            }
        } else {
            if (glyph.source != runSource) flush();
            runSource = glyph.source;
            indexes.push_back(glyph.index);
            positions.emplace_back(x, baseline);
        }
        x += glyph.advance;
    }
    flush();
    if (underline_ && x > startX) {
        // Glyph runs carry no underline of their own: one line under the whole drawn width.
        const int thickness = std::max(1, static_cast<int>(raw_.lineThickness() + 0.5));
        const int y = baseline + std::max(1, static_cast<int>(raw_.underlinePosition() + 0.5));
        painter.fillRect(startX, y, x - startX, thickness, color);
    }
}

}  // namespace vaelo::platform::qt
