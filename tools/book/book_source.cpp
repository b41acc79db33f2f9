#include "tools/book/book_source.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "content/document.h"

namespace vaelo::booktool {
namespace {

using namespace vaelo::content;

constexpr std::uint16_t kKeyLink = 0x4000;
constexpr std::uint16_t kKeyGroup = 0x8000;
constexpr std::uint16_t kKeyNumber = 0x3FFF;
constexpr std::uint16_t kBookmarkGroupKey = 0x8877;  // the reader's own bookmark group
constexpr std::size_t kIndexEndRecord = 5;

std::string Hex(unsigned v, int digits) {
    char s[12];
    std::snprintf(s, sizeof s, "%0*X", digits, v);
    return s;
}

// One line of a source file, split at its first '|' into the head words and the text.
struct Line {
    int number = 0;
    std::vector<std::string> words;
    bool hasBar = false;
    std::u32string text;
};

// The lines that hold records: blank lines and '#' comments are skipped.
bool SplitLines(std::string_view source, const std::string& file, std::vector<Line>& lines,
                std::string* error) {
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view raw = source.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::size_t first = raw.find_first_not_of(' ');
        if (first == std::string_view::npos || raw[first] == '#') continue;
        Line line;
        line.number = number;
        const std::size_t bar = raw.find('|');
        std::string_view head = raw.substr(0, bar);
        std::istringstream words{std::string(head)};
        for (std::string w; words >> w;) line.words.push_back(w);
        if (bar != std::string_view::npos) {
            line.hasBar = true;
            std::string_view text = raw.substr(bar + 1);
            if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
            std::size_t bad = 0;
            auto decoded = DecodeUtf8(text, &bad);
            if (!decoded) {
                if (error)
                    *error = file + ":" + std::to_string(number) +
                             ": the text is not valid UTF-8 (byte " +
                             std::to_string(bar + 2 + bad) + ")";
                return false;
            }
            line.text = std::move(*decoded);
        }
        lines.push_back(std::move(line));
    }
    return true;
}

bool ParseNumber(const std::string& s, int low, int high, int& out) {
    if (s.empty() || s.size() > 6) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    out = v;
    return true;
}

// The head words of an article line, as flags and indent.
struct Head {
    bool rule = false;
    int ruleLength = 0;
    int size = -1;  // -1: no size word, normal
    bool bold = false, ltr = false, blank = false, cont = false, visual = false;
    int align = -1;  // -1: no alignment word, right
    int indent = 0, hang = 0;
    int title = 0;
};

bool ParseHead(const Line& line, Head& h, std::string& why) {
    const auto& w = line.words;
    std::size_t i = 0;
    if (!w.empty() && w[0] == "rule") {
        h.rule = true;
        if (w.size() < 2) return why = "a rule needs its length: 0, 1px..160px or 2%..190%", false;
        const std::string& len = w[1];
        int v = 0;
        if (len == "0") {
            h.ruleLength = 0;
        } else if (len.size() > 2 && len.substr(len.size() - 2) == "px" &&
                   ParseNumber(len.substr(0, len.size() - 2), 1, 160, v)) {
            h.ruleLength = v;
        } else if (len.size() > 1 && len.back() == '%' &&
                   ParseNumber(len.substr(0, len.size() - 1), 2, 190, v) && v % 2 == 0) {
            h.ruleLength = 160 + v / 2;
        } else {
            return why = "rule length '" + len + "': use 0, 1px..160px or an even 2%..190%", false;
        }
        i = 2;
    }
    for (; i < w.size(); ++i) {
        const std::string& t = w[i];
        auto textOnly = [&]() {
            if (h.rule) why = "'" + t + "' does not apply to a rule";
            return !h.rule;
        };
        auto setAlign = [&](int a) {
            if (h.align >= 0) return why = "two alignments", false;
            h.align = a;
            return true;
        };
        if (t == "title1" || t == "title2") {
            if (!textOnly()) return false;
            if (h.title) return why = "two title words", false;
            h.title = t == "title1" ? 1 : 2;
        } else if (t == "normal" || t == "small" || t == "large" || t == "nosize") {
            if (!textOnly()) return false;
            const int bit = t == "normal" ? ParaSizeNormal : t == "small" ? ParaSizeSmall
                            : t == "large" ? ParaSizeLarge : 0;
            if ((t == "nosize" && h.size > 0) || (h.size == 0)) return why = "nosize stands alone", false;
            h.size = (h.size < 0 ? 0 : h.size) | bit;
        } else if (t == "bold") {
            h.bold = true;
        } else if (t == "ltr") {
            h.ltr = true;
        } else if (t == "blank") {
            h.blank = true;
        } else if (t == "right") {
            if (!setAlign(ParaAlignRight)) return false;
        } else if (t == "center") {
            if (!setAlign(ParaAlignCenter)) return false;
        } else if (t == "left") {
            if (!setAlign(0)) return false;
        } else if (t == "left60") {
            if (!setAlign(ParaAlignMask)) return false;
        } else if (t == "cont") {
            if (!textOnly()) return false;
            h.cont = true;
        } else if (t == "visual") {
            if (!textOnly()) return false;
            h.visual = true;
        } else if (t.rfind("indent=", 0) == 0) {
            if (!textOnly()) return false;
            if (!ParseNumber(t.substr(7), 0, 63, h.indent)) return why = "indent=N takes 0 to 63", false;
        } else if (t.rfind("hang=", 0) == 0) {
            if (!textOnly()) return false;
            if (!ParseNumber(t.substr(5), 0, 3, h.hang)) return why = "hang=N takes 0 to 3", false;
        } else {
            return why = "unknown attribute '" + t + "'", false;
        }
    }
    if (h.title && (h.size >= 0 || h.bold || h.ltr || h.blank || h.align >= 0))
        return why = "title1 and title2 set every flag themselves", false;
    if (h.size == ParaRule) return why = "normal, small and large together would make a rule", false;
    if (h.cont && h.hang == 0) return why = "cont continues a hanging record: it needs hang=1..3", false;
    if (h.visual && h.ltr) return why = "visual applies to right-to-left text only", false;
    return true;
}

std::uint8_t FlagsOf(const Head& h) {
    if (h.title == 1) return TitleFlagsFirst;
    if (h.title == 2) return TitleFlagsSecond;
    int f = h.rule ? ParaRule : (h.size < 0 ? ParaSizeNormal : h.size);
    if (h.bold) f |= ParaBold;
    if (!h.ltr) f |= ParaReversed;
    f |= h.align < 0 ? ParaAlignRight : h.align;
    if (h.blank) f |= ParaBlankAfter;
    return static_cast<std::uint8_t>(f);
}

std::string At(const std::string& file, int line) { return file + ":" + std::to_string(line) + ": "; }

// The attribute words of a record; `titleSlot` says whether the record stands where the
// reader looks for the first (1) or second (2) title.
std::string HeadWords(std::uint8_t flags, std::uint8_t indent, int titleSlot, bool cont,
                      bool visual) {
    std::vector<std::string> w;
    if (IsRule(flags)) {
        w.push_back("rule");
        w.push_back(indent == 0 ? "0"
                    : indent <= 160 ? std::to_string(indent) + "px"
                                    : std::to_string((indent - 160) * 2) + "%");
    } else if (titleSlot == 1 && flags == TitleFlagsFirst) {
        w.push_back("title1");
    } else if (titleSlot >= 1 && flags == TitleFlagsSecond) {
        w.push_back("title2");
    } else {
        const int size = flags & ParaSizeMask;
        if (size == 0) w.push_back("nosize");
        else if (size != ParaSizeNormal) {
            if (size & ParaSizeNormal) w.push_back("normal");
            if (size & ParaSizeSmall) w.push_back("small");
            if (size & ParaSizeLarge) w.push_back("large");
        }
    }
    const bool titled = w.size() == 1 && (w[0] == "title1" || w[0] == "title2");
    if (!titled) {
        if (flags & ParaBold) w.push_back("bold");
        if (!(flags & ParaReversed)) w.push_back("ltr");
        switch (flags & ParaAlignMask) {
            case ParaAlignCenter: w.push_back("center"); break;
            case 0: w.push_back("left"); break;
            case ParaAlignMask: w.push_back("left60"); break;
        }
        if (flags & ParaBlankAfter) w.push_back("blank");
    }
    if (!IsRule(flags)) {
        if (IndentWidth(indent)) w.push_back("indent=" + std::to_string(IndentWidth(indent)));
        if (HangCode(indent)) w.push_back("hang=" + std::to_string(HangCode(indent)));
        if (cont) w.push_back("cont");
        if (visual) w.push_back("visual");
    }
    std::string s;
    for (const auto& x : w) s += (s.empty() ? "" : " ") + x;
    return s;
}

// A stored text as source: reading order where it has one, else stored order with 'visual'.
std::u32string SourceText(const Bytes& stored, bool reversed, bool& visual) {
    visual = false;
    if (reversed) {
        if (auto t = DecodeText(stored, {.bidi = true})) return *t;
        visual = true;
    }
    return *DecodeText(stored, {.bidi = false});
}

// A walked record of a document, with what a writer of source needs to know.
struct Record {
    std::size_t offset = 0;
    std::uint8_t flags = 0, indent = 0;
    Bytes text;
};

// Walks a document's records. False, with the reason, when the document is not exactly a run
// of complete records (the form the compiler writes).
bool WalkDocument(std::span<const std::uint8_t> doc, std::vector<Record>& records,
                  std::string& why) {
    std::size_t pos = 0;
    while (pos < doc.size()) {
        if (doc[pos] == 0) {
            why = "an end record at offset " + std::to_string(pos) + " with " +
                  std::to_string(doc.size() - pos - 1) + " bytes after it that are never read";
            return false;
        }
        if (pos + 1 >= doc.size()) {
            why = "the record at offset " + std::to_string(pos) + " is cut short before its indent";
            return false;
        }
        Record r{pos, doc[pos], doc[pos + 1], {}};
        std::size_t end = pos + 2;
        while (end < doc.size() && doc[end] != 0) ++end;
        if (end == doc.size()) {
            why = "the text of the record at offset " + std::to_string(pos) +
                  " has no zero byte of its own";
            return false;
        }
        r.text.assign(doc.begin() + static_cast<std::ptrdiff_t>(pos + 2),
                      doc.begin() + static_cast<std::ptrdiff_t>(end));
        records.push_back(std::move(r));
        pos = end + 1;
    }
    return true;
}

struct IndexEntry {
    std::size_t offset = 0;
    std::uint16_t key = 0;
    std::uint8_t flags = 0, level = 0;
    Bytes title;
};

bool WalkIndex(std::span<const std::uint8_t> doc, std::vector<IndexEntry>& entries,
               std::string& why) {
    std::size_t pos = 0;
    while (pos + 2 < doc.size() && doc[pos + 2] != 0) {
        if (pos + 3 >= doc.size()) {
            why = "the record at offset " + std::to_string(pos) + " is cut short before its level";
            return false;
        }
        IndexEntry e{pos, static_cast<std::uint16_t>(doc[pos] | (doc[pos + 1] << 8)), doc[pos + 2],
                     doc[pos + 3], {}};
        std::size_t end = pos + 4;
        while (end < doc.size() && doc[end] != 0) ++end;
        if (end == doc.size()) {
            why = "the title of the record at offset " + std::to_string(pos) +
                  " has no zero byte of its own";
            return false;
        }
        e.title.assign(doc.begin() + static_cast<std::ptrdiff_t>(pos + 4),
                       doc.begin() + static_cast<std::ptrdiff_t>(end));
        entries.push_back(std::move(e));
        pos = end + 1;
    }
    const std::size_t rest = doc.size() - pos;
    bool zeros = true;
    for (std::size_t i = pos; i < doc.size(); ++i) zeros = zeros && doc[i] == 0;
    if (rest != kIndexEndRecord || !zeros) {
        why = "the index does not end in its own five-byte end record (offset " +
              std::to_string(pos) + ", " + std::to_string(rest) + " bytes left)";
        return false;
    }
    return true;
}

std::string KindWord(std::uint16_t key) {
    switch (key & (kKeyLink | kKeyGroup)) {
        case kKeyLink: return "link";
        case kKeyGroup: return "group";
        case kKeyLink | kKeyGroup: return "grouplink";
    }
    return "entry";
}

std::string IndexFlagWords(std::uint8_t flags) {
    std::string s;
    if (flags & 0x80) s += " visible";
    if (flags & 0x40) s += " expanded";
    if (flags & 0x20) s += " bit5";
    if ((flags & 0x1F) != 1) s += " style=" + std::to_string(flags & 0x1F);
    return s;
}

// Problems of the index tree that the view's rules would trip on.
void TreeProblems(const std::vector<IndexEntry>& entries, std::vector<std::string>& out,
                  const std::vector<int>* lines, const std::string& file) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        const std::string where = lines ? At(file, (*lines)[i])
                                        : "index record at offset " + std::to_string(e.offset) + ": ";
        const int number = e.key & kKeyNumber;
        if (e.key == kBookmarkGroupKey) out.push_back(where + "key 0x8877 belongs to the bookmark group");
        if ((e.key & kKeyLink) && (number < 1 || number > kBookArticles))
            out.push_back(where + "link to article " + std::to_string(number) +
                          ", which the book does not have");
        if ((e.key & kKeyGroup) && (i + 1 == entries.size() || entries[i + 1].level <= e.level))
            out.push_back(where + "group " + std::to_string(number) +
                          " is not followed by an entry of a deeper level");
    }
}

}  // namespace

