// Scrolling by whole rows and the positions the search works from. A view's position is its
// top row, counted as the layout counts rows (blank rows included).
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace vaelo::view {

// ScrollView results besides -1 (no view) and PaintView's.
constexpr int kScrollUnchanged = 1;
constexpr int kScrollMoved = 3;

// Moves the top row by delta rows (negative: towards the start). With endRule (every caller
// sets it) a view already at or past maxTopRow does not move further down; a step down from
// above it may end past it, up to rowCount. A new row past rowCount becomes maxTopRow.
// repaint: repaint with clearing when the row changed and return the paint's result.
// Otherwise kScrollMoved or kScrollUnchanged.
int ScrollView(TextView* view, int delta, bool repaint, bool endRule);

// Makes the first line that holds the document offset the top row (never past maxTopRow) and
// returns 1; 0, with nothing changed, when no line holds it. A line holds the offsets from its
// first byte to one past its last, so the first of several spaces at a break belongs to the
// line before it and the others to none.
int ScrollToOffset(TextView* view, std::uint16_t offset);

// The document offset from which Search Again resumes in this view (the active pane): the last
// byte of the top line, or next to the match when the match is what the page shows.
std::uint16_t SearchStartOffset(const TextView& view);

}  // namespace vaelo::view
