// vaelo-bookgen: writes the source of the demo book (resources/book) from the project's own
// vocabulary. Deterministic: the same program always writes the same files, byte for byte.
//
//   vaelo-bookgen OUT      writes OUT/articles/001.txt .. 260.txt and OUT/index.txt
//
// Odd articles are pages of the main text: short sections of prose with headings, sayings,
// notes, lists with hanging first words and rules. The even article after a page is its
// commentary: numbered entries that quote a few words of the page and explain them. Between
// them the book shows every paragraph style and layout case the reader knows.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "tools/bookgen/vocabulary.h"

namespace {

using namespace vaelo::bookgen;
namespace fs = std::filesystem;

constexpr int kPages = 130;
constexpr int kLongArticle = 77;     // the one near the 64 KB limit
constexpr int kShortArticle = 200;   // a commentary of about 1 KB
constexpr std::size_t kLongTarget = 59000;

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    // std::mt19937 gives the same numbers everywhere; the distributions of <random> do not, so
    // they are not used.
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
    bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    std::mt19937 engine_;
};

// A number in Hebrew letters, with ' after a single letter and " before the last of several.
std::string Gematria(int n) {
    static const char* hundreds[] = {"", "ק", "ר", "ש", "ת"};
    static const char* tens[] = {"", "י", "כ", "ל", "מ", "נ", "ס", "ע", "פ", "צ"};
    static const char* ones[] = {"", "א", "ב", "ג", "ד", "ה", "ו", "ז", "ח", "ט"};
    std::vector<std::string> letters;
    if (n >= 100) letters.push_back(hundreds[n / 100]);
    n %= 100;
    if (n == 15 || n == 16) {
        letters.push_back("ט");
        letters.push_back(n == 15 ? "ו" : "ז");
    } else {
        if (n >= 10) letters.push_back(tens[n / 10]);
        if (n % 10) letters.push_back(ones[n % 10]);
    }
    std::string s;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i + 1 == letters.size() && letters.size() > 1) s += "\"";
        s += letters[i];
    }
    if (letters.size() == 1) s += "'";
    return s;
}

