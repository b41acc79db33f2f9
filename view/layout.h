// Line layout: breaks a document into display lines for the width of a view and fills the
// view's line table, counting rows and the largest useful top row. Painting and scrolling work
// from that table alone; the document's text is read again only to be drawn.
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace vaelo::view {

// Lays `document` out in the view and keeps it as the view's document on success. adopt
// releases the view's current document first (a new article for a view that may hold one).
// Results: 0; -1 without a view; 2 without a document (with adopt the view's document is
// released); kEmptyDocument when the first flags byte is 0 or the first record is a text
// record with empty text (the view keeps what it had); kOutOfMemory when the line table or a
// working copy cannot be had (the table ends after the lines made so far; a new document is
// then not kept, and the view holds none). Every layout clears the match marks; topRow stays.
int LayoutDocument(TextView* view, content::Document document, bool adopt);

// Lays the view's own document out again (after a resize or a font change); 2 when it has
// none.
int LayoutOwnDocument(TextView* view);

// How many leading bytes of text[0..*count) fit in *width, and their width: both are in-out.
// Text is measured in stored order whatever the Reverse setting, with one fit request and one
// width request to the surface. False (count and width 0) when the conversion has no memory.
bool MeasureFit(platform::Surface& dc, const Letters& letters, const std::uint8_t* text, int* width,
                int* count);

// The largest top row that still fills the view, stored in view.maxTopRow; -1 (maxTopRow
// unchanged) when the view has no table, no rows or no lines.
int ComputeMaxTopRow(TextView* view);

}  // namespace vaelo::view
