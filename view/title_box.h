// The title box: after a search has brought a match into view, a framed yellow box over the
// bottom of the pane repeats the document's title lines in red, whichever part of the document
// is shown. It is drawn straight onto the surface and not remembered; the next paint of the
// view removes it.
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace vaelo::view {

struct TitleText {
    std::int32_t length = 0;             // bytes of the title; after measuring, the bytes that fit
    std::int32_t width = 0;              // after measuring, the width of those bytes
    const std::uint8_t* text = nullptr;  // inside the document, not a copy
};

// The first title line (a first record with the title-first flags) and the second (the record
// after it, or the first record, with the title-second flags). Either may be null.
void FindTitles(const content::Document& document, TitleText* first, TitleText* second);

// n nested one-pixel outlines in colour, each 1 pixel inside the one before; rect ends up n
// pixels smaller on every side. The current brush fills the inside.
void DrawFrame(platform::Surface& dc, Rect& rect, Color color, int n);

// Draws the box for the view's document; nothing without title lines.
void ShowTitleBox(TextView* view);

}  // namespace vaelo::view
