#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/book/book.h"
#include "tools/book/book_source.h"
#include "tools/book/packer.h"

namespace vaelo::booktool {
namespace {

namespace fs = std::filesystem;

const fs::path kDemo = fs::path(VAELO_SOURCE_DIR) / "resources" / "book";

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

platform::ResourceContainer Container(const Bytes& bytes) {
    std::string why;
    auto c = platform::ResourceContainer::Own(bytes, &why);
    EXPECT_TRUE(c) << why;
    return std::move(*c);
}

// A fresh folder under the test's temporary directory.
fs::path TempDir(const std::string& name) {
    const fs::path p = fs::temp_directory_path() / ("vaelo_book_test_" + name);
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

class DemoBook : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<std::string> errors;
        auto bytes = BuildBook(kDemo, errors);
        for (const auto& e : errors) ADD_FAILURE() << e;
        ASSERT_TRUE(bytes);
        built_ = new Bytes(std::move(*bytes));
    }
    static void TearDownTestSuite() {
        delete built_;
        built_ = nullptr;
    }
    static Bytes* built_;
};
Bytes* DemoBook::built_ = nullptr;

TEST_F(DemoBook, BuildsToTheSameBytesEveryTime) {
    std::vector<std::string> errors;
    EXPECT_EQ(BuildBook(kDemo, errors), *built_);
}

TEST_F(DemoBook, PassesCheckAndHoldsEveryArticle) {
    BookReader book(Container(*built_));
    EXPECT_EQ(CheckBook(book), std::vector<std::string>{});
    std::size_t total = 0, largest = 0, smallest = SIZE_MAX;
    for (int n = 1; n <= kBookArticles; ++n) {
        int status = 0;
        auto text = book.Load(n, &status);
        ASSERT_TRUE(text) << n;
        total += text->size();
        largest = std::max(largest, text->size());
        smallest = std::min(smallest, text->size());
    }
    EXPECT_GE(total, 1500000u);
    EXPECT_GT(largest, 55000u);
    EXPECT_LE(smallest, 1200u);
}

TEST_F(DemoBook, UnbuildGivesBackTheSourceAndTheSameBytes) {
    const fs::path out = TempDir("unbuild");
    {
        BookReader book(Container(*built_));
        std::string why;
        ASSERT_TRUE(UnbuildBook(book, out, &why)) << why;
    }
    for (int n = 1; n <= kBookArticles; ++n)
        ASSERT_EQ(ReadText(out / ArticleFile(n)), ReadText(kDemo / ArticleFile(n))) << n;
    EXPECT_EQ(ReadText(out / IndexFile()), ReadText(kDemo / IndexFile()));
    std::vector<std::string> errors;
    EXPECT_EQ(BuildBook(out, errors), *built_);
    fs::remove_all(out);
}

TEST_F(DemoBook, DumpShowsAPageInReadingOrderWithItsTitles) {
    BookReader book(Container(*built_));
    int status = 0;
    auto page = book.Load(1, &status);
    ASSERT_TRUE(page);
    const std::string dump = DescribeArticle(*page);
    EXPECT_EQ(dump.substr(0, dump.find('\n')), "00000  DC 00  title1 | שער א'");
    EXPECT_NE(dump.find("D1 00  title2 | על "), std::string::npos);
    // The stored text is in display order; the dump puts the bracketed reference back.
    EXPECT_NE(dump.find("| א. "), std::string::npos);
    EXPECT_NE(dump.find("(1-12)"), std::string::npos);
    auto index = book.Load(content::kIndexArticleNumber, &status);
    ASSERT_TRUE(index);
    EXPECT_NE(DescribeIndex(*index).find("grouplink 1 visible expanded style=8 | פרק א' (שערים 1-7)"),
              std::string::npos);
}

TEST(BookSource, EveryRecordKindRoundTrips) {
    const std::string source =
        "title1 | שער ב'\n"
        "title2 | על הדרך\n"
        "| פסקה רגילה\n"
        "blank | אמר יונתן: הספר (ראה עמוד 12) טוב [א-ב].\n"
        "normal small bold ltr left60 blank indent=63 hang=3 | ABC 12 (X)\n"
        "nosize bold | שלום\n"
        "small center indent=5 hang=1 | א. ראשון\n"
        "indent=9 hang=1 cont | והמשך\n"
        "rule 0\n"
        "rule 1px bold ltr left blank\n"
        "rule 160px\n"
        "rule 2% center\n"
        "rule 190%\n"
        "ltr | RAW \\x01\\x80\\xFF, A BACKSLASH \\\\ AND BRACES { }\\s\n"
        "visual | \\x85בא\n"
        "large bold center blank | כותרת באמצע\n";
    std::string why;
    auto doc = CompileArticle(source, "a.txt", &why);
    ASSERT_TRUE(doc) << why;
    auto back = ArticleSource(*doc, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(*back, source);
    EXPECT_EQ(DocumentProblems(*doc), std::vector<std::string>{});
}

TEST(BookSource, RightToLeftTextIsStoredInDisplayOrder) {
    std::string why;
    auto doc = CompileArticle("blank | אב 12 (גד).\nltr | אב 12\n", "a.txt", &why);
    ASSERT_TRUE(doc) << why;
    // Reading order "אב 12 (גד)." drawn left to right: ".(דג) 12 בא", brackets mirrored.
    const std::string first(doc->begin() + 2, doc->begin() + 2 + 11);
    EXPECT_EQ(first, ".(dc) 12 ba");
    const std::string second(doc->begin() + 16, doc->end() - 1);
    EXPECT_EQ(second, "ab 12");
    EXPECT_EQ((*doc)[0], 0xB1);
    EXPECT_EQ((*doc)[14], 0x21);
}

TEST(BookSource, MistakesNameTheFileAndLine) {
    struct Case {
        const char* source;
        bool index;
        const char* message;
    };
    const std::string big = "blank | " + std::string(70000, 'A') + "\n";
    const std::string many = [] {
        std::string s;
        for (int i = 0; i < 700; ++i) s += "| " + std::string(100, 'B') + "\n";
        return s;
    }();
    const Case cases[] = {
        {"title1 | שער\nblank | abc\n", false, "f.txt:2: column 1: U+0061 'a' has no letter code"},
        {"# note\n\n| a ~ b\n", false, "f.txt:3: column 1: U+0061"},
        {"| שלום ~\n", false, "f.txt:1: column 6: U+007E '~' has no letter code"},
        {"| ع\n", false, "f.txt:1: column 1: U+0639"},
        {"| OK\nbolder | x\n", false, "f.txt:2: unknown attribute 'bolder'"},
        {"| OK\nindent=64 | x\n", false, "f.txt:2: indent=N takes 0 to 63"},
        {"| OK\nrule 191%\n", false, "f.txt:2: rule length '191%'"},
        {"| OK\nhang=0 cont | x\n", false, "f.txt:2: cont continues a hanging record"},
        {"nosize ltr left | x\n", false, "f.txt:1: these attributes give a flags byte of 0"},
        {big.c_str(), false, "f.txt:1: the article reaches 70003 bytes here"},
        {many.c_str(), false, "f.txt:637: the article reaches 65611 bytes here"},
        {"1 link 1 visible | שער\n2 link x | ב\n", true, "f.txt:2: number 'x'"},
        {"1 group 5 visible | חלק\n1 link 3 | ב\n", true, "f.txt:1: group 5 is not followed by an entry of a deeper level"},
        {"1 link 300 | ב\n", true, "f.txt:1: link to article 300"},
        {"1 link 3 visible\n", true, "f.txt:1: '|' and the title expected"},
        {"1 link 3 style=0 | ב\n", true, "f.txt:1: a flags byte of 0 would end the index"},
        {"1 chapter 3 | ב\n", true, "f.txt:1: kind 'chapter'"},
        {"1 link 3 | bad\n", true, "f.txt:1: column 1: U+0062 'b' has no letter code"},
    };
    for (const auto& c : cases) {
        std::string why;
        auto doc = c.index ? CompileIndex(c.source, "f.txt", &why) : CompileArticle(c.source, "f.txt", &why);
        EXPECT_FALSE(doc) << c.message;
        EXPECT_EQ(why.rfind(c.message, 0), 0u) << why;
    }
}

TEST(Book, MissingArticlesAndStrayFilesAreReported) {
    const fs::path dir = TempDir("missing");
    fs::create_directories(dir / "articles");
    for (int n = 1; n <= kBookArticles; ++n)
        if (n != 17) std::ofstream(dir / ArticleFile(n)) << "title1 | שער\n";
    std::ofstream(dir / "articles" / "261.txt") << "| x\n";
    std::ofstream(dir / IndexFile()) << "1 link 1 visible | שער\n";
    std::vector<std::string> errors;
    EXPECT_FALSE(BuildBook(dir, errors));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], (dir / ArticleFile(17)).string() + ":1: article 17 is missing (cannot read the file)");
    EXPECT_EQ(errors[1], (dir / "articles" / "261.txt").string() + ":1: not an article of the book (001.txt to 260.txt)");
    fs::remove_all(dir);
}

