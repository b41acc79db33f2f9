#include "content/document.h"

namespace vaelo::content {

int RulePixels(std::uint8_t ruleLength, int width) {
    int pixels = ruleLength <= 160 ? ruleLength : (ruleLength - 160) * width * 2 / 100;
    if (pixels > width) pixels = width;
    return pixels < 0 ? 0 : pixels;
}

std::optional<Paragraph> ReadParagraph(const std::uint8_t* doc, std::uint32_t length,
                                       std::uint32_t offset) {
    // A record needs its flags and indent bytes before the block's zero at `length`.
    if (doc == nullptr || offset + 1 >= length || doc[offset] == 0) return std::nullopt;
    Paragraph p;
    p.offset = static_cast<std::uint16_t>(offset);
    p.flags = doc[offset];
    p.indent = doc[offset + 1];
    const std::uint32_t text = offset + 2;
    std::uint32_t end = text;
    while (end < length && doc[end] != 0) ++end;  // doc[length] is 0: the walk stops there
    p.textOffset = static_cast<std::uint16_t>(text);
    p.textLength = static_cast<std::uint16_t>(end - text);
    p.next = static_cast<std::uint16_t>(end + 1 <= length ? end + 1 : length);
    return p;
}

TitleRecords FindTitleRecords(const std::uint8_t* doc, std::uint32_t length) {
    TitleRecords titles;
    auto first = ReadParagraph(doc, length, 0);
    if (!first) return titles;
    std::optional<Paragraph> candidate = first;
    if (first->flags == TitleFlagsFirst) {
        titles.first = first;
        candidate = ReadParagraph(doc, length, first->next);
    }
    if (candidate && candidate->flags == TitleFlagsSecond) titles.second = candidate;
    return titles;
}

bool IsBlankText(const std::uint8_t* doc, const Paragraph& p) {
    for (std::uint32_t i = 0; i < p.textLength; ++i)
        if (doc[p.textOffset + i] != ' ') return false;
    return true;
}

}  // namespace vaelo::content
