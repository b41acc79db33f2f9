#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "content/article_store.h"
#include "platform/headless/headless_platform.h"
#include "tools/book/packer.h"

namespace vaelo::booktool {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Unpacks with the reader's own decoder.
Bytes Unpack(const Bytes& packed, std::size_t textLength) {
    const content::PackedBlock block{packed.data(), static_cast<std::uint32_t>(packed.size()),
                                     static_cast<std::uint32_t>(textLength)};
    int status = 0;
    content::Document doc = content::UnCompress(block, &status);
    EXPECT_TRUE(doc) << content::LoadStatusName(status);
    if (!doc) return {};
    return Bytes(doc.data(), doc.data() + doc.length);
}

Bytes Random(std::size_t n, unsigned seed, int alphabet) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(rng() % static_cast<unsigned>(alphabet));
    return b;
}

// Letter-code prose: words of Hebrew letters, spaces, now and then a digit or a stop.
Bytes Prose(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    static const char* words[] = {"ahbh", "wkn", "bspr", "hzh", "lmd", "sl", "tlmid", "dbr",
                                  "12", "(ri)", "hkl", "mh", "ktb", "bit", "rbnu", "amr"};
    Bytes b;
    while (b.size() < n) {
        const char* w = words[rng() % 16];
        b.insert(b.end(), w, w + std::strlen(w));
        b.push_back(rng() % 9 == 0 ? '.' : ' ');
    }
    b.resize(n);
    return b;
}

TEST(Packer, RoundTripsEveryKindOfInput) {
    platform::headless::HeadlessPlatform platform;
    struct Case {
        const char* name;
        Bytes text;
    };
    std::vector<Case> cases = {
        {"zeros", Bytes(5000, 0)},
        {"high bytes", Bytes(3000, 0xFF)},
        {"all byte values", Random(20000, 1, 256)},
        {"few values", Random(20000, 2, 4)},
        {"control bytes and spaces", Random(8000, 3, 0x41)},
        {"prose", Prose(30000, 4)},
        {"largest text", Prose(65535, 5)},
        {"largest random", Random(65535, 6, 256)},
        {"space before every byte", {' ', 0x40, ' ', 0x7F, ' ', 0x3F, ' ', 0x80, ' ', ' ', 'a'}},
    };
    for (std::size_t n = 1; n <= 10; ++n) {
        cases.push_back({"short random", Random(n, static_cast<unsigned>(n), 256)});
        cases.push_back({"short prose", Prose(n, static_cast<unsigned>(n))});
    }
    for (const auto& c : cases) {
        const Bytes packed = Pack(c.text);
        EXPECT_EQ(Unpack(packed, c.text.size()), c.text) << c.name << ", " << c.text.size() << " bytes";
    }
}

TEST(Packer, UsesEveryControlWhereItSaves) {
    platform::headless::HeadlessPlatform platform;
    // " a" is a pair, "hzh hzh hzh" repeats, 0x85 needs a run, 'Q' is a literal.
    const Bytes text = {'Q', ' ', 'a', 'h', 'z', 'h', ' ', 'h', 'z', 'h', ' ', 'h', 'z', 'h', 0x85};
    const Bytes packed = Pack(text);
    EXPECT_EQ(Unpack(packed, text.size()), text);
    // Q, pair " a", h z h, then " hzh hzh" as a pair and a reference (or a literal and a
    // longer reference), and a run of one for 0x85.
    EXPECT_EQ(packed.size(), 10u);
    auto has = [&](int lo, int hi) {
        return std::any_of(packed.begin(), packed.end(), [&](int b) { return b >= lo && b <= hi; });
    };
    EXPECT_TRUE(has(0xC0, 0xFF));
    EXPECT_TRUE(has(0x80, 0xBF));
    EXPECT_EQ(Bytes(packed.end() - 2, packed.end()), (Bytes{0x01, 0x85}));

    // A run of one byte value: a literal, then references of distance 1, ten bytes each.
    EXPECT_EQ(Pack(Bytes(1000, 0)).size(), 1u + 2 * 100);
}


TEST(Packer, ParseIsAsShortAsAnExhaustiveSearch) {
    for (const Bytes& text : {Prose(6000, 11), Random(3000, 12, 6), Random(3000, 13, 256),
                              Prose(300, 14)})
        EXPECT_EQ(Pack(text).size(), ExhaustivePackedSize(text));
}

TEST(ArticleResource, HeaderAroundThePackedText) {
    platform::headless::HeadlessPlatform platform;
    const Bytes text = Prose(1000, 7);
    std::string why;
    auto r = MakeArticleResource(text, &why);
    ASSERT_TRUE(r) << why;
    const std::size_t packed = r->size() - 14;
    EXPECT_EQ((*r)[0] << 8 | (*r)[1], static_cast<int>(r->size() - 6));
    EXPECT_EQ((Bytes{(*r)[2], (*r)[3], (*r)[4], (*r)[5]}), Bytes(4, 0));
    EXPECT_EQ(static_cast<std::size_t>((*r)[6] << 8 | (*r)[7]), packed);
    EXPECT_EQ((*r)[8] << 8 | (*r)[9], 1000);
    EXPECT_EQ(Bytes(r->end() - 4, r->end()), Bytes(4, 0));
    EXPECT_EQ(Unpack(Bytes(r->begin() + 10, r->end() - 4), 1000), text);

    EXPECT_FALSE(MakeArticleResource({}, &why));
    EXPECT_FALSE(MakeArticleResource(Bytes(65536, 'a'), &why));
    EXPECT_NE(why.find("65535"), std::string::npos) << why;
    // Random bytes grow when packed; past the 16-bit header they cannot be described.
    EXPECT_FALSE(MakeArticleResource(Random(65535, 8, 256), &why));
    EXPECT_NE(why.find("packs to"), std::string::npos) << why;
}

}  // namespace
}  // namespace vaelo::booktool
