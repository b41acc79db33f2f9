#include <gtest/gtest.h>

#include "content/document.h"

namespace vaelo::content {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A document as the store hands it: the text, a zero at `length` and a spare byte.
struct Doc {
    explicit Doc(Bytes text) : bytes(std::move(text)), length(static_cast<std::uint32_t>(bytes.size())) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    Bytes bytes;
    std::uint32_t length;
};

std::vector<Paragraph> Walk(const Doc& d) {
    std::vector<Paragraph> out;
    std::uint32_t at = 0;
    while (auto p = ReadParagraph(d.bytes.data(), d.length, at)) {
        out.push_back(*p);
        at = p->next;
    }
    return out;
}

TEST(Document, WalksRecordsToTheZeroFlagsByte) {
    const Doc d({0xDC, 0x00, 'a', 'b', 0,  //
                 0xD1, 0x00, 0,             //
                 0x07, 185, 0,               //
                 0x23, 0x85, ' ', 'c', 0,    //
                 0x00, 0x01, 'x', 0});      // after the end: never read
    const auto records = Walk(d);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].textLength, 2);
    EXPECT_EQ(records[1].offset, 5);
    EXPECT_EQ(records[1].textLength, 0);
    EXPECT_TRUE(records[2].IsRule());
    EXPECT_EQ(records[3].offset, 11);
    EXPECT_EQ(IndentWidth(records[3].indent), 5);
    EXPECT_EQ(HangCode(records[3].indent), 2);
    EXPECT_TRUE(IsContinuation(records[3], d.bytes.data(), true));
    EXPECT_FALSE(IsContinuation(records[3], d.bytes.data(), false));

    EXPECT_TRUE(Walk(Doc({0})).empty());
}

TEST(Document, DamagedDocumentsEndInsideTheirBlock) {
    // No zero flags byte at the end, and a last text without its zero: the block's own zero
    // ends both.
    const Doc noEnd({0x01, 0x00, 'a', 0, 0x01, 0x00, 'b', 'c'});
    const auto records = Walk(noEnd);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].textLength, 2);
    EXPECT_LE(records[1].next, noEnd.length);
    // A lone flags byte with no indent byte is no record.
    EXPECT_TRUE(Walk(Doc({0x01})).empty());
}

TEST(Document, TitleRecords) {
    struct Case {
        Bytes text;
        bool first, second;
    };
    const Case cases[] = {
        {{0xDC, 0, 'a', 0, 0xD1, 0, 'b', 0, 0}, true, true},
        {{0xDC, 0, 'a', 0, 0x01, 0, 'b', 0, 0}, true, false},
        {{0xD1, 0, 'b', 0, 0}, false, true},  // second title with no first
        {{0x01, 0, 'a', 0, 0xD1, 0, 'b', 0, 0}, false, false},
        {{0}, false, false},
    };
    for (const auto& c : cases) {
        const Doc d(c.text);
        const auto t = FindTitleRecords(d.bytes.data(), d.length);
        EXPECT_EQ(t.first.has_value(), c.first);
        EXPECT_EQ(t.second.has_value(), c.second);
    }
}

TEST(Document, RuleLengthsAndStyles) {
    EXPECT_EQ(RulePixels(0, 240), 0);
    EXPECT_EQ(RulePixels(100, 240), 100);
    EXPECT_EQ(RulePixels(160, 100), 100);  // cut to the width
    EXPECT_EQ(RulePixels(185, 240), 120);
    EXPECT_EQ(RulePixels(210, 240), 240);
    EXPECT_EQ(RulePixels(255, 240), 240);

    struct Style {
        std::uint8_t flags;
        int fontSize, height, weight;
        std::uint32_t color;
    };
    const Style styles[] = {
        {0x01, 16, 16, 400, 0x000000},  {0x02, 16, 12, 400, 0x800000}, {0x02, 0, 14, 400, 0x800000},
        {0x04, 16, 20, 400, 0x000000},  {0x04, 0, 20, 400, 0x000000},  {0x0C, 16, 20, 700, 0xFF0000},
        {0x0E, 16, 20, 700, 0x800000},  // large wins the size, small wins the colour
        {0x09, 0, 0, 700, 0x000000},
    };
    for (const auto& s : styles) {
        EXPECT_EQ(StyleFontHeight(StyleKey(s.flags), s.fontSize), s.height) << int(s.flags);
        EXPECT_EQ(StyleWeight(StyleKey(s.flags)), s.weight);
        EXPECT_EQ(StyleColor(StyleKey(s.flags)), s.color);
    }
    EXPECT_EQ(StyleKey(0xDC), 0x1C);
    EXPECT_EQ(AlignmentOf(0x60), Alignment::Left);
    EXPECT_EQ(AlignmentOf(0x20), Alignment::Right);
    EXPECT_EQ(AlignmentOf(0x40), Alignment::Center);
}

}  // namespace
}  // namespace vaelo::content
