#include "bookmarks/bookmark_list.h"

#include <vector>

#include "app/settings.h"

namespace vaelo {

void LoadBookmarks(BookmarkList& list) {
    std::uint32_t size = 0;
    platform::HeapBytes bytes = ReadBytesSized("Bookmarks", &size);
    list.entries.reset();
    list.count = 0;
    list.capacity = 0;
    if (!bytes) return;
    // Whole 16-bit entries only; the last one stands for the zero entry. A value that does not
    // end in zero is cut there rather than read past: the last entry becomes the zero entry.
    std::uint32_t entries = size / 2;
    if (entries > 0xFFFF) entries = 0xFFFF;
    const std::uint32_t slots = entries == 0 ? 1 : entries;
    auto block = platform::HeapAllocArray<std::uint16_t>(slots);
    if (!block) return;
    for (std::uint32_t i = 0; i < entries; ++i)
        block[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    std::uint16_t count = entries > 0 ? static_cast<std::uint16_t>(entries - 1) : 0;
    // A zero inside the value ends the list there, as every reader of the list stops at it.
    for (std::uint16_t i = 0; i < count; ++i)
        if (block[i] == 0) {
            count = i;
            break;
        }
    block[count] = 0;
    list.entries = std::move(block);
    list.capacity = static_cast<std::uint16_t>(slots);
    list.count = count;
}

void SaveBookmarks(const BookmarkList& list) {
    std::vector<std::uint8_t> bytes;
    if (list.entries)
        for (std::uint16_t i = 0; i < list.count; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(list.entries[i]));
            bytes.push_back(static_cast<std::uint8_t>(list.entries[i] >> 8));
        }
    bytes.push_back(0);
    bytes.push_back(0);
    WriteBytes("Bookmarks", bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

void FreeBookmarks(BookmarkList& list) {
    list.entries.reset();
    list.count = 0;
    list.capacity = 0;
}

bool IsBookmarked(const BookmarkList& list, std::uint16_t article) {
    if (!list.entries) return false;
    for (std::uint16_t i = 0; i < list.count; ++i)
        if (list.entries[i] == article) return true;
    return false;
}

void AddBookmark(BookmarkList& list, std::uint16_t article) {
    if (IsBookmarked(list, article) || list.count >= 0xFFFE) return;
    auto block = platform::HeapAllocArray<std::uint16_t>(list.count + 2u);
    if (!block) return;
    for (std::uint16_t i = 0; i < list.count; ++i) block[i] = list.entries[i];
    block[list.count] = article;
    block[list.count + 1] = 0;
    list.entries = std::move(block);
    list.count = static_cast<std::uint16_t>(list.count + 1);
    list.capacity = static_cast<std::uint16_t>(list.count + 1);
}

void RemoveBookmark(BookmarkList& list, std::uint16_t article) {
    if (!list.entries) return;
    std::uint16_t kept = 0;
    for (std::uint16_t i = 0; i < list.count; ++i)
        if (list.entries[i] != article) list.entries[kept++] = list.entries[i];
    list.entries[kept] = 0;
    list.count = kept;
}

}  // namespace vaelo
