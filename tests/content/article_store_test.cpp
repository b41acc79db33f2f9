#include <gtest/gtest.h>

#include <random>

#include "content/article_store.h"
#include "platform/headless/headless_platform.h"

namespace vaelo::content {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An article resource around packed bytes; the header fields can be forced for damage tests.
Bytes Resource(const Bytes& packed, std::uint16_t textLength, int blockLength = -1,
               int packedLength = -1) {
    const auto bl = static_cast<std::uint16_t>(blockLength >= 0 ? blockLength : packed.size() + 8);
    const auto pl = static_cast<std::uint16_t>(packedLength >= 0 ? packedLength : packed.size());
    Bytes r = {static_cast<std::uint8_t>(bl >> 8), static_cast<std::uint8_t>(bl), 0, 0, 0, 0,
               static_cast<std::uint8_t>(pl >> 8), static_cast<std::uint8_t>(pl),
               static_cast<std::uint8_t>(textLength >> 8), static_cast<std::uint8_t>(textLength)};
    for (std::uint8_t b : packed) r.push_back(b);
    r.resize(r.size() + 4, 0);
    return r;
}

// The plain decoder: one byte at a time, every step checked. The store's decoder must agree
// with it on every input.
std::optional<Bytes> Reference(const Bytes& in, std::size_t textLength) {
    Bytes out;
    std::size_t i = 0;
    while (out.size() < textLength && i < in.size()) {
        const std::uint8_t c = in[i++];
        if (c >= 1 && c <= 8) {
            if (in.size() - i < c) return std::nullopt;
            for (int k = 0; k < c && out.size() < textLength; ++k) out.push_back(in[i + k]);
            i += c;
        } else if (c < 0x80) {
            out.push_back(c);
        } else if (c >= 0xC0) {
            out.push_back(' ');
            if (out.size() < textLength) out.push_back(c ^ 0x80);
        } else {
            if (i >= in.size()) return std::nullopt;
            const unsigned v = (c << 8) | in[i++];
            const std::size_t d = (v >> 3) & 0x7FF, n = (v & 7) + 3;
            if (d == 0 || d > out.size()) return std::nullopt;
            for (std::size_t k = 0; k < n && out.size() < textLength; ++k) out.push_back(out[out.size() - d]);
        }
    }
    if (out.size() != textLength) return std::nullopt;
    return out;
}

class ArticleStoreTest : public ::testing::Test {
protected:
    // Unpacks from an exactly sized heap copy, so the sanitizers see any read past the end.
    std::optional<Bytes> Unpack(const Bytes& packed, std::uint32_t textLength, int* status) {
        auto copy = std::make_unique<std::uint8_t[]>(packed.size() + 1);
        std::copy(packed.begin(), packed.end(), copy.get());
        Document d = UnCompress({copy.get(), static_cast<std::uint32_t>(packed.size()), textLength}, status);
        if (!d) return std::nullopt;
        EXPECT_EQ(d.length, textLength);
        EXPECT_EQ(d.data()[textLength], 0);
        return Bytes(d.data(), d.data() + textLength);
    }
    platform::headless::HeadlessPlatform platform_;
};

TEST_F(ArticleStoreTest, DecodesEveryControlKind) {
    struct Case {
        const char* what;
        Bytes packed;
        std::uint32_t textLength;
        Bytes want;
    };
    const Case cases[] = {
        {"space pair", {0xC1}, 2, {0x20, 0x41}},
        {"literal run of a high byte", {0x01, 0x85}, 1, {0x85}},
        {"literals, zero included", {0x00, 0x09, 0x7F}, 3, {0x00, 0x09, 0x7F}},
        {"back reference", {'a', 'b', 'c', 0x80, 0x18}, 6, {'a', 'b', 'c', 'a', 'b', 'c'}},
        // distance 1, length 10: the one byte repeats
        {"overlapping reference", {'x', 0x80, 0x0F}, 11, Bytes(11, 'x')},
        {"distance 2 overlap", {'a', 'b', 0x80, 0x14}, 9, {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a'}},
        {"cut at textLength in a run", {0x05, 1, 2, 3, 4, 5}, 3, {1, 2, 3}},
        {"cut at textLength in a reference", {'x', 0x80, 0x0F}, 4, Bytes(4, 'x')},
        {"cut between the two bytes of a pair", {'q', 0xC1}, 2, {'q', 0x20}},
        {"leftover packed bytes ignored", {'a', 'b', 'c', 'd'}, 2, {'a', 'b'}},
    };
    for (const auto& c : cases) {
        int status = -7;
        auto got = Unpack(c.packed, c.textLength, &status);
        ASSERT_TRUE(got) << c.what;
        EXPECT_EQ(*got, c.want) << c.what;
        EXPECT_EQ(status, -7) << c.what << ": success leaves the status alone";
    }
    EXPECT_TRUE(platform_.messageBoxes.Log().empty());
}

TEST_F(ArticleStoreTest, RejectsShortAndMalformedDataWithBufferError) {
    struct Case {
        const char* what;
        Bytes packed;
        std::uint32_t textLength;
    };
    const Case cases[] = {
        {"runs out early", {'a', 'b'}, 3},
        {"distance 0", {'a', 'b', 'c', 0x80, 0x00}, 6},
        {"reference before the start", {'a', 0x80, 0x10}, 4},
        {"literal run beyond the data", {0x05, 1, 2}, 5},
        {"reference missing its second byte", {'a', 'b', 0x80}, 5},
    };
    for (const auto& c : cases) {
        platform_.messageBoxes.ClearLog();
        int status = 0;
        EXPECT_FALSE(Unpack(c.packed, c.textLength, &status)) << c.what;
        EXPECT_EQ(status, LoadBufferError) << c.what;
        ASSERT_EQ(platform_.messageBoxes.Log().size(), 1u) << c.what;
        EXPECT_EQ(platform_.messageBoxes.Log()[0],
                  "MessageBox owner=0 caption=\"Error\" text=\"UnCompress() buffer error!\" style=0x00 -> 1");
    }
}

TEST_F(ArticleStoreTest, LoadStatuses) {
    const Bytes good = Resource({0xC1, 'b'}, 3);
    platform_.SetResources(*platform::ResourceContainer::Own(
        platform::WriteResourceContainer({
            {{10, 1001}, good},
            {{10, 1002}, {}},
            {{10, 1003}, Resource({'a'}, 1, /*blockLength=*/4)},
            {{10, 1004}, Resource({'a'}, 1, -1, /*packedLength=*/0)},
            {{10, 1005}, Resource({'a'}, 0)},
            {{10, 1006}, Resource({'a'}, 2)},
            {{10, 1007}, {0x00, 0x10, 0}},  // shorter than its own header
            {{10, 1008}, Resource({'a', 'b', 'c'}, 3, -1, /*packedLength=*/200)},
            {{10, 32767}, Resource({'i'}, 1)},
        }),
        nullptr));
    struct Case {
        int number;
        int status;  // 0: loads
    };
    const Case cases[] = {{1, 0},  {2, LoadUnavailable}, {3, LoadBadHeader}, {4, LoadBadHeader},
                          {5, LoadBadLengths},   {6, LoadBufferError},   {7, LoadBadHeader},
                          {8, 0},  {261, LoadNotFound}, {kIndexArticleNumber, 0}};
    for (const auto& c : cases) {
        int status = 0;
        Document d = LoadArticle(c.number, &status);
        EXPECT_EQ(status, c.status) << "article " << c.number;
        EXPECT_EQ(static_cast<bool>(d), c.status == 0) << "article " << c.number;
    }
    Document d = LoadArticle(1, nullptr);
    ASSERT_TRUE(d);
    EXPECT_EQ(Bytes(d.data(), d.data() + 4), (Bytes{' ', 'A', 'b', 0}));
    // Numbers below 1 give nothing and leave the status as it was.
    for (int number : {0, -1, -31767}) {
        int status = 99;
        EXPECT_FALSE(LoadArticle(number, &status));
        EXPECT_EQ(status, 99);
    }
    // No memory for the block.
    platform_.heap.FailAllocationsAfter(0);
    int status = 0;
    EXPECT_FALSE(LoadArticle(1, &status));
    EXPECT_EQ(status, LoadUnavailable);
    platform_.heap.Reset();
}

TEST_F(ArticleStoreTest, AgreesWithPlainDecoderOnRandomAndMutatedData) {
    std::mt19937 rng(1234);
    auto byte = [&] { return static_cast<std::uint8_t>(rng()); };
    // A valid stream to mutate: literals, pairs, runs and references over text-like bytes.
    Bytes valid;
    std::size_t produced = 0;
    while (produced < 3000) {
        const int kind = rng() % 4;
        if (kind == 0 || produced < 20) {
            valid.push_back(static_cast<std::uint8_t>('a' + rng() % 27));
            produced += 1;
        } else if (kind == 1) {
            valid.push_back(static_cast<std::uint8_t>(0xC1 + rng() % 27));
            produced += 2;
        } else if (kind == 2) {
            const int n = 1 + rng() % 8;
            valid.push_back(static_cast<std::uint8_t>(n));
            for (int i = 0; i < n; ++i) valid.push_back(byte());
            produced += n;
        } else {
            const unsigned d = 1 + rng() % std::min<std::size_t>(produced, 2047), len = rng() % 8;
            const unsigned v = 0x8000 | (d << 3) | len;
            valid.push_back(static_cast<std::uint8_t>(v >> 8));
            valid.push_back(static_cast<std::uint8_t>(v));
            produced += len + 3;
        }
    }
    int agreed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes packed;
        if (round % 3 == 0) {
            packed.resize(rng() % 64);
            for (auto& b : packed) b = byte();
        } else {
            packed = valid;
            for (int m = 1 + rng() % 4; m > 0; --m) packed[rng() % packed.size()] = byte();
            if (round % 3 == 2) packed.resize(rng() % packed.size());
        }
        const std::uint32_t textLength = 1 + rng() % (round % 3 == 0 ? 200 : 3500);
        auto want = Reference(packed, textLength);
        int status = 0;
        auto got = Unpack(packed, textLength, &status);
        ASSERT_EQ(got.has_value(), want.has_value()) << "round " << round;
        if (got) {
            EXPECT_EQ(*got, *want) << "round " << round;
            ++agreed;
        } else {
            EXPECT_EQ(status, LoadBufferError);
        }
    }
    EXPECT_GT(agreed, 100);  // the mutations leave enough valid streams to compare output
}

}  // namespace
}  // namespace vaelo::content
