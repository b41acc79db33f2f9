#include "tools/book/book.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "tools/book/book_source.h"
#include "tools/book/packer.h"

namespace vaelo::booktool {
namespace {

namespace fs = std::filesystem;
using platform::ResourceType;

constexpr auto kRawData = static_cast<std::uint16_t>(ResourceType::RawData);

std::optional<std::string> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream s;
    s << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return s.str();
}

bool WriteAll(const fs::path& path, const std::string& text, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
        if (error) *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

std::uint16_t BigEndian16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

std::string ArticleName(int number) {
    return number == content::kIndexArticleNumber ? std::string("the index")
                                                  : "article " + std::to_string(number);
}

}  // namespace

fs::path ArticleFile(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.txt", n);
    return fs::path("articles") / name;
}

fs::path IndexFile() { return "index.txt"; }

std::optional<Bytes> BuildBook(const fs::path& source, std::vector<std::string>& errors) {
    std::map<std::pair<std::uint16_t, std::uint16_t>, Bytes> resources;
    auto compile = [&](const fs::path& rel, std::uint16_t id, bool index) {
        const fs::path path = source / rel;
        const auto text = ReadAll(path);
        if (!text) {
            errors.push_back(path.string() + ":1: " +
                             (index ? std::string("the index is missing")
                                    : "article " + std::to_string(id - content::kArticleResourceBase) +
                                          " is missing") +
                             " (cannot read the file)");
            return;
        }
        std::string why;
        auto doc = index ? CompileIndex(*text, path.string(), &why)
                         : CompileArticle(*text, path.string(), &why);
        if (!doc) {
            errors.push_back(why);
            return;
        }
        auto resource = MakeArticleResource(*doc, &why);
        if (!resource) {
            errors.push_back(path.string() + ":1: " + why);
            return;
        }
        resources[{kRawData, id}] = std::move(*resource);
    };
    for (int n = 1; n <= kBookArticles; ++n)
        compile(ArticleFile(n), static_cast<std::uint16_t>(content::kArticleResourceBase + n), false);
    compile(IndexFile(), kIndexResourceId, true);
    // A file the book has no place for is most likely a misnamed article.
    std::error_code ec;
    if (fs::is_directory(source / "articles", ec)) {
        std::vector<std::string> strays;
        for (const auto& entry : fs::directory_iterator(source / "articles", ec)) {
            const std::string name = entry.path().filename().string();
            bool known = false;
            for (int n = 1; n <= kBookArticles && !known; ++n) known = ArticleFile(n).filename() == name;
            if (!known) strays.push_back(entry.path().string() + ":1: not an article of the book (001.txt to 260.txt)");
        }
        std::sort(strays.begin(), strays.end());
        errors.insert(errors.end(), strays.begin(), strays.end());
    }
    if (!errors.empty()) return std::nullopt;
    return platform::WriteResourceContainer(resources);
}

int StderrMessageBoxes::Show(platform::WindowId, const std::string& text,
                             const std::optional<std::string>& caption, unsigned) {
    std::cerr << caption.value_or(platform::kDefaultCaption) << ": " << text << "\n";
    return platform::mbr::kOk;
}

BookReader::BookReader(platform::ResourceContainer container) : resources_(std::move(container)) {
    platform::Services services = platform::Current();
    services.resources = &resources_;
    services.messageBoxes = &boxes_;
    previous_ = platform::Install(services);
}

BookReader::~BookReader() { platform::Install(previous_); }

std::optional<Bytes> BookReader::Load(int number, int* status) {
    int s = 0;
    content::Document doc = content::LoadArticle(number, &s);
    if (!doc) {
        if (status) *status = s;
        return std::nullopt;
    }
    return Bytes(doc.data(), doc.data() + doc.length);
}

bool UnbuildBook(BookReader& book, const fs::path& out, std::string* error) {
    std::error_code ec;
    fs::create_directories(out / "articles", ec);
    if (ec) {
        if (error) *error = "cannot create " + (out / "articles").string() + ": " + ec.message();
        return false;
    }
    for (int n = 1; n <= kBookArticles + 1; ++n) {
        const bool index = n > kBookArticles;
        const int number = index ? content::kIndexArticleNumber : n;
        int status = 0;
        auto text = book.Load(number, &status);
        if (!text) {
            if (error) *error = ArticleName(number) + ": " + content::LoadStatusName(status);
            return false;
        }
        std::string why;
        auto source = index ? IndexSource(*text, &why) : ArticleSource(*text, &why);
        if (!source) {
            if (error) *error = ArticleName(number) + ": cannot be written as source: " + why;
            return false;
        }
        if (!WriteAll(out / (index ? IndexFile() : ArticleFile(n)), *source, error)) return false;
    }
    return true;
}

std::vector<std::string> CheckBook(BookReader& book) {
    std::vector<std::string> problems;
    for (int n = 1; n <= kBookArticles + 1; ++n) {
        const bool index = n > kBookArticles;
        const int number = index ? content::kIndexArticleNumber : n;
        const std::string name = ArticleName(number);
        const auto id = static_cast<std::uint16_t>(index ? kIndexResourceId : content::kArticleResourceBase + n);
        // The header as the compiler writes it; the loader is more forgiving, so check it here.
        if (auto r = book.Container().Find(ResourceType::RawData, id);
            r && r->size() >= content::kArticleHeaderSize) {
            const std::size_t packed = BigEndian16(r->data() + 6);
            if (BigEndian16(r->data()) != ((r->size() - 6) & 0xFFFF))
                problems.push_back(name + ": blockLength does not match the resource size");
            if (packed + content::kArticleHeaderSize + content::kArticleTrailerSize != r->size())
                problems.push_back(name + ": packedLength " + std::to_string(packed) +
                                   " does not match the resource size " + std::to_string(r->size()));
        }
        int status = 0;
        auto text = book.Load(number, &status);
        if (!text) {
            problems.push_back(name + ": " + content::LoadStatusName(status));
            continue;
        }
        for (const auto& p : index ? IndexProblems(*text) : DocumentProblems(*text))
            problems.push_back(name + ": " + p);
    }
    return problems;
}

std::string ListBook(const platform::ResourceContainer& container) {
    std::string out = "type     id     size   packed unpacked\n";
    for (const auto& e : container.Entries()) {
        char line[96];
        std::string packed = "-", unpacked = "-";
        if (e.type == kRawData && e.bytes.size() >= content::kArticleHeaderSize) {
            packed = std::to_string(BigEndian16(e.bytes.data() + 6));
            unpacked = std::to_string(BigEndian16(e.bytes.data() + 8));
        }
        std::snprintf(line, sizeof line, "%4u %6u %8zu %8s %8s\n", e.type, e.id, e.bytes.size(),
                      packed.c_str(), unpacked.c_str());
        out += line;
    }
    return out;
}

}  // namespace vaelo::booktool
