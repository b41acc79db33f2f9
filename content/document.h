// The document format: a run of paragraph records {flags, indent, zero-terminated LetterCode
// text} ended by a zero flags byte. This is the one place that says what every bit means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/heap.h"

namespace vaelo::content {

// Bits of Paragraph.flags.
constexpr std::uint8_t ParaRule = 0x07;  // the low three bits all set: a rule record
constexpr std::uint8_t ParaSizeMask = 0x07;
constexpr std::uint8_t ParaSizeNormal = 0x01;
constexpr std::uint8_t ParaSizeSmall = 0x02;
constexpr std::uint8_t ParaSizeLarge = 0x04;
constexpr std::uint8_t ParaBold = 0x08;
constexpr std::uint8_t ParaReversed = 0x10;
constexpr std::uint8_t ParaAlignMask = 0x60;
constexpr std::uint8_t ParaAlignRight = 0x20;
constexpr std::uint8_t ParaAlignCenter = 0x40;
constexpr std::uint8_t ParaBlankAfter = 0x80;

constexpr std::uint8_t TitleFlagsFirst = 0xDC;   // blank after, centred, reversed, bold, large
constexpr std::uint8_t TitleFlagsSecond = 0xD1;  // blank after, centred, reversed, normal

enum class Alignment { Left, Right, Center };

constexpr bool IsRule(std::uint8_t flags) { return (flags & ParaSizeMask) == ParaRule; }
constexpr std::uint8_t StyleKey(std::uint8_t flags) { return flags & 0x1F; }
constexpr int IndentWidth(std::uint8_t indent) { return indent & 0x3F; }
constexpr int HangCode(std::uint8_t indent) { return indent >> 6; }
constexpr Alignment AlignmentOf(std::uint8_t flags) {
    return (flags & ParaAlignMask) == ParaAlignRight    ? Alignment::Right
           : (flags & ParaAlignMask) == ParaAlignCenter ? Alignment::Center
                                                        : Alignment::Left;
}
// Font height for a style: large × 5/4 (20 when the size is 0), small × 6/8 (14), else the
// size itself.
constexpr int StyleFontHeight(std::uint8_t styleKey, int fontSize) {
    if (styleKey & ParaSizeLarge) return fontSize == 0 ? 20 : fontSize * 5 / 4;
    if (styleKey & ParaSizeSmall) return fontSize == 0 ? 14 : fontSize * 6 / 8;
    return fontSize;
}
constexpr int StyleWeight(std::uint8_t styleKey) { return (styleKey & ParaBold) ? 700 : 400; }
// Text colour (0x00BBGGRR): navy for small text, blue for large bold, else black.
constexpr std::uint32_t StyleColor(std::uint8_t styleKey) {
    if (styleKey & ParaSizeSmall) return 0x800000;
    if ((styleKey & ParaSizeLarge) && (styleKey & ParaBold)) return 0xFF0000;
    return 0;
}
// Length in pixels of a rule in a view `width` wide: 0 for none, 1..160 pixels, 161..255 a
// percentage ((length − 160) × 2 %), never wider than the view.
int RulePixels(std::uint8_t ruleLength, int width);

// A document block: the unpacked text, a zero byte at `length`, and one spare byte. Walking
// never reads at or past `length` + 1, so a damaged document cannot lead a reader outside it.
struct Document {
    platform::HeapBytes block;
    std::uint32_t length = 0;  // textLength: bytes of text before the terminating zero

    explicit operator bool() const { return block != nullptr; }
    const std::uint8_t* data() const { return block.get(); }
};

// One record as found by a walk. Offsets are byte offsets from the document's first byte.
struct Paragraph {
    std::uint16_t offset = 0;  // of the flags byte
    std::uint8_t flags = 0;
    std::uint8_t indent = 0;
    std::uint16_t textOffset = 0;  // offset + 2
    std::uint16_t textLength = 0;  // bytes before the text's zero byte
    std::uint16_t next = 0;        // offset of the following record

    constexpr bool IsRule() const { return content::IsRule(flags); }
};

// Reads the record at `offset` of a document of `length` bytes (the byte at `length` is the
// block's zero). nullopt at the end of the document: a zero flags byte, or a record that would
// run past the block. A record whose text has no zero before the block's end ends at the
// block's zero.
std::optional<Paragraph> ReadParagraph(const std::uint8_t* doc, std::uint32_t length,
                                       std::uint32_t offset);

// The first and second title records of a document, when it has them.
struct TitleRecords {
    std::optional<Paragraph> first;   // flags TitleFlagsFirst, the first record
    std::optional<Paragraph> second;  // flags TitleFlagsSecond, right after the first or first
};
TitleRecords FindTitleRecords(const std::uint8_t* doc, std::uint32_t length);

// A text record that continues the hanging layout of the one before it: a hang code, text that
// starts with a space, and at least one display line of the document before it.
constexpr bool IsContinuation(const Paragraph& p, const std::uint8_t* doc, bool linesBefore) {
    return !p.IsRule() && HangCode(p.indent) != 0 && p.textLength > 0 &&
           doc[p.textOffset] == ' ' && linesBefore;
}

// True when the text record shows nothing: empty or only spaces.
bool IsBlankText(const std::uint8_t* doc, const Paragraph& p);

}  // namespace vaelo::content
