#include "content/article_store.h"

#include <cstring>

#include "platform/platform.h"

namespace vaelo::content {
namespace {

std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void SetStatus(int* status, int value) {
    if (status) *status = value;
}

}  // namespace

const char* LoadStatusName(int status) {
    switch (status) {
        case 0: return "LoadOk";
        case LoadNotFound: return "LoadNotFound";
        case LoadUnavailable: return "LoadUnavailable";
        case LoadBadHeader: return "LoadBadHeader";
        case LoadBadLengths: return "LoadBadLengths";
        case LoadBufferError: return "LoadBufferError";
    }
    return "LoadUnknownStatus";
}

Document UnCompress(const PackedBlock& block, int* status) {
    if (block.textLength == 0) {
        SetStatus(status, LoadBadLengths);
        return {};
    }
    auto out = platform::HeapAllocArray<std::uint8_t>(std::size_t{block.textLength} + 2);
    if (!out) {
        SetStatus(status, LoadUnavailable);
        return {};
    }
    const std::uint8_t* in = block.source;
    const std::uint8_t* const inEnd = block.source + block.sourceLength;
    std::uint8_t* const start = out.get();
    std::uint8_t* o = start;
    std::uint8_t* const limit = start + block.textLength;
    bool malformed = false;

    // Fast path: while at least 16 bytes of room and 9 packed bytes remain, nothing can pass
    // either end, so copies go in whole 8-byte words (over-copying into room that the next
    // step overwrites) and no step needs a bounds test of its own.
    while (limit - o >= 16 && inEnd - in >= 9) {
        const std::uint8_t c = *in++;
        if (c < 0x80) {
            if (c == 0x00 || c >= 0x09) {
                *o++ = c;
            } else {
                std::uint64_t w;
                std::memcpy(&w, in, 8);
                std::memcpy(o, &w, 8);
                o += c;
                in += c;
            }
        } else if (c < 0xC0) {
            const unsigned v = (static_cast<unsigned>(c) << 8) | *in++;
            const std::size_t distance = (v >> 3) & 0x7FF;
            const std::size_t length = (v & 7) + 3;
            if (distance == 0 || distance > static_cast<std::size_t>(o - start)) {
                malformed = true;
                break;
            }
            const std::uint8_t* from = o - distance;
            if (distance >= 8) {
                std::uint64_t w;
                std::memcpy(&w, from, 8);
                std::memcpy(o, &w, 8);
                std::memcpy(&w, from + 8, 8);
                std::memcpy(o + 8, &w, 8);
            } else {
                // Overlapping: a byte just written is read again, repeating the pattern.
                for (std::size_t i = 0; i < length; ++i) o[i] = from[i];
            }
            o += length;
        } else {
            o[0] = ' ';
            o[1] = c ^ 0x80;
            o += 2;
        }
    }

    // Careful path for the last bytes: every copy is cut at `limit`, every read is checked
    // against `inEnd` first.
    while (!malformed && o < limit && in < inEnd) {
        const std::uint8_t c = *in++;
        if (c >= 0x01 && c <= 0x08) {
            if (static_cast<std::size_t>(inEnd - in) < c) {
                malformed = true;  // the run claims bytes beyond the packed data
                break;
            }
            std::size_t n = c;
            if (n > static_cast<std::size_t>(limit - o)) n = static_cast<std::size_t>(limit - o);
            std::memcpy(o, in, n);
            o += n;
            in += c;
        } else if (c < 0x80) {
            *o++ = c;
        } else if (c >= 0xC0) {
            *o++ = ' ';
            if (o < limit) *o++ = c ^ 0x80;
        } else {
            if (in == inEnd) {
                malformed = true;  // the reference's second byte is missing
                break;
            }
            const unsigned v = (static_cast<unsigned>(c) << 8) | *in++;
            const std::size_t distance = (v >> 3) & 0x7FF;
            std::size_t length = (v & 7) + 3;
            if (distance == 0 || distance > static_cast<std::size_t>(o - start)) {
                malformed = true;
                break;
            }
            if (length > static_cast<std::size_t>(limit - o)) length = static_cast<std::size_t>(limit - o);
            const std::uint8_t* from = o - distance;
            if (distance >= length) {
                std::memcpy(o, from, length);
                o += length;
            } else {
                // Overlapping: a byte just written is read again, repeating the pattern.
                for (std::size_t i = 0; i < length; ++i) *o++ = from[i];
            }
        }
    }

    if (o != limit || malformed) {
        platform::Current().messageBoxes->Show(platform::kNoWindow, "UnCompress() buffer error!",
                                               std::nullopt, platform::mb::kOk);
        SetStatus(status, LoadBufferError);
        return {};
    }
    start[block.textLength] = 0;
    start[block.textLength + 1] = 0;  // the spare byte too: a reader may look one past the zero
    return Document{std::move(out), block.textLength};
}

Document LoadArticle(int number, int* status) {
    if (number < 1) return {};
    const auto id = static_cast<std::uint16_t>(number + kArticleResourceBase);
    auto* resources = platform::Current().resources;
    auto bytes = resources ? resources->Find(platform::ResourceType::RawData, id) : std::nullopt;
    if (!bytes) {
        SetStatus(status, LoadNotFound);
        return {};
    }
    if (bytes->empty() || bytes->data() == nullptr) {
        SetStatus(status, LoadUnavailable);
        return {};
    }
    // A resource too short to hold its header cannot be read at all.
    if (bytes->size() < kArticleHeaderSize) {
        SetStatus(status, LoadBadHeader);
        return {};
    }
    const std::uint8_t* r = bytes->data();
    if (BigEndian16(r) < 5 || BigEndian16(r + 6) == 0) {
        SetStatus(status, LoadBadHeader);
        return {};
    }
    PackedBlock block;
    block.source = r + kArticleHeaderSize;
    block.sourceLength = BigEndian16(r + 6);
    block.textLength = BigEndian16(r + 8);
    // The packed data may not claim more bytes than the resource holds.
    if (block.sourceLength > bytes->size() - kArticleHeaderSize)
        block.sourceLength = static_cast<std::uint32_t>(bytes->size() - kArticleHeaderSize);
    return UnCompress(block, status);
}

}  // namespace vaelo::content