TEST_F(DemoBook, CheckNamesTheLoadStatusOfADamagedArticle) {
    auto container = Container(*built_);
    std::map<std::pair<std::uint16_t, std::uint16_t>, Bytes> resources;
    for (const auto& e : container.Entries()) resources[{e.type, e.id}] = Bytes(e.bytes.begin(), e.bytes.end());
    Bytes& five = resources[{10, 1005}];
    five[9] = static_cast<std::uint8_t>(five[9] + 40);  // textLength beyond what the data gives
    resources.erase({10, 1009});
    const Bytes damaged = platform::WriteResourceContainer(resources);
    const fs::path file = TempDir("damaged") / "book.vrsc";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(damaged.data()),
                                                static_cast<std::streamsize>(damaged.size()));
    {
        BookReader book(Container(damaged));
        testing::internal::CaptureStderr();
        const auto problems = CheckBook(book);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("UnCompress() buffer error!"), std::string::npos);
        EXPECT_EQ(problems, (std::vector<std::string>{"article 5: LoadBufferError", "article 9: LoadNotFound"}));
    }
    // The command line says the same and fails.
    const std::string tool = VAELO_BOOK_TOOL;
    const std::string log = file.string() + ".log";
    EXPECT_NE(std::system((tool + " check " + file.string() + " > " + log + " 2>&1").c_str()), 0);
    EXPECT_NE(ReadText(log).find("article 9: LoadNotFound"), std::string::npos);
    EXPECT_NE(std::system((tool + " dump " + file.string() + " 5 > " + log + " 2>&1").c_str()), 0);
    EXPECT_NE(ReadText(log).find("article 5: LoadBufferError"), std::string::npos);
    fs::remove_all(file.parent_path());
}

TEST_F(DemoBook, CommandLineBuildsListsAndDumps) {
    const std::string tool = VAELO_BOOK_TOOL;
    const fs::path dir = TempDir("cli");
    const std::string file = (dir / "book.vrsc").string(), log = (dir / "out.txt").string();
    ASSERT_EQ(std::system((tool + " build " + kDemo.string() + " -o " + file).c_str()), 0);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), *built_);
    ASSERT_EQ(std::system((tool + " list " + file + " > " + log).c_str()), 0);
    const std::string list = ReadText(log);
    EXPECT_NE(list.find("  10   1001 "), std::string::npos);
    EXPECT_NE(list.find("  10  32767 "), std::string::npos);
    ASSERT_EQ(std::system((tool + " dump " + file + " 2 --raw > " + log).c_str()), 0);
    BookReader book(Container(*built_));
    int status = 0;
    const std::string raw = ReadText(log);
    EXPECT_EQ(Bytes(raw.begin(), raw.end()), book.Load(2, &status));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vaelo::booktool
