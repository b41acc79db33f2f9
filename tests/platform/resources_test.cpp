#include <gtest/gtest.h>

#include "platform/resources.h"

namespace vaelo::platform {
namespace {

using Map = std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>>;

TEST(ResourceContainer, WritesAndFindsByTypeAndId) {
    const Map resources{{{10, 1001}, {1, 2, 3}}, {{10, 32767}, {}}, {{2, 1001}, {9}}};
    auto c = ResourceContainer::Own(WriteResourceContainer(resources), nullptr);
    ASSERT_TRUE(c);
    auto a = c->Find(ResourceType::RawData, 1001);
    ASSERT_TRUE(a);
    EXPECT_EQ(std::vector<std::uint8_t>(a->begin(), a->end()), (std::vector<std::uint8_t>{1, 2, 3}));
    auto empty = c->Find(ResourceType::RawData, 32767);
    ASSERT_TRUE(empty);  // present, and empty
    EXPECT_EQ(empty->size(), 0u);
    EXPECT_EQ(c->Find(ResourceType::Bitmap, 1001)->size(), 1u);
    EXPECT_FALSE(c->Find(ResourceType::RawData, 1002));
    EXPECT_EQ(c->Entries().size(), 3u);
}

TEST(ResourceContainer, RejectsDamagedContainersWithAReason) {
    const auto good = WriteResourceContainer({{{10, 1}, {1, 2, 3, 4}}});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    auto cut = [&](std::size_t n) { return std::vector<std::uint8_t>(good.begin(), good.begin() + n); };
    auto bigSize = good;
    bigSize[16] = 0xFF;  // size of the one entry
    auto badMagic = good;
    badMagic[0] = 'X';
    const Case cases[] = {
        {"empty", {}},
        {"bad signature", badMagic},
        {"table cut short", cut(12)},
        {"data cut short", cut(good.size() - 1)},
        {"size beyond the end", bigSize},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ResourceContainer::Own(c.bytes, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(ResourceContainer, MissingFileIsAnError) {
    std::string error;
    EXPECT_FALSE(ResourceContainer::ReadFile("/nonexistent/book.vres", &error));
    EXPECT_NE(error.find("/nonexistent/book.vres"), std::string::npos);
}

}  // namespace
}  // namespace vaelo::platform
