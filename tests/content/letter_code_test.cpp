#include <gtest/gtest.h>

#include "content/letter_code.h"
#include "platform/headless/headless_platform.h"

namespace vaelo::content {
namespace {

using platform::headless::HeadlessPlatform;

std::u16string Convert(const char* text, int n, LetterOptions options) {
    ConversionBuffer buffer;
    const char16_t* out =
        ConvertLetterCode(reinterpret_cast<const std::uint8_t*>(text), &buffer, n, options);
    return out ? std::u16string(out) : u"<null>";
}

TEST(LetterCode, ConvertsForEachBaseAndReversesWithMirroredBrackets) {
    HeadlessPlatform platform;
    struct Case {
        const char* text;
        int n;
        LetterOptions options;
        std::u16string want;
    };
    const Case cases[] = {
        {"a{", 2, {kBaseUnicode, false}, u"\u05D0\u05EA"},
        {"a{", 2, {kBaseCodePage, false}, u"\u00E0\u00FA"},
        {"a{", 2, {kBaseLatin, false}, u"a{"},
        {"~", 1, {kBaseLatin, false}, u"{"},
        {"~", 1, {kBaseCodePage, false}, u"{"},
        {"~", 1, {kBaseUnicode, true}, u"}"},  // '{' first, then mirrored by the reversal
        {"(ab", 3, {kBaseCodePage, true}, u"\u00E1\u00E0)"},
        {"[b](}", 5, {kBaseUnicode, true}, u"{)[\u05D1]"},
        {"(ab", 3, {kBaseLatin, true}, u"(ab"},  // Latin letters are never reversed
        {"12 -", 4, {kBaseUnicode, true}, u"- 21"},
        {"abc", 2, {kBaseUnicode, true}, u"\u05D1\u05D0"},  // only n characters
        {"ab", 0, {kBaseUnicode, true}, u""},
        {"a\0b", 3, {kBaseUnicode, false}, u"\u05D0"},  // stops at the zero byte
    };
    for (const auto& c : cases) EXPECT_EQ(Convert(c.text, c.n, c.options), c.want) << c.text;
}

TEST(LetterCode, BufferIsReusedUntilItIsTooSmall) {
    HeadlessPlatform platform;
    ConversionBuffer buffer;
    const auto* text = reinterpret_cast<const std::uint8_t*>("abcdef");
    const char16_t* first = ConvertLetterCode(text, &buffer, 4, {});
    EXPECT_EQ(buffer.capacity, 4);
    const long before = platform.heap.Allocations();
    EXPECT_EQ(ConvertLetterCode(text, &buffer, 4, {}), first);  // n = capacity: reused
    EXPECT_EQ(ConvertLetterCode(text, &buffer, 2, {}), first);
    EXPECT_EQ(platform.heap.Allocations(), before);
    const char16_t* grown = ConvertLetterCode(text, &buffer, 5, {});
    EXPECT_EQ(buffer.capacity, 5);
    EXPECT_EQ(std::u16string(grown), u"\u05D0\u05D1\u05D2\u05D3\u05D4");
}

TEST(LetterCode, FailedAllocationGivesNothingAndKeepsTheBuffer) {
    HeadlessPlatform platform;
    ConversionBuffer buffer;
    const auto* text = reinterpret_cast<const std::uint8_t*>("abcdef");
    ASSERT_TRUE(ConvertLetterCode(text, &buffer, 2, {}));
    platform.heap.FailAllocationsAfter(0);
    EXPECT_EQ(ConvertLetterCode(text, &buffer, 6, {}), nullptr);
    EXPECT_EQ(buffer.capacity, 2);
    // The reversal's scratch block is missing too: the text stays as converted, unreversed.
    EXPECT_EQ(std::u16string(ConvertLetterCode(text, &buffer, 2, {kBaseUnicode, true})),
              u"\u05D0\u05D1");
    platform.heap.Reset();
    // Without a buffer the caller owns a new block.
    platform::HeapArray<char16_t> owned;
    const char16_t* out = ConvertLetterCode(text, nullptr, 3, {}, &owned);
    EXPECT_EQ(out, owned.get());
    EXPECT_EQ(std::u16string(out), u"\u05D0\u05D1\u05D2");
}

}  // namespace
}  // namespace vaelo::content
