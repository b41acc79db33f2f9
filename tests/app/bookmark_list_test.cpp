#include <gtest/gtest.h>

#include "app/settings.h"
#include "bookmarks/bookmark_list.h"
#include "platform/headless/headless_platform.h"

namespace vaelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BookmarkListTest : public ::testing::Test {
protected:
    std::vector<std::uint16_t> Entries(const BookmarkList& l) {
        std::vector<std::uint16_t> out;
        for (int i = 0; l.entries && i <= l.count; ++i) out.push_back(l.entries[i]);
        return out;
    }
    Bytes Saved(const BookmarkList& l) {
        SaveBookmarks(l);
        return platform_.settings.Read(kProgramKey, "Bookmarks")->bytes;
    }
    platform::headless::HeadlessPlatform platform_;
};

TEST_F(BookmarkListTest, LoadsWhatIsStored) {
    struct Case {
        const char* what;
        std::optional<Bytes> stored;
        bool hasEntries;
        std::vector<std::uint16_t> entries;  // with the zero entry
    };
    const Case cases[] = {
        {"absent", std::nullopt, false, {}},
        {"two zero bytes", Bytes{0, 0}, true, {0}},
        {"two bookmarks", Bytes{5, 0, 0x03, 0x01, 0, 0}, true, {5, 0x103, 0}},
        {"odd last byte not counted", Bytes{5, 0, 0, 0, 7}, true, {5, 0}},
        {"no zero entry at the end", Bytes{5, 0, 9, 0}, true, {5, 0}},
        {"zero inside ends the list", Bytes{5, 0, 0, 0, 9, 0, 0, 0}, true, {5, 0}},
        {"one byte", Bytes{5}, true, {0}},
    };
    for (const auto& c : cases) {
        platform_.settings.Clear();
        if (c.stored) platform_.settings.Write(kProgramKey, "Bookmarks", platform::SettingValue::Bytes(*c.stored));
        BookmarkList list;
        LoadBookmarks(list);
        EXPECT_EQ(static_cast<bool>(list.entries), c.hasEntries) << c.what;
        EXPECT_EQ(Entries(list), c.entries) << c.what;
    }
}

TEST_F(BookmarkListTest, AddRemoveAndSave) {
    BookmarkList list;
    EXPECT_EQ(Saved(list), (Bytes{0, 0}));
    AddBookmark(list, 7);
    EXPECT_EQ(Entries(list), (std::vector<std::uint16_t>{7, 0}));
    AddBookmark(list, 259);
    AddBookmark(list, 7);  // once only
    EXPECT_TRUE(IsBookmarked(list, 259));
    EXPECT_FALSE(IsBookmarked(list, 1));
    EXPECT_EQ(Saved(list), (Bytes{7, 0, 3, 1, 0, 0}));
    RemoveBookmark(list, 7);
    RemoveBookmark(list, 259);
    EXPECT_EQ(Entries(list), (std::vector<std::uint16_t>{0}));
    EXPECT_EQ(Saved(list), (Bytes{0, 0}));

    platform_.heap.FailAllocationsAfter(0);
    AddBookmark(list, 3);  // no memory: unchanged
    platform_.heap.Reset();
    EXPECT_EQ(list.count, 0);
}

}  // namespace
}  // namespace vaelo
