#include "content/letter_code.h"

namespace vaelo::content {

char16_t DisplayCode(std::uint8_t byte, std::int32_t fontAsciiBase) {
    if (byte >= 0x61 && byte <= 0x7B) return static_cast<char16_t>(byte - 0x61 + fontAsciiBase);
    if (byte == 0x7E) return u'{';
    return byte;
}

static char16_t Mirror(char16_t c) {
    switch (c) {
        case u'(': return u')';
        case u')': return u'(';
        case u'[': return u']';
        case u']': return u'[';
        case u'{': return u'}';
        case u'}': return u'{';
    }
    return c;
}

void ReverseMirrored(char16_t* string, int n) {
    if (n <= 0) return;
    // Through a scratch block, as the swap has to see every character before it moves.
    auto scratch = platform::HeapAllocArray<char16_t>(static_cast<std::size_t>(n));
    if (!scratch) return;
    for (int i = 0; i < n; ++i) scratch[n - 1 - i] = Mirror(string[i]);
    for (int i = 0; i < n; ++i) string[i] = scratch[i];
}

const char16_t* ConvertLetterCode(const std::uint8_t* text, ConversionBuffer* buffer, int n,
                                  const LetterOptions& options,
                                  platform::HeapArray<char16_t>* owned) {
    if (n < 0) n = 0;
    char16_t* out;
    if (buffer && buffer->chars && buffer->capacity >= n) {
        out = buffer->chars.get();
    } else {
        auto block = platform::HeapAllocArray<char16_t>(static_cast<std::size_t>(n) + 1);
        if (!block) return nullptr;
        out = block.get();
        if (buffer) {
            buffer->chars = std::move(block);
            buffer->capacity = n;
        } else if (owned) {
            *owned = std::move(block);
        } else {
            return nullptr;  // nobody would own the result
        }
    }
    int i = 0;
    for (; i < n && text[i] != 0; ++i) out[i] = DisplayCode(text[i], options.fontAsciiBase);
    out[i] = 0;
    // Only the characters actually converted take part in the reversal; the converted count
    // is short of n only when the text ended early.
    if (i > 0 && options.fontAsciiBase != kBaseLatin && options.reverse) ReverseMirrored(out, i);
    return out;
}

}  // namespace vaelo::content