std::optional<Bytes> CompileArticle(std::string_view source, const std::string& file,
                                    std::string* error) {
    auto fail = [&](int line, const std::string& why) -> std::optional<Bytes> {
        if (error) *error = At(file, line) + why;
        return std::nullopt;
    };
    std::vector<Line> lines;
    if (!SplitLines(source, file, lines, error)) return std::nullopt;
    if (lines.empty()) return fail(1, "the article has no records");
    Bytes doc;
    for (const Line& line : lines) {
        Head h;
        std::string why;
        if (!ParseHead(line, h, why)) return fail(line.number, why);
        const std::uint8_t flags = FlagsOf(h);
        if (flags == 0) return fail(line.number, "these attributes give a flags byte of 0, which ends the article");
        if (h.rule) {
            if (line.hasBar && !line.text.empty()) return fail(line.number, "a rule holds no text");
            doc.push_back(flags);
            doc.push_back(static_cast<std::uint8_t>(h.ruleLength));
            doc.push_back(0);
        } else {
            if (!line.hasBar) return fail(line.number, "'|' and the text expected after the attributes");
            auto text = EncodeText(line.text, {.bidi = !h.ltr && !h.visual}, &why);
            if (!text) return fail(line.number, why);
            if (doc.empty() && text->empty() && !h.cont)
                return fail(line.number, "the first record's text is empty; the reader refuses such an article");
            doc.push_back(flags);
            doc.push_back(static_cast<std::uint8_t>((h.hang << 6) | h.indent));
            if (h.cont) doc.push_back(' ');
            doc.insert(doc.end(), text->begin(), text->end());
            doc.push_back(0);
        }
        if (doc.size() > kMaxDocumentLength)
            return fail(line.number, "the article reaches " + std::to_string(doc.size()) +
                                         " bytes here, above the limit of 65,535");
    }
    return doc;
}

