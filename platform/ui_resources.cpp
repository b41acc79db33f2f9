#include "platform/ui_resources.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "platform/platform.h"

namespace vaelo::platform {
namespace {

// Splits a line into words; a word in double quotes may hold spaces, \" and \\.
bool Tokenize(const std::string& line, std::vector<std::string>& words, std::string& why) {
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '"') {
            std::string word;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    word += line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += line[i++];
                }
            }
            if (!closed) {
                why = "a quoted text is not closed";
                return false;
            }
            words.push_back(word);
        } else {
            std::size_t end = line.find_first_of(" \t\r", i);
            if (end == std::string::npos) end = line.size();
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

bool Number(const std::string& word, int& out) {
    const char* end = word.data() + word.size();
    auto [p, ec] = std::from_chars(word.data(), end, out);
    return ec == std::errc() && p == end;
}

// Walks the meaningful lines of a text: no blank lines, no '#' comments.
template <class F>
bool ForEachLine(const std::string& text, std::string* error, F&& f) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<std::string> words;
    while (std::getline(in, line)) {
        ++number;
        std::string why;
        if (!Tokenize(line, words, why) || (!words.empty() && words[0][0] != '#' && !f(words, why))) {
            if (error) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

bool HasStyle(const std::vector<std::string>& styles, const std::string& s) {
    return std::find(styles.begin(), styles.end(), s) != styles.end();
}

}  // namespace

bool DialogControl::Has(const std::string& style) const { return HasStyle(styles, style); }
bool DialogTemplate::Has(const std::string& style) const { return HasStyle(styles, style); }

std::optional<Menu> ParseMenu(const std::string& text, std::string* error) {
    Menu menu;
    bool open = false;
    const bool ok = ForEachLine(text, error, [&](const std::vector<std::string>& w, std::string& why) {
        const std::string& kw = w[0];
        if (kw == "POPUP") {
            if (open || w.size() != 2) return why = "POPUP \"title\" expected (after END)", false;
            menu.popups.push_back({w[1], {}});
            open = true;
        } else if (kw == "END") {
            if (!open) return why = "END without POPUP", false;
            open = false;
        } else if (kw == "SEPARATOR") {
            if (!open) return why = "SEPARATOR outside a POPUP", false;
            menu.popups.back().items.push_back({});
        } else if (kw == "ITEM") {
            int command = 0;
            if (!open || w.size() < 3 || w.size() > 4 || !Number(w[1], command) || command <= 0 ||
                command > 0xFFFF)
                return why = "ITEM command \"label\" [\"shortcut\"] expected inside a POPUP", false;
            menu.popups.back().items.push_back(
                {static_cast<unsigned>(command), w[2], w.size() == 4 ? w[3] : std::string()});
        } else {
            return why = "unknown word " + kw, false;
        }
        return true;
    });
    if (!ok) return std::nullopt;
    if (open || menu.popups.empty()) {
        if (error) *error = open ? "the last POPUP has no END" : "no POPUP";
        return std::nullopt;
    }
    return menu;
}

std::optional<DialogTemplate> ParseDialog(const std::string& text, std::string* error) {
    DialogTemplate d;
    bool haveHeader = false;
    const bool ok = ForEachLine(text, error, [&](const std::vector<std::string>& w, std::string& why) {
        const std::string& kw = w[0];
        if (kw == "DIALOG") {
            if (haveHeader || w.size() != 4 || !Number(w[1], d.width) || !Number(w[2], d.height) ||
                d.width <= 0 || d.height <= 0)
                return why = "DIALOG width height \"caption\" expected once", false;
            d.caption = w[3];
            haveHeader = true;
            return true;
        }
        if (!haveHeader) return why = "DIALOG must come first", false;
        if (kw == "STYLE") {
            d.styles.insert(d.styles.end(), w.begin() + 1, w.end());
        } else if (kw == "FONT") {
            if (w.size() != 3 || !Number(w[1], d.fontPoints) || d.fontPoints <= 0)
                return why = "FONT points \"face\" expected", false;
            d.fontFace = w[2];
        } else if (kw == "CONTROL") {
            static const std::pair<const char*, ControlKind> kinds[] = {
                {"static", ControlKind::Static},
                {"picture", ControlKind::Picture},
                {"button", ControlKind::Button},
                {"ownerbutton", ControlKind::OwnerDrawnButton},
                {"edit", ControlKind::Edit}};
            DialogControl c;
            auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                     [&](const auto& k) { return w.size() > 1 && w[1] == k.first; });
            int x, y, cx, cy;
            if (kind == std::end(kinds) || w.size() < 8 || !Number(w[2], c.id) || !Number(w[3], x) ||
                !Number(w[4], y) || !Number(w[5], cx) || !Number(w[6], cy) || cx < 0 || cy < 0)
                return why = "CONTROL kind id x y width height text-or-image [styles] expected", false;
            c.kind = kind->second;
            c.units = {x, y, x + cx, y + cy};
            if (c.kind == ControlKind::Picture) {
                int image = 0;
                if (!Number(w[7], image) || image <= 0 || image > 0xFFFF)
                    return why = "a picture names its bitmap by number", false;
                c.imageId = static_cast<std::uint16_t>(image);
            } else {
                c.text = w[7];
            }
            c.styles.assign(w.begin() + 8, w.end());
            d.controls.push_back(std::move(c));
        } else {
            return why = "unknown word " + kw, false;
        }
        return true;
    });
    if (!ok) return std::nullopt;
    if (!haveHeader) {
        if (error) *error = "no DIALOG line";
        return std::nullopt;
    }
    return d;
}

std::optional<Bitmap> ParseBitmapSource(const std::string& text, std::string* error) {
    Bitmap b;
    std::vector<std::pair<char, Color>> palette;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    enum { Header, Colors, Rows } part = Header;
    auto fail = [&](const std::string& why) -> std::optional<Bitmap> {
        if (error) *error = "line " + std::to_string(number) + ": " + why;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (part != Rows && (line.empty() || line[0] == '#')) continue;
        if (part == Header) {
            std::istringstream words(line);
            std::string kw;
            if (!(words >> kw >> b.width >> b.height) || kw != "size" || b.width <= 0 ||
                b.height <= 0 || b.width > 4096 || b.height > 4096)
                return fail("size WIDTH HEIGHT expected first");
            part = Colors;
        } else if (part == Colors) {
            if (line == "rows") {
                part = Rows;
                continue;
            }
            unsigned rgb = 0;
            if (line.size() != 9 || line[1] != ' ' || line[2] != '#' ||
                std::from_chars(line.data() + 3, line.data() + 9, rgb, 16).ptr != line.data() + 9)
                return fail("a colour line is \"C #RRGGBB\"");
            // Stored as 0x00BBGGRR.
            palette.push_back({line[0], ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)});
        } else {
            if (static_cast<int>(b.pixels.size()) == b.width * b.height) {
                if (line.empty()) continue;
                return fail("more rows than the size says");
            }
            if (static_cast<int>(line.size()) != b.width) return fail("a row must be WIDTH characters");
            for (char ch : line) {
                auto it = std::find_if(palette.begin(), palette.end(), [&](auto& p) { return p.first == ch; });
                if (it == palette.end()) return fail(std::string("colour '") + ch + "' is not defined");
                b.pixels.push_back(it->second);
            }
        }
    }
    if (static_cast<int>(b.pixels.size()) != b.width * b.height) return fail("fewer rows than the size says");
    return b;
}

