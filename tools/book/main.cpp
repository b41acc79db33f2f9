// vaelo-book: the book compiler and inspector.
//
//   vaelo-book build SRC -o FILE      compile a book source folder into a container
//   vaelo-book unbuild FILE -o SRC    write a container back as source
//   vaelo-book check FILE             list every problem of a container; exit 1 if any
//   vaelo-book list FILE              every resource with type, id, packed and unpacked size
//   vaelo-book dump FILE N [--raw]    article N (31767: the index), one line per record
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "content/article_store.h"
#include "tools/book/book.h"
#include "tools/book/book_source.h"
#include "tools/render/render_command.h"

namespace {

using namespace vaelo;
using namespace vaelo::booktool;

int Usage() {
    std::cerr << "usage: vaelo-book build SRC -o FILE\n"
                 "       vaelo-book unbuild FILE -o SRC\n"
                 "       vaelo-book check FILE\n"
                 "       vaelo-book list FILE\n"
                 "       vaelo-book dump FILE N [--raw]     (N = 1..260, or 31767 for the index)\n"
                 "       vaelo-book render FILE N --width W --height H [--top ROW] [--mark START:END]\n"
                 "                         [--titlebox] [--font FACE] [--size PX] -o out.png\n";
    return 2;
}

std::optional<platform::ResourceContainer> Open(const std::string& path) {
    std::string why;
    auto c = platform::ResourceContainer::ReadFile(path, &why);
    if (!c) std::cerr << why << "\n";
    return c;
}

int Build(const std::string& source, const std::string& out) {
    std::vector<std::string> errors;
    auto bytes = BuildBook(source, errors);
    if (!bytes) {
        for (const auto& e : errors) std::cerr << e << "\n";
        return 1;
    }
    // Written next to the target and renamed, so a failed write never leaves half a book
    // where the build expects a whole one.
    const std::string temp = out + ".tmp";
    {
        std::ofstream o(temp, std::ios::binary | std::ios::trunc);
        o.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
        o.flush();
        if (!o) {
            std::cerr << out << ": cannot write\n";
            return 1;
        }
    }
    if (std::rename(temp.c_str(), out.c_str()) != 0) {
        std::cerr << out << ": cannot write\n";
        return 1;
    }
    return 0;
}

int Dump(const std::string& file, const std::string& which, bool raw) {
    int number = 0;
    try {
        std::size_t used = 0;
        number = std::stoi(which, &used);
        if (used != which.size()) throw std::invalid_argument(which);
    } catch (const std::exception&) {
        std::cerr << "dump: article number expected, not '" << which << "'\n";
        return 2;
    }
    if (number != content::kIndexArticleNumber && (number < 1 || number > kBookArticles)) {
        std::cerr << "dump: article " << number << " is outside 1..260 (31767 is the index)\n";
        return 2;
    }
    auto container = Open(file);
    if (!container) return 1;
    BookReader book(std::move(*container));
    int status = 0;
    auto text = book.Load(number, &status);
    if (!text) {
        std::cerr << file << ": article " << number << ": " << content::LoadStatusName(status) << "\n";
        return 1;
    }
    if (raw) {
        std::cout.write(reinterpret_cast<const char*>(text->data()), static_cast<std::streamsize>(text->size()));
    } else {
        std::cout << (number == content::kIndexArticleNumber ? DescribeIndex(*text) : DescribeArticle(*text));
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage();
    const std::string command = args[0];
    if (command == "render") return vaelo::tools::RunRenderCommand(args);
    std::vector<std::string> positional;
    std::string out;
    bool raw = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else if (args[i] == "--raw") raw = true;
        else positional.push_back(args[i]);
    }
    if (command == "build" && positional.size() == 1 && !out.empty()) return Build(positional[0], out);
    if (command == "unbuild" && positional.size() == 1 && !out.empty()) {
        auto container = Open(positional[0]);
        if (!container) return 1;
        BookReader book(std::move(*container));
        std::string why;
        if (!UnbuildBook(book, out, &why)) {
            std::cerr << positional[0] << ": " << why << "\n";
            return 1;
        }
        return 0;
    }
    if (command == "check" && positional.size() == 1) {
        auto container = Open(positional[0]);
        if (!container) return 1;
        BookReader book(std::move(*container));
        const auto problems = CheckBook(book);
        for (const auto& p : problems) std::cout << positional[0] << ": " << p << "\n";
        if (problems.empty()) std::cout << positional[0] << ": 260 articles and the index are sound\n";
        return problems.empty() ? 0 : 1;
    }
    if (command == "list" && positional.size() == 1) {
        auto container = Open(positional[0]);
        if (!container) return 1;
        std::cout << ListBook(*container);
        return 0;
    }
    if (command == "dump" && positional.size() == 2) return Dump(positional[0], positional[1], raw);
    return Usage();
}
