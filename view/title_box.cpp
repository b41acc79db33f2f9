#include "view/title_box.h"

#include <algorithm>

#include "view/layout.h"
#include "view/paint.h"

namespace vaelo::view {
namespace {

constexpr Color kTitleText = kRed;
constexpr Color kTitleBackground = kYellow;

void Fill(TitleText* title, const content::Paragraph& record, const std::uint8_t* doc) {
    if (title == nullptr) return;
    title->text = doc + record.textOffset;
    title->length = record.textLength;
}

}  // namespace

void FindTitles(const content::Document& document, TitleText* first, TitleText* second) {
    if (first) *first = TitleText{};
    if (second) *second = TitleText{};
    if (!document) return;
    const auto titles = content::FindTitleRecords(document.data(), document.length);
    if (titles.first) Fill(first, *titles.first, document.data());
    if (titles.second) Fill(second, *titles.second, document.data());
}

void DrawFrame(platform::Surface& dc, Rect& rect, Color color, int n) {
    platform::GdiObject pen(dc, dc.CreatePen(color));
    {
        platform::SelectScope selected(dc, pen.Get());
        for (int k = 0; k < n; ++k) {
            if (pen) dc.DrawRectangle(rect);
            rect = Rect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
        }
    }
    // The pen goes once the previous one is back in place (GdiObject's destructor).
}

void ShowTitleBox(TextView* view) {
    if (view == nullptr) return;
    TitleText titles[2];
    FindTitles(view->document, &titles[0], &titles[1]);
    if (titles[0].length == 0 && titles[1].length == 0) return;

    platform::Surface& dc = *view->dc;
    const Letters letters = ViewLetters(*view);
    StyleSelection fonts(*view);
    fonts.Select(content::ParaSizeSmall | StyleSetsColour);
    const int lines = titles[0].length != 0 && titles[1].length != 0 ? 2 : 1;
    const int th = dc.GetTextMetrics().height;
    const auto mode = dc.SetBackgroundMode(platform::BackgroundMode::Opaque);

    // A title wider than the view is cut to the bytes that fit in it.
    int widest = 0;
    for (TitleText& title : titles) {
        if (title.length == 0) continue;
        title.width = view->width;
        MeasureFit(dc, letters, title.text, &title.width, &title.length);
        widest = std::max(widest, title.width);
    }
    int w = widest + 2 * th + 8;
    if (w >= view->width) w = view->width;

    Rect box;
    box.left = view->left + (view->width - w) / 2;
    box.right = box.left + w;
    box.bottom = view->top + view->height - 2;
    box.top = view->top + view->height - lines * th - 12;
    DrawFrame(dc, box, kRed, 2);
    DrawFrame(dc, box, kWhite, 1);
    DrawFrame(dc, box, kBlue, 2);
    {
        platform::GdiObject yellow(dc, dc.CreateSolidBrush(kYellow));
        if (yellow) dc.FillRect(box, yellow.Get());
    }
    const int iw = box.right - box.left;
    int y = box.top;
    for (const TitleText& title : titles) {
        if (title.length == 0) continue;
        DrawTextBoxColored(dc, letters, title.text, title.length, box.left + (iw - title.width) / 2,
                           y, title.width, th, kTitleText, kTitleBackground);
        y += th;
    }
    dc.SetBackgroundMode(mode);
}

}  // namespace vaelo::view
