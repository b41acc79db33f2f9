// Reading the line table back: where the page starts, and which document bytes a line shows.
// Painting, the highlight and the scroll positions share these, so they agree on every line.
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace vaelo::view {

// The first entry at or past a top row, and where it stands. When the top row is the blank
// row after a paragraph, the page starts that row's height further down.
struct TopLine {
    std::uint16_t index = 0;  // may be the terminating entry
    int blankAbove = 0;       // height of the blank row at the top, or 0
};
TopLine FindTopLine(const TextView& view, std::uint16_t topRow);

// The bytes a text line shows. A hanging first line shows its hang word in the column beside
// the line's own text: before it in the stored text for a left-to-right record, at the stored
// end of the record for a reversed one.
struct LineText {
    const std::uint8_t* text = nullptr;  // the bytes drawn at ViewLine.x
    int length = 0;
    const std::uint8_t* hangWord = nullptr;  // null on every other line
    int hangLength = 0;
    std::uint16_t begin = 0;  // document offsets covered, hang word included: [begin, end]
    std::uint16_t end = 0;    // end is one past the last byte
};
LineText ReadLine(const std::uint8_t* doc, const ViewLine& line);

// The document span of a line without reading the document (a view that holds none).
LineText LineSpanOnly(const ViewLine& line);

}  // namespace vaelo::view
