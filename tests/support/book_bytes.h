// Books and documents made in a test: an article resource whose packed data is nothing but
// literal runs (valid for the decoder, and simple), and a document block as the article store
// hands one out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "content/document.h"
#include "platform/heap.h"

namespace vaelo::testing {

using Bytes = std::vector<std::uint8_t>;

// Runs of at most eight bytes, each behind its count (0x01..0x08).
inline Bytes PackLiterally(const Bytes& text) {
    Bytes out;
    for (std::size_t i = 0; i < text.size(); i += 8) {
        const std::size_t n = std::min<std::size_t>(8, text.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), text.begin() + static_cast<long>(i), text.begin() + static_cast<long>(i + n));
    }
    return out;
}

// The resource header (big-endian blockLength, four unused bytes, packedLength, textLength),
// the packed text and the four zero bytes after it.
inline Bytes ArticleResource(const Bytes& text) {
    const Bytes packed = PackLiterally(text);
    const std::size_t block = packed.size() + 8;
    Bytes r = {static_cast<std::uint8_t>(block >> 8), static_cast<std::uint8_t>(block), 0, 0, 0, 0,
               static_cast<std::uint8_t>(packed.size() >> 8), static_cast<std::uint8_t>(packed.size()),
               static_cast<std::uint8_t>(text.size() >> 8), static_cast<std::uint8_t>(text.size())};
    for (auto b : packed) r.push_back(b);
    r.resize(r.size() + 4, 0);
    return r;
}

// A document block of the bytes: the text, its zero and the spare byte.
inline content::Document DocumentFromBytes(const Bytes& bytes) {
    content::Document doc;
    doc.length = static_cast<std::uint32_t>(bytes.size());
    doc.block = platform::HeapAllocArray<std::uint8_t>(bytes.size() + 2);
    std::copy(bytes.begin(), bytes.end(), doc.block.get());
    doc.block[bytes.size()] = 0;
    doc.block[bytes.size() + 1] = 0;
    return doc;
}

}  // namespace vaelo::testing
