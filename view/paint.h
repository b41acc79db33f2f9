// Painting a view's page from its line table, and the match highlight drawn over it in blue on
// yellow. The text boxes here are shared with the index view and the title box.
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace vaelo::view {

// Draws the page that starts at view.topRow: whole lines only, in their styles' fonts and
// colours, rules as one-pixel black lines, hang words in their column. clear fills the view
// with white first. Then the match, if any (PaintMatch's result). -1 without a document or a
// line table. A topRow past rowCount is first set to maxTopRow.
int PaintView(TextView* view, bool clear);

// Draws the matched bytes of the page again, blue on yellow. -1 as PaintView.
int PaintMatch(TextView* view);

// Draws the part of the n bytes at s (a line's text or hang word, drawn at x, y) that lies
// inside the view's match.
void PaintMatchSegment(TextView& view, const std::uint8_t* document, const std::uint8_t* s, int n,
                       int x, int y);

// n LetterCode bytes on one line, converted with the settings in force (Reverse included),
// centred in the rectangle (x, y, w, h); callers give w as the text's measured width.
void DrawTextBox(platform::Surface& dc, const Letters& letters, const std::uint8_t* text, int n,
                 int x, int y, int w, int h);

// DrawTextBox on an opaque background of the given colours; mode and colours come back after.
void DrawTextBoxColored(platform::Surface& dc, const Letters& letters, const std::uint8_t* text,
                        int n, int x, int y, int w, int h, Color textColor, Color backgroundColor);

// Fills (left, top)-(left + width, top + height) with a stock brush.
void FillViewRect(platform::Surface& dc, int left, int top, int width, int height,
                  platform::StockBrush brush);

}  // namespace vaelo::view