std::optional<Bytes> CompileIndex(std::string_view source, const std::string& file,
                                  std::string* error) {
    auto fail = [&](int line, const std::string& why) -> std::optional<Bytes> {
        if (error) *error = At(file, line) + why;
        return std::nullopt;
    };
    std::vector<Line> lines;
    if (!SplitLines(source, file, lines, error)) return std::nullopt;
    if (lines.empty()) return fail(1, "the index has no records");
    Bytes doc;
    std::vector<IndexEntry> entries;
    std::vector<int> lineNumbers;
    for (const Line& line : lines) {
        const auto& w = line.words;
        int level = 0, number = 0;
        if (w.size() < 3 || !ParseNumber(w[0], 0, 255, level))
            return fail(line.number, "LEVEL KIND NUMBER [flags] | title expected; the level is 0 to 255");
        std::uint16_t key = 0;
        if (w[1] == "link") key = kKeyLink;
        else if (w[1] == "group") key = kKeyGroup;
        else if (w[1] == "grouplink") key = kKeyLink | kKeyGroup;
        else if (w[1] != "entry")
            return fail(line.number, "kind '" + w[1] + "': use link, group, grouplink or entry");
        if (!ParseNumber(w[2], 0, kKeyNumber, number))
            return fail(line.number, "number '" + w[2] + "': use 0 to 16383");
        key |= static_cast<std::uint16_t>(number);
        int flags = 0x01;
        bool visual = false;
        for (std::size_t i = 3; i < w.size(); ++i) {
            const std::string& t = w[i];
            if (t == "visible") flags |= 0x80;
            else if (t == "expanded") flags |= 0x40;
            else if (t == "bit5") flags |= 0x20;
            else if (t == "visual") visual = true;
            else if (t.rfind("style=", 0) == 0) {
                int style = 0;
                if (!ParseNumber(t.substr(6), 0, 31, style))
                    return fail(line.number, "style=N takes 0 to 31");
                flags = (flags & 0xE0) | style;
            } else {
                return fail(line.number, "unknown index attribute '" + t + "'");
            }
        }
        if (flags == 0) return fail(line.number, "a flags byte of 0 would end the index here");
        if (!line.hasBar) return fail(line.number, "'|' and the title expected");
        std::string why;
        auto title = EncodeText(line.text, {.bidi = !visual}, &why);
        if (!title) return fail(line.number, why);
        entries.push_back({doc.size(), key, static_cast<std::uint8_t>(flags),
                           static_cast<std::uint8_t>(level), *title});
        lineNumbers.push_back(line.number);
        doc.push_back(static_cast<std::uint8_t>(key & 0xFF));
        doc.push_back(static_cast<std::uint8_t>(key >> 8));
        doc.push_back(static_cast<std::uint8_t>(flags));
        doc.push_back(static_cast<std::uint8_t>(level));
        doc.insert(doc.end(), title->begin(), title->end());
        doc.push_back(0);
        if (doc.size() + kIndexEndRecord > kMaxDocumentLength)
            return fail(line.number, "the index reaches " + std::to_string(doc.size()) +
                                         " bytes here, above the limit of 65,535 with its end record");
    }
    std::vector<std::string> problems;
    TreeProblems(entries, problems, &lineNumbers, file);
    if (!problems.empty()) {
        if (error) *error = problems.front();
        return std::nullopt;
    }
    doc.insert(doc.end(), kIndexEndRecord, 0);
    return doc;
}

