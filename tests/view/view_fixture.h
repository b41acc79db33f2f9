// What the view tests share: documents built from records, a view on a headless surface (plain
// font 12 px high, so 6 px a character; large 20 px, small 14 px), and readable dumps of the
// line table and of what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_surface.h"
#include "view/layout.h"
#include "tests/support/book_bytes.h"
#include "view/text_view.h"

namespace vaelo::view::testing {

struct Record {
    std::uint8_t flags;
    std::uint8_t indent;
    std::string text;
};

// A document as the article store hands it: the records, the zero flags byte, then the block's
// zero and its spare byte.
inline content::Document MakeDocument(const std::vector<Record>& records) {
    std::vector<std::uint8_t> bytes;
    for (const Record& r : records) {
        bytes.push_back(r.flags);
        bytes.push_back(r.indent);
        bytes.insert(bytes.end(), r.text.begin(), r.text.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return vaelo::testing::DocumentFromBytes(bytes);
}

// One line of the table as "offset+length x=.. w=.. [hang=..] h=.. f=0x..".
inline std::string Describe(const ViewLine& line) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%u+%u x=%u w=%u%s h=%u f=0x%02X", line.textOffset, line.length,
                  line.x, line.width,
                  line.hang ? (" hang=" + std::to_string(line.hang)).c_str() : "", line.height,
                  line.flags);
    return buf;
}

// The table as the painting walks it: up to the terminating entry.
inline std::vector<std::string> Lines(const TextView& view) {
    std::vector<std::string> out;
    for (int j = 0; view.lines && !IsTableEnd(view.lines[j]); ++j)
        out.push_back(Describe(view.lines[j]));
    return out;
}

class ViewTest : public ::testing::Test {
  protected:
    // Like a real surface, this one has a font of its own current before any view selects one,
    // so every drawing step can be seen to put it back.
    ViewTest() { surface.Select(defaultFont); }

    // A view of the given size at (0, 0), plain FontSpec of size 0 and letter base 97, so text
    // reads as it is stored.
    void Open(int width, int height, int fontSize = 0) {
        const Rect rect{0, 0, width, height};
        spec.fontSize = fontSize;
        spec.fontAsciiBase = content::kBaseLatin;
        view = CreateTextView(&surface, &rect, spec, 100, [this] { return letters; });
        ASSERT_TRUE(view);
    }
    int Layout(const std::vector<Record>& records) {
        return LayoutDocument(view.get(), MakeDocument(records), true);
    }
    // The drawn text, fills and outlines since the last ClearLog, without font handles.
    std::vector<std::string> Drawn() const {
        std::vector<std::string> out;
        for (std::string line : surface.Drawing()) {
            const auto at = line.find(" font=#");
            if (at != std::string::npos) line.erase(at, line.find(' ', at + 1) - at);
            out.push_back(line);
        }
        return out;
    }
    // Only the text drawn in a colour.
    std::vector<std::string> DrawnIn(const std::string& color) const {
        std::vector<std::string> out;
        for (const std::string& line : Drawn())
            if (line.find("color=" + color) != std::string::npos) out.push_back(line);
        return out;
    }

    platform::headless::HeadlessPlatform platform;
    platform::headless::HeadlessSurface surface{800, 600};
    platform::ObjectHandle defaultFont = surface.CreateFont(u"Default", 10, 400);
    FontSpec spec;
    content::LetterOptions letters{content::kBaseLatin, false};
    TextViewPtr view;
};

}  // namespace vaelo::view::testing
