// Windows and messages. Handlers receive the platform's messages by number, with the key and
// scroll codes below; the Qt backend translates its events into them and tests send them
// directly.
#pragma once

#include <cstdint>

namespace vaelo::platform {

namespace msg {
constexpr unsigned kCreate = 1;
constexpr unsigned kDestroy = 2;
constexpr unsigned kSize = 5;
constexpr unsigned kActivate = 6;
constexpr unsigned kPaint = 15;
constexpr unsigned kClose = 16;
constexpr unsigned kKeyDown = 256;
constexpr unsigned kCommand = 273;
constexpr unsigned kVScroll = 277;
constexpr unsigned kPenDown = 513;
}  // namespace msg

namespace key {
constexpr unsigned kEnter = 13;
constexpr unsigned kPageUp = 33;
constexpr unsigned kPageDown = 34;
constexpr unsigned kEnd = 35;
constexpr unsigned kHome = 36;
constexpr unsigned kLeft = 37;
constexpr unsigned kUp = 38;
constexpr unsigned kRight = 39;
constexpr unsigned kDown = 40;
}  // namespace key

namespace scroll {
constexpr unsigned kLineUp = 0;
constexpr unsigned kLineDown = 1;
constexpr unsigned kPageUp = 2;
constexpr unsigned kPageDown = 3;
constexpr unsigned kThumbPosition = 4;
constexpr unsigned kThumbTrack = 5;
constexpr unsigned kTop = 6;
constexpr unsigned kBottom = 7;
constexpr unsigned kEndScroll = 8;
}  // namespace scroll

}  // namespace vaelo::platform