std::optional<std::string> ArticleSource(std::span<const std::uint8_t> document,
                                         std::string* error) {
    std::vector<Record> records;
    std::string why;
    if (!WalkDocument(document, records, why)) {
        if (error) *error = why;
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const int slot = i == 0 ? 1 : (i == 1 && records[0].flags == TitleFlagsFirst) ? 2 : 0;
        if (IsRule(r.flags)) {
            if (!r.text.empty()) {
                if (error) *error = "the rule at offset " + std::to_string(r.offset) + " holds text";
                return std::nullopt;
            }
            out += HeadWords(r.flags, r.indent, slot, false, false) + "\n";
            continue;
        }
        Bytes text = r.text;
        const bool cont = HangCode(r.indent) != 0 && !text.empty() && text[0] == ' ';
        if (cont) text.erase(text.begin());
        bool visual = false;
        const std::u32string t = SourceText(text, (r.flags & ParaReversed) != 0, visual);
        const std::string body = EncodeUtf8(t);
        const std::string head = HeadWords(r.flags, r.indent, slot, cont, visual);
        out += head + (head.empty() ? "|" : " |") + (body.empty() ? "" : " " + body) + "\n";
    }
    return out;
}

std::optional<std::string> IndexSource(std::span<const std::uint8_t> index, std::string* error) {
    std::vector<IndexEntry> entries;
    std::string why;
    if (!WalkIndex(index, entries, why)) {
        if (error) *error = why;
        return std::nullopt;
    }
    std::string out;
    for (const auto& e : entries) {
        bool visual = false;
        const std::string title = EncodeUtf8(SourceText(e.title, true, visual));
        out += std::string(e.level > 1 ? std::min(2 * (e.level - 1), 40) : 0, ' ');
        out += std::to_string(e.level) + " " + KindWord(e.key) + " " +
               std::to_string(e.key & kKeyNumber) + IndexFlagWords(e.flags) +
               (visual ? " visual" : "") + (title.empty() ? " |" : " | " + title) + "\n";
    }
    return out;
}

