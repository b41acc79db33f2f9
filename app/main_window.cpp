#include "app/main_window.h"

#include <cstdlib>

#include "app/menu_bar.h"
#include "app/panes.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "bookmarks/bookmark_list.h"
#include "content/article_store.h"
#include "dialogs/about_dialog.h"
#include "platform/platform.h"
#include "view/layout.h"
#include "view/scroll.h"

namespace vaelo {
namespace {

view::TextView* KeyView() {
    ShellState& s = Shell();
    return s.activeView ? s.activeView : s.mainView.get();
}

// Half a page for the modes 2 and 4 of a page-mode field, else a page less one row.
int PageRows(const view::TextView& v, std::uint32_t mode) {
    return (mode == 2 || mode == 4) ? v.paintedRows / 2 : v.paintedRows - 1;
}

std::intptr_t OnKey(platform::WindowId window, unsigned key) {
    ShellState& s = Shell();
    if (key == platform::key::kEnter) {
        // Search Again arrives with the search; until then Enter has nothing to repeat.
        return 0;
    }
    if (key == platform::key::kLeft) {
        PreviousArticle(window);
        return 0;
    }
    if (key == platform::key::kRight) {
        NextArticle(window);
        return 0;
    }
    view::TextView* v = KeyView();
    if (!v) return 1;
    const std::uint32_t mode = (s.flags & flags::kKeyPageModeMask) >> flags::kKeyPageModeShift;
    const int page = PageRows(*v, mode);
    int rows;
    switch (key) {
        case platform::key::kPageUp: rows = -page; break;
        case platform::key::kPageDown: rows = page; break;
        case platform::key::kEnd: rows = v->maxTopRow != 0 ? v->maxTopRow : page; break;
        case platform::key::kHome: rows = -(v->topRow != 0 ? v->topRow : page); break;
        case platform::key::kUp: rows = -1; break;
        case platform::key::kDown: rows = 1; break;
        default: return 1;
    }
    if (view::ScrollView(v, rows, false, true) == view::kScrollMoved)
        RequestRepaint(window, v == s.mainView.get() ? 257 : 258);
    UpdateScrollBar(s.activeScrollBar);
    return 0;
}

std::intptr_t OnScroll(platform::WindowId window, unsigned message, std::uintptr_t value, std::intptr_t extra) {
    ShellState& s = Shell();
    const auto bar = static_cast<platform::WindowId>(extra);
    unsigned bits;
    if (bar == s.bottomScrollBar && s.bottomView) {
        s.activeScrollBar = s.bottomScrollBar;
        s.activeView = s.bottomView.get();
        bits = 3;
    } else {
        s.activeScrollBar = s.mainScrollBar;
        s.activeView = s.mainView.get();
        bits = 257;
    }
    view::TextView* v = s.activeView;
    int rows = 0;
    if (v) {
        switch (value & 0xFFFF) {
            case platform::scroll::kLineUp: rows = -1; break;
            case platform::scroll::kLineDown: rows = 1; break;
            case platform::scroll::kPageUp: rows = 1 - v->paintedRows; break;
            case platform::scroll::kPageDown: rows = v->paintedRows - 1; break;
            case platform::scroll::kThumbPosition:
            case platform::scroll::kThumbTrack:
                rows = static_cast<std::int16_t>((value >> 16) & 0xFFFF) - v->topRow;
                break;
            case platform::scroll::kTop: rows = -v->topRow; break;
            case platform::scroll::kBottom: rows = 1; break;
        }
    }
    if (rows != 0 && view::ScrollView(v, rows, false, true) == view::kScrollMoved)
        RequestRepaint(window, bits);
    const std::intptr_t result = platform::Current().windows->DefaultHandling(window, message, value, extra);
    if (rows != 0) UpdateScrollBar(s.activeScrollBar);
    return result;
}

void OnTap(platform::WindowId window, std::intptr_t extra) {
    ShellState& s = Shell();
    if (!s.mainView) return;
    const int x = static_cast<int>(extra & 0xFFFF);
    const int y = static_cast<int>((static_cast<std::uintptr_t>(extra) >> 16) & 0xFFFF);
    if (TapPage(window, s.mainView.get(), x, y, true) == 0 && s.bottomView &&
        TapPage(window, s.bottomView.get(), x, y, false) == 1)
        RequestRepaint(window, RepaintBottom);
}

}  // namespace

std::intptr_t MainWindowProc(platform::WindowId window, unsigned message, std::uintptr_t value,
                             std::intptr_t extra) {
    ShellState& s = Shell();
    auto& p = platform::Current();
    switch (message) {
        case platform::msg::kCreate:
            s.mainWindow = window;
            CreateMenuBar(window);
            CreatePanes(window);
            SetReverseCheck(window, true);
            RefreshBookmarkCheck(window, true);
            return 0;
        case platform::msg::kDestroy:
            if (s.mainView) s.surface = nullptr;  // the views die in ShutDown; the surface is the window's
            if (s.hasMenuBar && p.menus) p.menus->DestroyMenuBar(window);
            s.hasMenuBar = false;
            ShutDown();
            return 0;
        case platform::msg::kSize:
            LayoutPanes(window, static_cast<std::uint32_t>(value));
            return 0;
        case platform::msg::kActivate:
            if (s.options.ignoreActivate) return p.windows->DefaultHandling(window, message, value, extra);
            // Being activated: full screen hides the desktop's panels again. There is no input
            // panel button on a desktop to hide otherwise.
            if ((value & 0xFFFF) != 0 && s.options.fullScreen) p.windows->SetFullScreen(window, true);
            return 0;
        case platform::msg::kPaint:
            PaintPanes(nullptr, window, 511);
            return 0;
        case platform::msg::kSettingChange:
            return 0;
        case platform::msg::kHelp:
            AboutDialog(window);
            return 0;
        case platform::msg::kKeyDown:
            return OnKey(window, static_cast<unsigned>(value));
        case platform::msg::kCommand:
            if (HandleCommand(window, value) == 1) return p.windows->DefaultHandling(window, message, value, extra);
            return 0;
        case platform::msg::kVScroll:
            return OnScroll(window, message, value, extra);
        case platform::msg::kPenDown:
            OnTap(window, extra);
            return 0;
        case platform::msg::kMemoryShortage:
            p.windows->Destroy(window);
            return 0;
    }
    return p.windows->DefaultHandling(window, message, value, extra);
}

int HandleCommand(platform::WindowId window, std::uintptr_t value) {
    ShellState& s = Shell();
    const unsigned id = static_cast<unsigned>(value & 0xFFFF);
    switch (id) {
        case command::kNextArticle:
            NextArticle(window);
            return 0;
        case command::kPreviousArticle:
            PreviousArticle(window);
            return 0;
        case command::kReverse:
            SetReverseCheck(window, false);
            RequestRepaint(window, 511);
            return 0;
        case command::kCheckForUpdates:
            CheckForUpdates(s.mainWindow);
            return 0;
        case command::kAbout:
            AboutDialog(window);
            return 0;
        case command::kExit:
            platform::Current().windows->Destroy(window);
            return 0;
        case 401: case 412: case 413: case 414: case 423: case 434: {
            const std::uint32_t code = id - 400;
            if (code == s.bottomSection) return 0;
            s.bottomSection = code;
            LayoutPanes(window, ReLayoutMarker);
            RequestRepaint(window, 1023);
            if (s.hasMenuBar)
                platform::Current().menus->CheckRadio(window, command::kProportionFirst, command::kProportionLast, id);
            return 0;
        }
    }
    return 1;
}

int SwitchArticle(platform::WindowId window, std::uint32_t article) {
    ShellState& s = Shell();
    const std::uint16_t remembered = s.lesson;
    const std::uint16_t rememberedRow = s.lastPosition;
    if (article != ReloadMarker) SetCurrentArticle(static_cast<std::uint16_t>(article));
    content::Document page = content::LoadArticle(s.lesson, nullptr);
    if (!page || !s.mainView) {
        s.lesson = remembered;
        s.lastPosition = rememberedRow;
        return 1;
    }
    view::LayoutDocument(s.mainView.get(), std::move(page), true);
    s.mainView->topRow = 0;
    if (article != ReloadMarker) LoadCommentary(window);
    RequestRepaint(window, 511);
    RefreshBookmarkCheck(window, true);
    return 0;
}

void StepArticle(platform::WindowId window, int delta) {
    int n = Shell().lesson + delta;
    if (n > content::kLastArticle) n = 1;
    if (n < 1) n = content::kLastArticle - 1;
    SwitchArticle(window, static_cast<std::uint32_t>(n));
}

void NextArticle(platform::WindowId window) { StepArticle(window, 2); }
void PreviousArticle(platform::WindowId window) { StepArticle(window, -2); }

bool HitPane(const view::TextView& v, int x, int y) {
    const int g = static_cast<int>(Shell().options.surroundingGutter);
    return v.left - g <= x && x <= v.left + v.width + g && v.top - g <= y && y <= v.top + v.height;
}

int TapPage(platform::WindowId, view::TextView* v, int x, int y, bool repaintNow) {
    ShellState& s = Shell();
    if (!v || !HitPane(*v, x, y)) return 0;
    s.activeView = v;
    s.activeScrollBar = v == s.bottomView.get() ? s.bottomScrollBar : s.mainScrollBar;
    if ((s.flags & flags::kTapPaging) == 0) return 0;
    int c, middle;
    if (s.flags & flags::kTapSplitVertical) {
        c = y;
        middle = v->top + v->height / 2;
    } else {
        c = x;
        middle = v->left + v->width / 2;
    }
    const std::uint32_t mode = (s.flags & flags::kTapPageModeMask) >> flags::kTapPageModeShift;
    const int page = std::abs(PageRows(*v, mode));
    view::ScrollView(v, c < middle ? -page : page, repaintNow, true);
    UpdateScrollBar(s.activeScrollBar);
    return 1;
}

int SetMenuCheck(platform::WindowId window, bool set, unsigned command, int state) {
    auto* menus = platform::Current().menus;
    const bool hasMenu = menus && Shell().hasMenuBar;
    bool on;
    if (set) {
        on = state != 0;
    } else {
        // Toggle: the menu holds the mark. Without a menu there is none to read.
        std::optional<bool> now = hasMenu ? menus->GetCheck(window, command) : std::nullopt;
        on = !now.value_or(false);
    }
    if (hasMenu) menus->SetCheck(window, command, on);
    return on ? 1 : 0;
}

void RefreshBookmarkCheck(platform::WindowId window, bool set) {
    ShellState& s = Shell();
    SetMenuCheck(window, set, command::kBookmark, IsBookmarked(s.bookmarks, s.lesson) ? 1 : 0);
}

void SetReverseCheck(platform::WindowId window, bool set) {
    ShellState& s = Shell();
    if (!set && !s.hasMenuBar) {
        // No menu to hold the mark: the flag itself is what toggles.
        s.flags ^= flags::kReverse;
        return;
    }
    if (SetMenuCheck(window, set, command::kReverse, (s.flags & flags::kReverse) ? 1 : 0) == 1)
        s.flags |= flags::kReverse;
    else
        s.flags &= ~flags::kReverse;
}

}  // namespace vaelo
