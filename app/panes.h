// The two panes of the main window: the current page above, its commentary below on a light
// background under a red line, each with its scroll bar; the geometry for every size, the
// bottom pane's frame, painting by repaint bits, and the scroll bars kept in step.
#pragma once

#include <cstdint>

#include "platform/surface.h"
#include "platform/window.h"

namespace vaelo {

// Repaint bits.
constexpr unsigned RepaintMain = 0x001;
constexpr unsigned RepaintBottom = 0x002;
constexpr unsigned RepaintErase = 0x100;

// LayoutPanes: lay out again with the last client size.
constexpr std::uint32_t ReLayoutMarker = 0xBAADF00D;

constexpr Color kBottomPaneColor = 0x00FFFFEE;
constexpr Color kSeparatorColor = 0x000000FF;

// The proportion codes the menu makes: 1 (none), 12, 13, 14, 23 and 34.
bool IsProportionCode(std::uint32_t code);

// 0, or 1 when the main view cannot be made.
int CreatePanes(platform::WindowId window);
void LayoutPanes(platform::WindowId window, std::uint32_t size);
int BottomHeight(int height);
void DrawBottomPane(platform::Surface& surface);
void PaintPanes(platform::Surface* surface, platform::WindowId window, unsigned bits);
void RequestRepaint(platform::WindowId window, unsigned bits);
void UpdateScrollBar(platform::WindowId bar);
void UpdateScrollBars();
// 0, or the answer of the message box when the commentary cannot be loaded.
int LoadCommentary(platform::WindowId window);

}  // namespace vaelo
