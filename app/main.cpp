// The entry of the vaelo program: takes --book FILE for itself and hands the rest to the
// reader, on the Qt backend.
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/shell_state.h"
#include "app/startup.h"
#include "platform/qt/qt_entry.h"
#include "platform/resources.h"
#include "resources/builtin_resources.h"

namespace {

int Usage() {
    std::cerr << "usage: vaelo [--book FILE] [/today]\n";
    return 2;
}

// The reader, then its views go while the window surfaces they draw on still exist.
int Reader(const std::vector<std::string>& args) {
    const int code = vaelo::RunReader(args);
    vaelo::ResetShell();
    return code;
}

// Another book brings its articles and index; the menus, dialogs and pictures stay the
// program's own unless the file has its own.
std::optional<vaelo::platform::ResourceContainer> WithProgramResources(const vaelo::platform::ResourceContainer& file) {
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>> merged;
    auto builtin = vaelo::platform::ResourceContainer::View(vaelo::BuiltinResources(), nullptr);
    if (builtin)
        for (const auto& e : builtin->Entries())
            if (e.type != static_cast<std::uint16_t>(vaelo::platform::ResourceType::RawData))
                merged[{e.type, e.id}].assign(e.bytes.begin(), e.bytes.end());
    for (const auto& e : file.Entries()) merged[{e.type, e.id}].assign(e.bytes.begin(), e.bytes.end());
    return vaelo::platform::ResourceContainer::Own(vaelo::platform::WriteResourceContainer(merged), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    std::string bookPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--book") == 0) {
            if (i + 1 >= argc) return Usage();
            bookPath = argv[++i];
        } else if (std::strcmp(argv[i], "--help") == 0) {
            return Usage() - 2;
        } else {
            args.push_back(argv[i]);
        }
    }
    std::string why;
    std::optional<vaelo::platform::ResourceContainer> book;
    if (bookPath.empty()) {
        book = vaelo::platform::ResourceContainer::View(vaelo::BuiltinResources(), &why);
    } else {
        book = vaelo::platform::ResourceContainer::ReadFile(bookPath, &why);
        // A container without the first page is no book this reader can open.
        if (book && !book->Find(vaelo::platform::ResourceType::RawData, 1001)) {
            why = bookPath + ": no article 1 in this file; is it a book?";
            book.reset();
        }
        if (book) book = WithProgramResources(*book);
    }
    if (!book) {
        std::cerr << "vaelo: cannot open the book: " << why << "\n";
        return 2;
    }
    return vaelo::platform::qt::RunOnQt(argc, argv, std::move(*book), Reader, args);
}
