// Small value types shared by every role of the platform interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vaelo {

// A colour in the form 0x00BBGGRR: 0xFF0000 is blue, 0x0000FF red, 0x800000 navy.
using Color = std::uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kRed = 0x0000FF;
constexpr Color kYellow = 0x00FFFF;
constexpr Color kNavy = 0x800000;

constexpr int ColorRed(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Edges are inclusive on the left and top, exclusive on the right and bottom.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Wide strings are UTF-16, as the letter code conversion produces them.
using WideString = std::u16string;
using WideView = std::u16string_view;

// Result codes every operation of the program uses.
namespace result {
constexpr int kOk = 0;
constexpr int kMissing = -1;
constexpr int kNoMemory = -2;
constexpr int kBadInput = -4;
constexpr int kNothingToDo = 2;
}  // namespace result

}  // namespace vaelo
