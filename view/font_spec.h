// The font settings a text view draws with: face, size and letter base. One global instance
// holds the user's choice; every view keeps its own copy.
#pragma once

#include <cstdint>

namespace vaelo {

struct FontSpec {
    static constexpr int kFaceUnits = 32;  // terminator included
    char16_t faceName[kFaceUnits] = {};
    std::int32_t fontSize = 0;       // font height handed to font creation; 0: platform default
    std::int32_t fontAsciiBase = 0;  // 97, 224 or 1488

    bool HasFace() const { return faceName[0] != 0; }
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

}  // namespace vaelo