namespace {

// Reading order of a stored text for a person: right-to-left records reordered back, or simply
// reversed when no reading order gives them.
std::string ReadingText(const Bytes& stored, bool reversed) {
    bool visual = false;
    std::u32string t = SourceText(stored, reversed, visual);
    if (visual) {
        Bytes flipped(stored.rbegin(), stored.rend());
        t = *DecodeText(flipped, {.bidi = false});
    }
    return EncodeUtf8(t);
}

}  // namespace

std::string DescribeArticle(std::span<const std::uint8_t> document) {
    std::string out;
    std::size_t pos = 0;
    int index = 0;
    while (pos + 1 < document.size() && document[pos] != 0) {
        const std::uint8_t flags = document[pos], indent = document[pos + 1];
        std::size_t end = pos + 2;
        while (end < document.size() && document[end] != 0) ++end;
        Bytes text(document.begin() + static_cast<std::ptrdiff_t>(pos + 2),
                   document.begin() + static_cast<std::ptrdiff_t>(end));
        const bool cont = !IsRule(flags) && HangCode(indent) != 0 && !text.empty() && text[0] == ' ';
        if (cont) text.erase(text.begin());
        const int slot = index == 0 ? 1 : (index == 1 && document[0] == TitleFlagsFirst) ? 2 : 0;
        out += Hex(static_cast<unsigned>(pos), 5) + "  " + Hex(flags, 2) + " " + Hex(indent, 2) + "  " +
               HeadWords(flags, indent, slot, cont, false);
        if (!IsRule(flags) || !text.empty())
            out += " | " + ReadingText(text, (flags & ParaReversed) != 0);
        out += "\n";
        pos = end + 1;
        ++index;
    }
    return out;
}

