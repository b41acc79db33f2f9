// The text view: one document shown in a rectangle of a drawing surface. The view owns the
// document it adopted, its line table and its font cache; the surface belongs to its owner and
// outlives the view. Layout, painting and scrolling live in layout.h, paint.h and scroll.h;
// this file holds the record and the operations that create, resize, re-font and release it.
#pragma once

#include <cstdint>
#include <functional>

#include "content/document.h"
#include "content/letter_code.h"
#include "platform/surface.h"
#include "view/font_spec.h"
#include "view/heap_object.h"

namespace vaelo::view {

// Results of the view operations besides those of platform/types.h.
constexpr int kBadSize = -5;
constexpr int kEmptyDocument = 0xFFFC;
constexpr int kOutOfMemory = 0xFFFE;

// SelectStyle: also set the style's text colour.
constexpr unsigned StyleSetsColour = 0x100;

// The letter settings in force (the shell's FontAsciiBase and Reverse bit), asked afresh at
// every conversion: a font change or a Reverse toggle shows at the next measurement or draw,
// whatever the view's own copy of the FontSpec says.
using LetterSource = std::function<content::LetterOptions()>;

// What a conversion for measuring or drawing needs: the settings and the buffer to convert
// through. MeasureFit clears `options.reverse` for its own conversion.
struct Letters {
    content::LetterOptions options;
    content::ConversionBuffer* buffer = nullptr;
};

// One display line. The table ends with an all-zero entry.
struct ViewLine {
    std::uint16_t textOffset = 0;  // first text byte of the line (a rule: its empty text)
    std::uint16_t length = 0;      // bytes drawn at x; a hang word is not counted
    std::uint16_t x = 0;           // left edge of that text on the surface
    std::uint16_t hang = 0;        // hang column width on a hanging first line, else 0
    std::uint16_t width = 0;       // measured width of the text at x, or the rule's length
    std::uint16_t height = 0;      // row height of the line's font
    std::uint8_t flags = 0;        // record flags; ParaBlankAfter only on a record's last line
};

// The terminating entry. Real lines always start at offset 2 or later (after the first
// record's flags and indent bytes), so a line whose flags are 0 (a record with the flags 0x80
// on a line that is not its last) is never taken for the end of the table.
constexpr bool IsTableEnd(const ViewLine& line) { return line.flags == 0 && line.textOffset == 0; }
constexpr bool HasBlankAfter(const ViewLine& line) {
    return (line.flags & content::ParaBlankAfter) != 0;
}

struct FontCacheNode {
    HeapPtr<FontCacheNode> next;
    platform::GdiObject font;  // none when its creation failed
    std::uint8_t styleKey = 0;
};

struct TextView {
    TextView() = default;
    TextView(const TextView&) = delete;  // `conversion` may point into the record itself
    TextView& operator=(const TextView&) = delete;

    platform::HeapArray<ViewLine> lines;  // lineCapacity + 1 entries
    platform::Surface* dc = nullptr;      // not owned
    content::Document document;           // owned from the layout that installs it
    std::int32_t paintedRows = 0;         // rows (blank ones included) of the last paint
    FontSpec fontSpec;                    // the view's own copy
    HeapPtr<FontCacheNode> fonts;         // newest first
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t topRow = 0;
    std::uint16_t rowCount = 0;
    std::uint16_t lineCount = 0;
    std::uint16_t lineCapacity = 0;
    std::uint16_t maxTopRow = 0;
    std::uint16_t markStart = 0;  // with markEnd 0 as well: no match
    std::uint16_t markEnd = 0;    // one past the match's last byte

    LetterSource letters;                             // empty: the view's letter base, not reversed
    content::ConversionBuffer* conversion = nullptr;  // the shared one, or ownConversion
    content::ConversionBuffer ownConversion;
};

using TextViewPtr = HeapPtr<TextView>;

// Creates an empty view on `surface` (nothing without one, or when memory runs out). rect may
// be null; capacity entries of line table are made up front when above 0. letters tells the
// view the letter settings in force; buffer is the conversion buffer shared by the program's
// views, or null for one of the view's own.
TextViewPtr CreateTextView(platform::Surface* surface, const Rect* rect, const FontSpec& spec,
                           int capacity, LetterSource letters = {},
                           content::ConversionBuffer* buffer = nullptr);

// -1 without a view, kBadSize for a width or height of 0 or less (nothing changes), else the
// result of laying the view's own document out again at the new size.
int ResizeTextView(TextView* view, int width, int height);

// With a spec: takes it, remakes every cached font, lays the own document out again and
// repaints with clearing (1 when the layout fails, else the paint's result). Without one:
// deletes every cached font (the nodes stay) and returns 0. -1 without a view.
int SetViewFontSpec(TextView* view, const FontSpec* spec);

// Selects the font of style's StyleKey (creating it on first use) and, with StyleSetsColour,
// sets the style's text colour. Returns the font selected before; kNoObject without a view or
// when no font could be selected (the current font then stays).
platform::ObjectHandle SelectStyle(TextView* view, unsigned style);
// The same, telling through *selected whether a font was selected at all: kNoObject alone
// cannot tell "nothing was current before" from "nothing could be selected".
platform::ObjectHandle SelectStyle(TextView* view, unsigned style, bool* selected);

// Selects styles for one drawing step and, when the step ends, selects again the font that was
// current before its first style: every step leaves the surface's font as it found it.
class StyleSelection {
  public:
    explicit StyleSelection(TextView& view) : view_(view) {}
    ~StyleSelection();
    StyleSelection(const StyleSelection&) = delete;
    StyleSelection& operator=(const StyleSelection&) = delete;
    void Select(unsigned style);

  private:
    TextView& view_;
    platform::ObjectHandle saved_ = platform::kNoObject;
    bool selected_ = false;
};

// Makes the node's font from the view's FontSpec and the node's StyleKey.
void MakeFont(TextView& view, FontCacheNode& node);

// Makes room for 128 more lines. On failure the table ends at `index` and kOutOfMemory is
// returned; the table never grows past what 16-bit counts can address.
int GrowLines(TextView* view, std::uint16_t index);

// Releases the view with everything it owns.
void ReleaseTextView(TextViewPtr& view);

// The letter settings in force for this view, with its conversion buffer.
Letters ViewLetters(const TextView& view);

}  // namespace vaelo::view
