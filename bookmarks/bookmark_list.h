// The bookmark list: article numbers in the order they were added, ended by a zero entry,
// kept in the settings value "Bookmarks" as 16-bit numbers, low byte first.
#pragma once

#include <cstdint>

#include "platform/heap.h"

namespace vaelo {

struct BookmarkList {
    platform::HeapArray<std::uint16_t> entries;  // count numbers, then a zero; none at start
    std::uint16_t capacity = 0;                  // entries the block holds, zero entry included
    std::uint16_t count = 0;
    bool dontAskAgain = false;  // removal asks nothing for the rest of the run
};

// Reads "Bookmarks" from the program key; entries held before are released.
void LoadBookmarks(BookmarkList& list);
// Writes the list; an empty or absent list is written as one zero entry.
void SaveBookmarks(const BookmarkList& list);
void FreeBookmarks(BookmarkList& list);

bool IsBookmarked(const BookmarkList& list, std::uint16_t article);
// Adds the article unless it is there; without memory the list stays as it was.
void AddBookmark(BookmarkList& list, std::uint16_t article);
// Drops every entry equal to the article, keeping the order of the others.
void RemoveBookmark(BookmarkList& list, std::uint16_t article);

}  // namespace vaelo