std::string DescribeIndex(std::span<const std::uint8_t> index) {
    std::string out;
    std::size_t pos = 0;
    while (pos + 3 < index.size() && index[pos + 2] != 0) {
        const auto key = static_cast<std::uint16_t>(index[pos] | (index[pos + 1] << 8));
        std::size_t end = pos + 4;
        while (end < index.size() && index[end] != 0) ++end;
        const Bytes title(index.begin() + static_cast<std::ptrdiff_t>(pos + 4),
                          index.begin() + static_cast<std::ptrdiff_t>(end));
        out += Hex(static_cast<unsigned>(pos), 5) + "  key " + Hex(key, 4) + " flags " +
               Hex(index[pos + 2], 2) + " level " + std::to_string(index[pos + 3]) + "  " +
               KindWord(key) + " " + std::to_string(key & kKeyNumber) +
               IndexFlagWords(index[pos + 2]) + " | " + ReadingText(title, true) + "\n";
        pos = end + 1;
    }
    return out;
}

std::vector<std::string> DocumentProblems(std::span<const std::uint8_t> document) {
    std::vector<std::string> problems;
    if (document.empty() || document[0] == 0) {
        problems.push_back("no records: the first flags byte is 0");
        return problems;
    }
    std::vector<Record> records;
    std::string why;
    if (!WalkDocument(document, records, why)) problems.push_back(why);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        if (IsRule(r.flags) && !r.text.empty())
            problems.push_back("the rule at offset " + std::to_string(r.offset) + " holds text");
        if (i == 0 && !IsRule(r.flags) && r.text.empty())
            problems.push_back("the first record's text is empty: the reader refuses the article");
    }
    return problems;
}

std::vector<std::string> IndexProblems(std::span<const std::uint8_t> index) {
    std::vector<std::string> problems;
    std::vector<IndexEntry> entries;
    std::string why;
    if (!WalkIndex(index, entries, why)) problems.push_back(why);
    if (entries.empty() || entries[0].title.empty())
        problems.push_back("the first record is missing or has an empty title: the index view refuses it");
    TreeProblems(entries, problems, nullptr, "");
    return problems;
}

}  // namespace vaelo::booktool
