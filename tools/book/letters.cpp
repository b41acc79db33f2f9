#include "tools/book/letters.h"

#include <fribidi.h>

#include <algorithm>
#include <cstdio>

namespace vaelo::booktool {
namespace {

constexpr char32_t kAlef = 0x05D0;
constexpr char32_t kTav = 0x05EA;
// Raw bytes of a stored-order text ride along with the characters above the Unicode range.
constexpr char32_t kRawBase = 0x110000;

std::string Hex2(unsigned v) {
    char s[3];
    std::snprintf(s, sizeof s, "%02X", v & 0xFF);
    return s;
}

std::u32string Reorder(std::u32string_view text) {
    if (text.empty()) return {};
    std::vector<FriBidiChar> in(text.begin(), text.end()), out(text.size() + 1, 0);
    FriBidiParType base = FRIBIDI_PAR_RTL;
    fribidi_log2vis(in.data(), static_cast<FriBidiStrIndex>(in.size()), &base, out.data(),
                    nullptr, nullptr, nullptr);
    return std::u32string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(text.size()));
}

char32_t Mirror(char32_t c) {
    switch (c) {
        case '(': return ')';
        case ')': return '(';
        case '[': return ']';
        case ']': return '[';
        case '{': return '}';
        case '}': return '{';
        case '<': return '>';
        case '>': return '<';
    }
    return c;
}

}  // namespace

std::optional<std::uint8_t> LetterCodeOf(char32_t c) {
    if (c >= kAlef && c <= kTav) return static_cast<std::uint8_t>('a' + (c - kAlef));
    if (c == '{') return static_cast<std::uint8_t>('~');
    if (c < 0x20 || c > 0x7D || (c >= 'a' && c <= 'z')) return std::nullopt;
    return static_cast<std::uint8_t>(c);
}

std::optional<char32_t> CharOfLetterCode(std::uint8_t b) {
    if (b >= 'a' && b <= '{') return kAlef + (b - 'a');
    if (b == '~') return U'{';
    if (b < 0x20 || b > 0x7D) return std::nullopt;
    return b;
}

std::optional<std::u32string> DecodeUtf8(std::string_view text, std::size_t* badOffset) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    auto bad = [&]() -> std::optional<std::u32string> {
        if (badOffset) *badOffset = i;
        return std::nullopt;
    };
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0;
        if (b < 0x80) c = b;
        else if ((b & 0xE0) == 0xC0) extra = 1, c = b & 0x1F;
        else if ((b & 0xF0) == 0xE0) extra = 2, c = b & 0x0F;
        else if ((b & 0xF8) == 0xF0) extra = 3, c = b & 0x07;
        else return bad();
        if (text.size() - i <= static_cast<std::size_t>(extra)) return bad();
        for (int k = 1; k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((n & 0xC0) != 0x80) return bad();
            c = (c << 6) | (n & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return bad();
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u32string LogicalToVisual(std::u32string_view logical) { return Reorder(logical); }

std::optional<std::u32string> VisualToLogical(std::u32string_view visual) {
    // Reordering is its own inverse for plain right-to-left text with digit and Latin runs;
    // where it is not, the plain mirrored reversal may be. Either way the answer is proved by
    // reordering it back.
    std::u32string candidate = Reorder(visual);
    if (Reorder(candidate) == visual) return candidate;
    candidate.assign(visual.rbegin(), visual.rend());
    std::transform(candidate.begin(), candidate.end(), candidate.begin(), Mirror);
    if (Reorder(candidate) == visual) return candidate;
    return std::nullopt;
}

std::optional<Bytes> EncodeText(std::u32string_view source, const TextOptions& options,
                                std::string* error) {
    auto fail = [&](std::size_t column, std::string why) -> std::optional<Bytes> {
        if (error) *error = "column " + std::to_string(column + 1) + ": " + why;
        return std::nullopt;
    };
    std::u32string chars;
    chars.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char32_t c = source[i];
        if (c == '\\') {
            const char32_t e = i + 1 < source.size() ? source[i + 1] : 0;
            if (e == '\\' || e == 's') {
                chars.push_back(e == 's' ? U' ' : U'\\');
                ++i;
                continue;
            }
            auto hex = [](char32_t h) -> int {
                if (h >= '0' && h <= '9') return static_cast<int>(h - '0');
                if (h >= 'A' && h <= 'F') return static_cast<int>(h - 'A' + 10);
                if (h >= 'a' && h <= 'f') return static_cast<int>(h - 'a' + 10);
                return -1;
            };
            if (e == 'x' && i + 3 < source.size() && hex(source[i + 2]) >= 0 &&
                hex(source[i + 3]) >= 0) {
                if (options.bidi)
                    return fail(i, "a raw byte (\\x) needs the text in stored order ('visual')");
                const int v = hex(source[i + 2]) * 16 + hex(source[i + 3]);
                if (v == 0) return fail(i, "a zero byte would end the text");
                chars.push_back(kRawBase + static_cast<char32_t>(v));
                i += 3;
                continue;
            }
            return fail(i, "unknown escape; use \\\\, \\s or \\xHH");
        }
        if (!LetterCodeOf(c)) {
            std::string why = DescribeChar(c) + " has no letter code";
            if (c >= 'a' && c <= 'z')
                why += " (small Latin letters share their bytes with the Hebrew letters)";
            else if (c == '~')
                why += " (its byte shows as '{')";
            return fail(i, why);
        }
        chars.push_back(c);
    }
    if (options.bidi) chars = LogicalToVisual(chars);
    Bytes out;
    out.reserve(chars.size());
    for (char32_t c : chars) {
        if (c >= kRawBase) out.push_back(static_cast<std::uint8_t>(c - kRawBase));
        else out.push_back(*LetterCodeOf(c));
    }
    return out;
}

std::optional<std::u32string> DecodeText(const Bytes& stored, const TextOptions& options) {
    std::u32string chars;
    chars.reserve(stored.size());
    for (std::uint8_t b : stored) {
        auto c = CharOfLetterCode(b);
        if (!c) {
            if (options.bidi) return std::nullopt;
            chars.push_back(kRawBase + b);
        } else {
            chars.push_back(*c);
        }
    }
    if (options.bidi) {
        auto logical = VisualToLogical(chars);
        if (!logical) return std::nullopt;
        chars = std::move(*logical);
    }
    std::size_t keep = chars.size();
    while (keep > 0 && chars[keep - 1] == ' ') --keep;
    std::u32string out;
    out.reserve(chars.size() + 8);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c >= kRawBase) {
            const std::string h = "\\x" + Hex2(static_cast<unsigned>(c - kRawBase));
            out.append(h.begin(), h.end());
        } else if (c == '\\') {
            out += U"\\\\";
        } else if (c == ' ' && i >= keep) {
            out += U"\\s";  // a trailing space would not survive an editor
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string DescribeChar(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string s = code;
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) s += " '" + EncodeUtf8({&c, 1}) + "'";
    return s;
}

}  // namespace vaelo::booktool