std::size_t CodePoints(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

bool IsFeminine(const std::string& name) {
    return name == "מרים" || name == "אביגיל" || name == "רחל" || name == "תמר" || name == "חנה";
}

// Sentences with agreement between subject, adjective and verb.
class Writer {
public:
    explicit Writer(Random& rng) : rng_(rng) {}

    struct Phrase {
        std::string text;
        int form = 0;  // index into Forms
    };

    Phrase NounPhrase(bool definite, bool allowAdjective = true) {
        const Noun& noun = rng_.Pick(kNouns);
        const bool plural = rng_.Chance(30);
        const int form = noun.gender + (plural ? 2 : 0);
        const std::string h = definite ? "ה" : "";
        std::string text = h + std::string(plural ? noun.plural : noun.singular);
        if (allowAdjective && rng_.Chance(55)) text += " " + h + std::string(rng_.Pick(kAdjectives)[form]);
        return {text, form};
    }

    std::string Clause() {
        switch (rng_.Below(6)) {
            case 0:
            case 1: {
                Phrase s = NounPhrase(true);
                Phrase o = NounPhrase(true);
                std::string t = s.text + " " + std::string(rng_.Pick(kTransitive)[s.form]) + " את " + o.text;
                if (rng_.Chance(50)) t += " " + std::string(rng_.Pick(kPlaces));
                return t;
            }
            case 2: {
                Phrase s = NounPhrase(true);
                return s.text + " " + std::string(rng_.Pick(kIntransitive)[s.form]) + " " +
                       std::string(rng_.Pick(kPlaces));
            }
            case 3: {
                Phrase s = NounPhrase(true, false);
                static const char* demonstrative[] = {"הזה", "הזאת", "האלה", "האלה"};
                return s.text + " " + demonstrative[s.form] + " " +
                       std::string(rng_.Pick(kAdjectives)[s.form]);
            }
            case 4: {
                const std::string name(rng_.Pick(kNames));
                const int form = IsFeminine(name) ? 1 : 0;
                Phrase o = NounPhrase(true);
                return name + " " + std::string(rng_.Pick(kTransitive)[form]) + " את " + o.text;
            }
            default: {
                Phrase s = NounPhrase(false);
                return "יש " + s.text + " " + std::string(rng_.Pick(kPlaces));
            }
        }
    }

    // A reference with digits and brackets, the case that right-to-left text must get right.
    std::string Reference() {
        switch (rng_.Below(4)) {
            case 0: return "(ראה שער " + std::to_string(1 + rng_.Below(kPages)) + ")";
            case 1:
                return "(כמו שכתוב בפרק " + std::to_string(1 + rng_.Below(40)) + ", סעיף " +
                       std::to_string(1 + rng_.Below(12)) + ")";
            case 2: return "[עמוד " + std::to_string(10 + rng_.Below(290)) + "]";
            default:
                return "(בשנים " + std::to_string(1700 + rng_.Below(200)) + "-" +
                       std::to_string(1900 + rng_.Below(100)) + ")";
        }
    }

    std::string Sentence() {
        std::string s;
        switch (rng_.Below(10)) {
            case 0: {
                const std::string opener(rng_.Pick(kOpeners));
                s = opener + (opener.back() == '\xA9' ? "" : " ") + Clause() + ".";
                break;
            }
            case 1: {
                const std::string name(rng_.Pick(kNames));
                s = std::string(IsFeminine(name) ? "אמרה " : "אמר ") + name + ": " + Clause() + ".";
                break;
            }
            case 2: s = std::string(rng_.Pick(kQuestionWords)) + " " + Clause() + "?"; break;
            case 3: s = Clause() + " " + Reference() + "."; break;
            case 4: s = Clause() + ", " + Clause() + "."; break;
            case 5: s = Clause() + " - " + Clause() + "."; break;
            default: s = Clause() + "."; break;
        }
        return s;
    }

    std::string Prose(std::size_t sentences) {
        std::string p;
        for (std::size_t i = 0; i < sentences; ++i) p += (i ? " " : "") + Sentence();
        return p;
    }

    Random& rng() { return rng_; }

private:
    Random& rng_;
};

// Collects the lines of one article and counts the bytes they will take when stored.
class Article {
public:
    void Text(const std::string& head, const std::string& text) {
        lines_ += head + (text.empty() ? " |" : " | " + text) + "\n";
        bytes_ += 3 + CodePoints(text);
    }
    void Rule(const std::string& head) {
        lines_ += head + "\n";
        bytes_ += 3;
    }
    std::size_t Bytes() const { return bytes_; }
    const std::string& Lines() const { return lines_; }

private:
    std::string lines_;
    std::size_t bytes_ = 0;
};

const char* kRules[] = {"rule 50% center", "rule 120px", "rule 0", "rule 100% blank", "rule 40px left",
                        "rule 30% center blank", "rule 160px center"};

std::string Page(int page, std::size_t target, std::vector<std::string>& lemmas, Random& rng) {
    Writer w(rng);
    Article a;
    const std::string topic1(rng.Pick(kTopics));
    std::string topic2(rng.Pick(kTopics));
    while (topic2 == topic1) topic2 = rng.Pick(kTopics);
    a.Text("title1", "שער " + Gematria(page));
    a.Text("title2", "על " + topic1 + " ו" + topic2);
    // The first page shows every case at once, so a reader of the demo sees them together.
    if (page == 1) {
        a.Text("blank", w.Prose(3) + " " + w.Reference() + ".");
        a.Text("large center blank", "\"" + std::string(kSayings[0]) + "\"");
        a.Text("large bold center blank", "דברי פתיחה");
        a.Text("small blank indent=8", "הערה: " + w.Prose(2));
        a.Text("hang=1", "א. " + w.Prose(2));
        a.Text("hang=1 cont", w.Prose(2));
        a.Text("blank hang=2", "ב. " + w.Prose(3));
        a.Text("indent=6 hang=2 cont", w.Prose(2));
        a.Text("blank hang=3", "ג. " + w.Prose(2));
        a.Rule("rule 120px");
        a.Text("left", w.Prose(2));
        a.Text("center", w.Prose(1));
        a.Text("bold blank", w.Prose(2));
        a.Rule("rule 50% center");
        a.Text("ltr center blank", "* * *");
        a.Rule("rule 0");
        a.Text("small bold left blank", "בשער הזה 12 סעיפים (1-12), ושני פירושים [א-ב].");
        a.Rule("rule 100% blank");
    }
    int section = 1;
    while (a.Bytes() < target) {
        a.Text("bold center blank", "סעיף " + std::to_string(section) + ": על " +
                                        std::string(rng.Pick(kTopics)));
        const std::size_t paragraphs = 1 + rng.Below(4);
        for (std::size_t i = 0; i < paragraphs && a.Bytes() < target; ++i) {
            std::string text = w.Prose(2 + rng.Below(6));
            lemmas.push_back(text);
            const std::size_t kind = rng.Below(20);
            if (kind == 0) {
                a.Text("large center blank", "\"" + std::string(rng.Pick(kSayings)) + "\"");
            } else if (kind == 1) {
                a.Text("small blank indent=" + std::to_string(4 + rng.Below(12)), "הערה: " + w.Prose(1 + rng.Below(2)));
            } else if (kind == 2) {
                const int hang = 1 + static_cast<int>(rng.Below(3));
                const std::size_t items = 2 + rng.Below(3);
                for (std::size_t k = 1; k <= items; ++k) {
                    a.Text("hang=" + std::to_string(hang), Gematria(static_cast<int>(k)) + " " + w.Prose(1 + rng.Below(3)));
                    if (rng.Chance(40)) a.Text("hang=" + std::to_string(hang) + " cont", w.Prose(1 + rng.Below(2)));
                }
            } else if (kind == 3) {
                a.Text("left blank", text);
            } else if (kind == 4) {
                a.Text("large bold center blank", std::string(rng.Pick(kSayings)));
            } else if (kind == 5) {
                a.Text("blank indent=" + std::to_string(8 + rng.Below(24)), text);
            } else {
                a.Text("blank", text);
            }
        }
        if (rng.Chance(35)) a.Rule(kRules[rng.Below(std::size(kRules))]);
        if (rng.Chance(5)) a.Text("ltr center blank", "* * *");
        ++section;
    }
    a.Text("small left", "סוף שער " + Gematria(page));
    return a.Lines();
}

std::string Commentary(int page, std::size_t target, const std::vector<std::string>& lemmas,
                       Random& rng) {
    Writer w(rng);
    Article a;
    a.Text("title1", "פירוש על שער " + Gematria(page));
    a.Text("title2", "דברי המבאר");
    int entry = 1;
    while (a.Bytes() < target) {
        // The quoted words: the first few words of a paragraph of the page.
        const std::string& source = lemmas[rng.Below(lemmas.size())];
        std::string lemma;
        std::size_t words = 0, pos = 0;
        const std::size_t want = 2 + rng.Below(3);
        while (words < want && pos < source.size()) {
            std::size_t end = source.find(' ', pos);
            if (end == std::string::npos) end = source.size();
            std::string word = source.substr(pos, end - pos);
            while (!word.empty() && std::string(".,:?").find(word.back()) != std::string::npos) word.pop_back();
            if (word.find_first_of("()[]-\"0123456789") != std::string::npos) break;
            lemma += (lemma.empty() ? "" : " ") + word;
            ++words;
            pos = end + 1;
        }
        if (lemma.empty()) lemma = std::string(rng.Pick(kTopics));
        const int hang = 1 + static_cast<int>(rng.Below(3));
        const std::string number = Gematria(entry) + ".";
        // Attribute words stand in the order that unbuild writes them: flags, indent, hang.
        a.Text(std::string(rng.Chance(30) ? "blank " : "") + "hang=" + std::to_string(hang),
               number + " \"" + lemma + "\" - " + w.Prose(1 + rng.Below(4)));
        const std::size_t more = rng.Below(3);
        for (std::size_t k = 0; k < more; ++k) {
            const std::string indent = rng.Chance(40) ? "indent=" + std::to_string(2 + rng.Below(10)) + " " : "";
            a.Text(indent + "hang=" + std::to_string(hang) + " cont", w.Prose(1 + rng.Below(3)));
        }
        if (rng.Chance(15)) a.Text("small blank indent=10", "ועיין עוד " + w.Reference() + ".");
        if (rng.Chance(10)) a.Rule(kRules[rng.Below(std::size(kRules))]);
        ++entry;
    }
    return a.Lines();
}

// The index: parts, chapters and pages, three levels deep.
std::string Index(const std::vector<std::string>& pageTitles) {
    std::string out;
    auto line = [&](int level, const std::string& kind, int number, bool visible, bool expanded,
                    int style, const std::string& title) {
        out += std::string(static_cast<std::size_t>(2 * (level - 1)), ' ') + std::to_string(level) + " " +
               kind + " " + std::to_string(number) + (visible ? " visible" : "") +
               (expanded ? " expanded" : "") + (style != 1 ? " style=" + std::to_string(style) : "") +
               " | " + title + "\n";
    };
    static const char* partNames[] = {"חלק ראשון", "חלק שני", "חלק שלישי", "חלק רביעי", "חלק חמישי"};
    static const int chapterSizes[] = {7, 7, 6, 6};
    // Which groups open expanded: the first part whole, the third with its first chapter.
    auto partOpen = [](int part) { return part == 0 || part == 2 || part == 4; };
    auto chapterOpen = [](int part, int chapter) { return part == 0 || (part == 2 && chapter == 0) || (part == 4 && chapter == 3); };
    line(1, "link", 1, true, false, 9, "פתח הספר");
    int page = 1;
    for (int part = 0; part < 5; ++part) {
        line(1, "group", 3000 + part, true, partOpen(part), 12, partNames[part]);
        for (int chapter = 0; chapter < 4; ++chapter) {
            const bool visible = partOpen(part);
            const std::string title = "פרק " + Gematria(part * 4 + chapter + 1) + " (שערים " +
                                      std::to_string(page) + "-" + std::to_string(page + chapterSizes[chapter] - 1) + ")";
            // One chapter is a group that also opens its first page.
            if (part == 0 && chapter == 0)
                line(2, "grouplink", 2 * page - 1, visible, chapterOpen(part, chapter), 8, title);
            else
                line(2, "group", 3100 + part * 4 + chapter, visible, chapterOpen(part, chapter), 8, title);
            for (int k = 0; k < chapterSizes[chapter]; ++k, ++page)
                line(3, "link", 2 * page - 1, visible && chapterOpen(part, chapter), false, 1,
                     "שער " + Gematria(page) + ": " + pageTitles[static_cast<std::size_t>(page - 1)]);
        }
    }
    // Plain entries: a heading over a few commentaries, and the last line of the index.
    line(1, "entry", 0, true, true, 2, "פירושים נבחרים");
    for (int p : {1, 2, 39, 100}) line(2, "link", 2 * p, true, false, 2, "פירוש על שער " + Gematria(p));
    line(1, "entry", 0, true, false, 2, "סוף המפתח");
    return out;
}

bool Write(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) std::cerr << path.string() << ": cannot write\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vaelo-bookgen OUT\n";
        return 2;
    }
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out / "articles", ec);
    if (ec) {
        std::cerr << out.string() << ": " << ec.message() << "\n";
        return 1;
    }
    std::vector<std::string> pageTitles;
    for (int page = 1; page <= kPages; ++page) {
        const int article = 2 * page - 1;
        Random rng(static_cast<unsigned>(1000 + page));
        std::size_t pageTarget = 3500 + rng.Below(9000);
        std::size_t commentaryTarget = 2500 + rng.Below(6000);
        if (article == kLongArticle) pageTarget = kLongTarget;
        if (article + 1 == kShortArticle) commentaryTarget = 800;
        if (page == 1) pageTarget = 5000;
        std::vector<std::string> lemmas;
        const std::string pageText = Page(page, pageTarget, lemmas, rng);
        const std::string commentary = Commentary(page, commentaryTarget, lemmas, rng);
        // The page's subject, as its second title states it, names it in the index.
        const std::size_t t2 = pageText.find("title2 | ");
        pageTitles.push_back(pageText.substr(t2 + 9 + std::string("על ").size(),
                                             pageText.find('\n', t2) - t2 - 9 - std::string("על ").size()));
        char name[16];
        std::snprintf(name, sizeof name, "%03d.txt", article);
        if (!Write(out / "articles" / name, pageText)) return 1;
        std::snprintf(name, sizeof name, "%03d.txt", article + 1);
        if (!Write(out / "articles" / name, commentary)) return 1;
    }
    return Write(out / "index.txt", Index(pageTitles)) ? 0 : 1;
}
