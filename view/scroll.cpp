#include "view/scroll.h"

#include <algorithm>

#include "platform/types.h"
#include "view/line_walk.h"
#include "view/paint.h"

namespace vaelo::view {
namespace {

LineText SpanOf(const TextView& view, const ViewLine& line) {
    return view.document ? ReadLine(view.document.data(), line) : LineSpanOnly(line);
}

// The offset past everything the document holds: a search from there finds nothing more in
// it and goes on with the next article.
std::uint16_t EndOfDocument(const TextView& view) {
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(view.document.length, 0xFFFF));
}

}  // namespace

int ScrollView(TextView* view, int delta, bool repaint, bool endRule) {
    if (view == nullptr) return result::kMissing;
    const int old = view->topRow;
    int row = old + delta;
    if (row < 0) {
        row = 0;
    } else if (endRule || row > view->rowCount) {
        // At its end the view stays put for every step down.
        if (row >= old && old >= view->maxTopRow) return kScrollUnchanged;
        if (row > view->rowCount) row = view->maxTopRow;
    }
    if (repaint && row == old) return kScrollUnchanged;
    if (row != old) view->topRow = static_cast<std::uint16_t>(row);
    if (repaint) return PaintView(view, true);
    return row != old ? kScrollMoved : kScrollUnchanged;
}

int ScrollToOffset(TextView* view, std::uint16_t offset) {
    if (view == nullptr || !view->lines) return 0;
    int row = 0;
    for (std::uint16_t j = 0; !IsTableEnd(view->lines[j]); ++j) {
        const ViewLine& line = view->lines[j];
        const LineText span = SpanOf(*view, line);
        if (span.begin <= offset && offset <= span.end) {
            view->topRow = static_cast<std::uint16_t>(std::min<int>(row, view->maxTopRow));
            return 1;
        }
        row += HasBlankAfter(line) ? 2 : 1;
    }
    return 0;
}

std::uint16_t SearchStartOffset(const TextView& view) {
    if (!view.lines) return 0;
    const std::uint16_t topRow = view.topRow > view.rowCount ? view.maxTopRow : view.topRow;
    const TopLine top = FindTopLine(view, topRow);
    const ViewLine& line = view.lines[top.index];
    // Nothing is shown at the top: the page is past the document's last line.
    if (IsTableEnd(line)) return EndOfDocument(view);

    const LineText span = SpanOf(view, line);
    const int d = span.begin;
    const int e = span.end - span.begin;
    const bool noMatch = view.markStart == 0 && view.markEnd == 0;
    const bool matchEndsOnTop = view.markEnd >= d && view.markEnd <= d + e;
    // Without a match on the top line, resume at the top line's last byte; at the end of the
    // document too when there is no match at all, rather than skipping what is on screen.
    if (!matchEndsOnTop && (topRow < view.maxTopRow || noMatch))
        return static_cast<std::uint16_t>(d + e - 1);
    if (view.markStart == d) {
        // The top line is not the terminating entry, so the entry after it is in the table.
        const ViewLine& next = view.lines[top.index + 1];
        if (IsTableEnd(next)) return EndOfDocument(view);
        return SpanOf(view, next).end;
    }
    return static_cast<std::uint16_t>(view.markStart - 1);
}

}  // namespace vaelo::view