std::vector<std::uint8_t> EncodeBitmap(const Bitmap& b) {
    std::vector<std::uint8_t> out = {static_cast<std::uint8_t>(b.width), static_cast<std::uint8_t>(b.width >> 8),
                                     static_cast<std::uint8_t>(b.height), static_cast<std::uint8_t>(b.height >> 8)};
    for (Color c : b.pixels)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(c >> (8 * i)));
    return out;
}

std::optional<Bitmap> DecodeBitmap(ResourceBytes bytes) {
    if (bytes.size() < 4) return std::nullopt;
    Bitmap b;
    b.width = bytes[0] | (bytes[1] << 8);
    b.height = bytes[2] | (bytes[3] << 8);
    const std::size_t n = static_cast<std::size_t>(b.width) * b.height;
    if (b.width == 0 || b.height == 0 || bytes.size() != 4 + 4 * n) return std::nullopt;
    b.pixels.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = bytes.data() + 4 + 4 * i;
        b.pixels[i] = static_cast<Color>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<Color>(p[3]) << 24));
    }
    return b;
}

namespace {
std::optional<std::string> Text(ResourceType type, std::uint16_t id) {
    auto* resources = Current().resources;
    auto bytes = resources ? resources->Find(type, id) : std::nullopt;
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}
}  // namespace

std::optional<Menu> LoadMenu(std::uint16_t id) {
    auto text = Text(ResourceType::Menu, id);
    return text ? ParseMenu(*text, nullptr) : std::nullopt;
}

std::optional<DialogTemplate> LoadDialog(std::uint16_t id) {
    auto text = Text(ResourceType::Dialog, id);
    return text ? ParseDialog(*text, nullptr) : std::nullopt;
}

std::optional<Bitmap> LoadBitmap(std::uint16_t id) {
    auto* resources = Current().resources;
    auto bytes = resources ? resources->Find(ResourceType::Bitmap, id) : std::nullopt;
    return bytes ? DecodeBitmap(*bytes) : std::nullopt;
}

std::optional<std::string> LoadString(std::uint16_t id) { return Text(ResourceType::String, id); }

}  // namespace vaelo::platform
