#include "view/line_walk.h"

namespace vaelo::view {

TopLine FindTopLine(const TextView& view, std::uint16_t topRow) {
    TopLine top;
    if (!view.lines) return top;
    int row = 0;
    std::uint16_t j = 0;
    while (!IsTableEnd(view.lines[j]) && row < topRow) {
        row += HasBlankAfter(view.lines[j]) ? 2 : 1;
        ++j;
    }
    top.index = j;
    // Passed the top row: it is the blank row of the entry just passed.
    if (row > topRow && j > 0) top.blankAbove = view.lines[j - 1].height;
    return top;
}

LineText LineSpanOnly(const ViewLine& line) {
    LineText t;
    t.length = line.length;
    t.begin = line.textOffset;
    t.end = static_cast<std::uint16_t>(line.textOffset + line.length);
    return t;
}

LineText ReadLine(const std::uint8_t* doc, const ViewLine& line) {
    LineText t = LineSpanOnly(line);
    t.text = doc + line.textOffset;
    if (line.hang == 0 || content::IsRule(line.flags)) return t;
    if (line.flags & content::ParaReversed) {
        // Stored after the line's bytes: the spaces, the hang word, then the stored form of
        // the spaces that led the text in reading order. Taken from the record's end back, so
        // a one-word record (whose line holds no bytes) still finds its word.
        const std::uint8_t* lineEnd = t.text + line.length;
        const std::uint8_t* end = lineEnd;
        while (*end != 0) ++end;
        t.end = static_cast<std::uint16_t>(end - doc);
        while (end > lineEnd && end[-1] == ' ') --end;
        const std::uint8_t* word = end;
        while (word > lineEnd && word[-1] != ' ') --word;
        t.hangWord = word;
        t.hangLength = static_cast<int>(end - word);
    } else {
        // The hang word opens the line's range; the line's own text follows its spaces.
        const std::uint8_t* p = t.text;
        while (*p != 0 && *p != ' ') ++p;
        t.hangWord = t.text;
        t.hangLength = static_cast<int>(p - t.text);
        while (*p == ' ') ++p;
        t.text = p;
        t.end = static_cast<std::uint16_t>(p - doc + line.length);
    }
    return t;
}

}  // namespace vaelo::view
