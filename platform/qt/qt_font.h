// One font of the Qt surface: its glyphs and whole-pixel advances, looked up per character in
// a table filled 256 characters at a time, and the glyph runs drawn from that table. Because
// measuring and drawing read the same advances, the measured width is the drawn width.
#pragma once

#include <QFont>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class QColor;

namespace vaelo::platform::qt {

class QtFont {
  public:
    // A font of `family` at pixelHeight (≥ 1) and weight (1..1000); nullptr when Qt has no
    // usable font for it. Needs a QGuiApplication.
    static std::unique_ptr<QtFont> Create(const QString& family, int pixelHeight, int weight,
                                          bool underline = false);

    int Ascent() const { return ascent_; }
    int Height() const { return ascent_ + descent_; }
    int MaxWidth() const { return maxWidth_; }
    const QFont& Font() const { return font_; }

    // Width of the first count characters.
    int Width(const char16_t* text, int count);
    // The most leading characters whose width does not pass maxWidth. Runs for every laid-out
    // line, so it only reads the table (filling a missing page is the one exception).
    int Fit(const char16_t* text, int count, int maxWidth);
    // Draws count characters left to right from x on the baseline, in color.
    void Draw(QPainter& painter, int x, int baseline, const char16_t* text, int count,
              const QColor& color);

    // Only Create makes fonts; the key keeps the constructor to it.
    class Key {
        friend class QtFont;
        Key() = default;
    };
    explicit QtFont(Key) {}

  private:
    // Where a character's glyph comes from: the font itself, one of its fallbacks, or a box.
    static constexpr std::uint8_t kOwn = 0;
    static constexpr std::uint8_t kBox = 0xFF;

    struct Glyph {
        std::uint32_t index = 0;
        std::int32_t advance = 0;
        std::uint8_t source = kBox;
    };
    using Page = std::array<Glyph, 256>;

    const Glyph& Lookup(char16_t c) {
        const auto& page = pages_[c >> 8];
        return page ? (*page)[c & 0xFF] : FillPage(c >> 8)[c & 0xFF];
    }
    const Page& FillPage(int page);
    const QRawFont& Source(std::uint8_t source) const;
    void MakeFallbacks();

    QFont font_;
    QRawFont raw_;
    std::vector<QRawFont> fallbacks_;  // source k is fallbacks_[k - 1]
    bool fallbacksMade_ = false;
    int ascent_ = 0;
    int descent_ = 0;
    int maxWidth_ = 0;
    int boxAdvance_ = 1;
    bool underline_ = false;
    std::array<std::unique_ptr<Page>, 256> pages_;
};

}  // namespace vaelo::platform::qt
