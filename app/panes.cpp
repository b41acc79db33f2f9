#include "app/panes.h"

#include "app/shell_state.h"
#include "content/article_store.h"
#include "platform/platform.h"
#include "view/layout.h"
#include "view/paint.h"

namespace vaelo {
namespace {

constexpr const char* kResourceNotFound = "Resource not found";

int ScrollBarWidth() {
    auto* system = platform::Current().system;
    return system ? system->ScrollBarWidth() : 0;
}

int Gutter() { return static_cast<int>(Shell().options.surroundingGutter); }

int ReportMissing(platform::WindowId window) {
    return platform::Current().messageBoxes->Show(window, kResourceNotFound, std::string("Error"),
                                                  platform::mb::kIconWarning | platform::mb::kOk);
}

view::LetterSource ShellLetters() {
    return [] { return Shell().LetterOptions(); };
}

// Sizes the bottom pane and both scroll bars, and gives the main pane's size.
Size Split(int w, int height) {
    ShellState& s = Shell();
    const int g = Gutter();
    const int sb = ScrollBarWidth();
    const int T = s.mainView->top;
    const int b = BottomHeight(height);
    const int a = height - b;
    s.bottomRect.right = s.bottomRect.left + w - sb;
    s.bottomRect.bottom = T + height - g;
    s.bottomRect.top = T + a + 1;
    auto* windows = platform::Current().windows;
    if (s.bottomView) {
        s.bottomView->top = s.bottomRect.top + g / 2;
        view::ResizeTextView(s.bottomView.get(), w - sb, b - 1);
    }
    if (s.mainScrollBar) {
        const int x = s.bottomRect.right + g, y = T - g - 2;
        windows->Move(s.mainScrollBar, {x, y, x + sb, y + a + g}, true);
    }
    if (s.bottomScrollBar && s.bottomView) {
        const int x = s.bottomRect.right + g, y = s.bottomRect.top - 2;
        windows->Move(s.bottomScrollBar, {x, y, x + sb, y + s.bottomView->height + g + 2}, true);
    }
    return {w - sb, a - 2};
}

}  // namespace

bool IsProportionCode(std::uint32_t code) {
    switch (code) {
        case 1: case 12: case 13: case 14: case 23: case 34: return true;
    }
    return false;
}

int BottomHeight(int height) {
    const std::uint32_t code = Shell().bottomSection;
    const int numerator = static_cast<int>(code / 10 % 10);
    const int denominator = static_cast<int>(code % 10);
    // Only the menu's codes reach here (the start-up replaces any other), but a zero
    // denominator must never divide.
    if (denominator == 0) return 0;
    return height * numerator / denominator;
}

int CreatePanes(platform::WindowId window) {
    ShellState& s = Shell();
    auto& p = platform::Current();
    s.surface = p.windows->GetSurface(window);
    if (!s.surface) return 1;
    Rect pane = p.windows->ClientRect(window);
    if (s.options.usesShellMenuBar) pane.bottom -= s.menuBarHeight;
    else pane.top += s.menuBarHeight;
    const int g = Gutter();
    if (pane.bottom - pane.top > 2 * g) {
        pane.top += g;
        pane.bottom -= 2 * g;
    }
    if (pane.right - pane.left > 2 * g) {
        pane.left += g;
        pane.right -= 2 * g;
    }
    s.bottomRect.left = pane.left;
    s.bottomRect.right = pane.right;
    if (p.menus && s.hasMenuBar) p.menus->CheckRadio(window, 401, 434, 400 + s.bottomSection);
    s.bottomView = view::CreateTextView(s.surface, &s.bottomRect, s.fontSpec, 100, ShellLetters(), &s.conversion);
    if (s.bottomView) {
        s.bottomScrollBar = p.windows->CreateScrollBar(window, s.bottomRect.right, s.bottomRect.top);
        s.mainScrollBar = p.windows->CreateScrollBar(window, s.bottomRect.right, s.bottomRect.top);
        s.activeScrollBar = s.mainScrollBar;
    }
    s.mainView = view::CreateTextView(s.surface, &pane, s.fontSpec, 100, ShellLetters(), &s.conversion);
    if (!s.mainView) return 1;
    content::Document page = content::LoadArticle(s.lesson, nullptr);
    if (!page) {
        ReportMissing(window);
        return 0;
    }
    view::LayoutDocument(s.mainView.get(), std::move(page), false);
    s.mainView->topRow = s.lastPosition;
    if (s.bottomView) {
        LoadCommentary(window);
        s.bottomView->topRow = s.bottomSectionLastPosition;
    }
    UpdateScrollBars();
    return 0;
}

void LayoutPanes(platform::WindowId, std::uint32_t size) {
    ShellState& s = Shell();
    int width, height;
    if (size == ReLayoutMarker) {
        width = s.lastClientSize.cx;
        height = s.lastClientSize.cy;
    } else {
        width = static_cast<int>(size & 0xFFFF);
        height = static_cast<int>(size >> 16);
        s.lastClientSize = {width, height};
    }
    const int g = Gutter();
    const int w = width > 2 * g ? width - 2 * g : width;
    const int h = height > 2 * g ? height - 2 * g : height;
    if (!s.mainView) return;
    const Size main = Split(w, h - s.menuBarHeight);
    view::ResizeTextView(s.mainView.get(), main.cx, main.cy);
    UpdateScrollBars();
}

void DrawBottomPane(platform::Surface& dc) {
    ShellState& s = Shell();
    if (!s.bottomView) return;
    const int g = Gutter();
    const Rect& r = s.bottomRect;
    platform::GdiObject pen(dc, dc.CreatePen(kBottomPaneColor));
    platform::GdiObject brush(dc, dc.CreateSolidBrush(kBottomPaneColor));
    if (pen && brush) {
        platform::SelectScope keepBrush(dc, brush.Get());
        {
            platform::SelectScope keepPen(dc, pen.Get());
            dc.DrawRectangle({r.left - g, r.top - 2, r.right + g, r.bottom + 2 * g});
        }
        platform::GdiObject red(dc, dc.CreatePen(kSeparatorColor));
        if (red) {
            platform::SelectScope keepPen(dc, red.Get());
            dc.DrawRectangle({r.left - g, r.top - 3, r.right + ScrollBarWidth() + g, r.top - 2});
        }
    }
    const auto mode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
    view::PaintView(s.bottomView.get(), false);
    dc.SetBackgroundMode(mode);
}

void PaintPanes(platform::Surface* surface, platform::WindowId window, unsigned bits) {
    ShellState& s = Shell();
    if (!surface) surface = s.surface ? s.surface : platform::Current().windows->GetSurface(window);
    if (!surface) return;
    if ((bits & RepaintMain) && s.mainView) view::PaintView(s.mainView.get(), (bits & RepaintErase) != 0);
    if (bits & RepaintBottom) DrawBottomPane(*surface);
}

void RequestRepaint(platform::WindowId window, unsigned bits) {
    ShellState& s = Shell();
    if (window == platform::kNoWindow) window = s.mainWindow;
    PaintPanes(s.surface, window, bits);
    UpdateScrollBars();
}

void UpdateScrollBar(platform::WindowId bar) {
    ShellState& s = Shell();
    if ((s.flags & flags::kScrollBarsLive) == 0 || bar == platform::kNoWindow) return;
    view::TextView* v = s.activeView ? s.activeView : s.mainView.get();
    if (!v) return;
    auto* windows = platform::Current().windows;
    windows->SetScrollRange(bar, 0, v->maxTopRow, true);
    windows->SetScrollPosition(bar, v->topRow, true);
}

void UpdateScrollBars() {
    ShellState& s = Shell();
    view::TextView* remembered = s.activeView;
    s.activeView = s.mainView.get();
    UpdateScrollBar(s.mainScrollBar);
    if (s.bottomView) {
        s.activeView = s.bottomView.get();
        UpdateScrollBar(s.bottomScrollBar);
    }
    s.activeView = remembered;
}

int LoadCommentary(platform::WindowId window) {
    ShellState& s = Shell();
    content::Document commentary = content::LoadArticle(s.lesson + 1, nullptr);
    if (!commentary) return ReportMissing(window);
    if (!s.bottomView) return 0;
    view::LayoutDocument(s.bottomView.get(), std::move(commentary), true);
    s.bottomView->topRow = 0;
    return 0;
}

}  // namespace vaelo
