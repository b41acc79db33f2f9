#include "view/paint.h"

#include <algorithm>

#include "platform/types.h"
#include "view/layout.h"
#include "view/line_walk.h"

namespace vaelo::view {
namespace {

constexpr Color kMatchText = kBlue;
constexpr Color kMatchBackground = kYellow;

// Where the page starts: the top line, the y of its top edge and the height left below it.
struct Page {
    std::uint16_t index = 0;
    std::uint16_t y = 0;
    int remaining = 0;
};

Page FirstVisible(TextView& view) {
    if (view.topRow > view.rowCount) view.topRow = view.maxTopRow;
    const TopLine top = FindTopLine(view, view.topRow);
    return {top.index, static_cast<std::uint16_t>(view.top + top.blankAbove),
            view.height - top.blankAbove};
}

// Moves the page down past a line and, with ParaBlankAfter, its blank row too (also when that
// row no longer fits).
int Advance(Page& page, const ViewLine& line) {
    const int rows = HasBlankAfter(line) ? 2 : 1;
    page.y = static_cast<std::uint16_t>(page.y + rows * line.height);
    page.remaining -= rows * line.height;
    return rows;
}

unsigned StyleOf(const ViewLine& line) {
    return content::IsRule(line.flags) ? content::ParaSizeNormal : line.flags;
}

// The hang word's bytes that fit its column, their width, and where the column puts them: to
// the right of a reversed record's line, right-aligned; else to the left, left-aligned.
struct HangPlace {
    int count = 0;
    int width = 0;
    int x = 0;
};

HangPlace PlaceHangWord(platform::Surface& dc, const Letters& letters, const ViewLine& line,
                        const LineText& text) {
    HangPlace place;
    place.count = text.hangLength;
    place.width = line.hang;
    MeasureFit(dc, letters, text.hangWord, &place.width, &place.count);
    place.x = (line.flags & content::ParaReversed) ? line.x + line.width + line.hang - place.width
                                                   : line.x - line.hang;
    return place;
}

int ConvertedLength(const char16_t* s, int n) {
    int k = 0;
    while (k < n && s[k] != 0) ++k;
    return k;
}

}  // namespace

void DrawTextBox(platform::Surface& dc, const Letters& letters, const std::uint8_t* text, int n,
                 int x, int y, int w, int h) {
    if (n <= 0) return;
    const char16_t* s = content::ConvertLetterCode(text, letters.buffer, n, letters.options);
    if (s == nullptr) return;
    dc.DrawTextCentered(Rect{x, y, x + w, y + h}, s, ConvertedLength(s, n));
}

void DrawTextBoxColored(platform::Surface& dc, const Letters& letters, const std::uint8_t* text,
                        int n, int x, int y, int w, int h, Color textColor, Color backgroundColor) {
    const auto mode = dc.SetBackgroundMode(platform::BackgroundMode::Opaque);
    const Color oldText = dc.SetTextColor(textColor);
    const Color oldBackground = dc.SetBackgroundColor(backgroundColor);
    DrawTextBox(dc, letters, text, n, x, y, w, h);
    dc.SetBackgroundColor(oldBackground);
    dc.SetTextColor(oldText);
    dc.SetBackgroundMode(mode);
}

void FillViewRect(platform::Surface& dc, int left, int top, int width, int height,
                  platform::StockBrush brush) {
    dc.FillRect(Rect{left, top, left + width, top + height}, dc.GetStockBrush(brush));
}

int PaintView(TextView* view, bool clear) {
    if (view == nullptr || !view->document || !view->lines) return result::kMissing;
    platform::Surface& dc = *view->dc;
    view->paintedRows = 0;
    Page page = FirstVisible(*view);
    const ViewLine* lines = view->lines.get();
    const std::uint8_t* doc = view->document.data();
    const Letters letters = ViewLetters(*view);

    unsigned style = StyleOf(lines[page.index]);
    const Color oldColor = dc.GetTextColor();
    {
        StyleSelection fonts(*view);
        fonts.Select(style | StyleSetsColour);
        if (clear)
            FillViewRect(dc, view->left, view->top, view->width, view->height,
                         platform::StockBrush::White);

        for (std::uint16_t j = page.index; !IsTableEnd(lines[j]); ++j) {
            const ViewLine& line = lines[j];
            // Only whole lines are drawn.
            if (page.remaining < line.height) break;
            if (content::IsRule(line.flags)) {
                platform::SelectScope brush(dc, dc.GetStockBrush(platform::StockBrush::Black));
                const int mid = page.y + line.height / 2;
                dc.DrawRectangle(Rect{line.x, mid, line.x + line.width, mid + 1});
            } else {
                if (content::StyleKey(static_cast<std::uint8_t>(line.flags ^ style)) != 0)
                    fonts.Select(line.flags | StyleSetsColour);
                style = line.flags;
                const LineText text = ReadLine(doc, line);
                if (text.hangWord != nullptr) {
                    const HangPlace hang = PlaceHangWord(dc, letters, line, text);
                    DrawTextBox(dc, letters, text.hangWord, hang.count, hang.x, page.y, hang.width,
                                line.height);
                }
                DrawTextBox(dc, letters, text.text, text.length, line.x, page.y, line.width,
                            line.height);
            }
            view->paintedRows += Advance(page, line);
        }
    }
    dc.SetTextColor(oldColor);
    if (view->markStart != 0 || view->markEnd != 0) return PaintMatch(view);
    return result::kOk;
}

int PaintMatch(TextView* view) {
    if (view == nullptr || !view->document || !view->lines) return result::kMissing;
    platform::Surface& dc = *view->dc;
    Page page = FirstVisible(*view);
    const ViewLine* lines = view->lines.get();
    const std::uint8_t* doc = view->document.data();
    const Letters letters = ViewLetters(*view);

    unsigned style = StyleOf(lines[page.index]);
    StyleSelection fonts(*view);
    fonts.Select(style);
    for (std::uint16_t j = page.index; !IsTableEnd(lines[j]); ++j) {
        const ViewLine& line = lines[j];
        if (page.remaining < line.height) break;
        Page next = page;
        Advance(next, line);
        if (content::IsRule(line.flags)) {
            page = next;
            continue;
        }
        // The line's whole span counts, its hang word included, so a match anywhere in what
        // the line shows is drawn on it.
        const LineText text = ReadLine(doc, line);
        if (view->markEnd < text.begin || view->markStart > text.end) {
            page = next;
            continue;
        }
        if (content::StyleKey(static_cast<std::uint8_t>(line.flags ^ style)) != 0)
            fonts.Select(line.flags);
        style = line.flags;
        if (text.hangWord != nullptr) {
            const HangPlace hang = PlaceHangWord(dc, letters, line, text);
            PaintMatchSegment(*view, doc, text.hangWord, hang.count, hang.x, page.y);
        }
        PaintMatchSegment(*view, doc, text.text, text.length, line.x, page.y);
        page = next;
    }
    return result::kOk;
}

void PaintMatchSegment(TextView& view, const std::uint8_t* document, const std::uint8_t* s, int n,
                       int x, int y) {
    // The match relative to the segment, cut to it.
    const int at = static_cast<int>(s - document);
    const int a = std::max(view.markStart - at, 0);
    const int b = std::min(view.markEnd - at, n);
    if (b <= a) return;

    platform::Surface& dc = *view.dc;
    const Letters letters = ViewLetters(view);
    const char16_t* str = content::ConvertLetterCode(s, letters.buffer, n, letters.options);
    if (str == nullptr) return;
    // The segment is drawn as one converted string; with Reverse in force that string runs
    // backwards, so the matched bytes stand mirrored within it: the highlight goes where those
    // very characters are drawn.
    const bool mirrored =
        letters.options.reverse && letters.options.fontAsciiBase != content::kBaseLatin;
    const int from = mirrored ? n - b : a;
    const int count = b - a;
    const int offset = from > 0 ? dc.TextExtent(str, from).cx : 0;
    const Size size = dc.TextExtent(str + from, count);
    DrawTextBoxColored(dc, letters, s + a, count, x + offset, y, size.cx, size.cy, kMatchText,
                       kMatchBackground);
}

}  // namespace vaelo::view
