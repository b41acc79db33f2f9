// The whole book: a source folder (articles/001.txt .. 260.txt and index.txt) compiled into a
// resource container, and a container read back, checked, listed and dumped through the
// reader's own article store.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "content/article_store.h"
#include "platform/platform.h"
#include "tools/book/letters.h"

namespace vaelo::booktool {

constexpr std::uint16_t kIndexResourceId = 32767;

// The source file of article n (1..260) and of the index, relative to the source folder.
std::filesystem::path ArticleFile(int n);
std::filesystem::path IndexFile();

// Compiles a source folder into container bytes. On failure returns nullopt and fills
// `errors` with every "file:line: message" found.
std::optional<Bytes> BuildBook(const std::filesystem::path& source, std::vector<std::string>& errors);

// Message boxes for a command-line tool: the text goes to stderr, the answer is OK.
class StderrMessageBoxes final : public platform::MessageBoxes {
public:
    int Show(platform::WindowId owner, const std::string& text,
             const std::optional<std::string>& caption, unsigned style) override;
};

// A container installed as the program's resources for as long as the reader lives, so that
// the article store loads from it exactly as the program does.
class BookReader {
public:
    explicit BookReader(platform::ResourceContainer container);
    ~BookReader();
    BookReader(const BookReader&) = delete;
    BookReader& operator=(const BookReader&) = delete;

    // The unpacked text of article n (or content::kIndexArticleNumber); nullopt with the load
    // status on failure.
    std::optional<Bytes> Load(int number, int* status);
    const platform::ResourceContainer& Container() const { return resources_.Container(); }

private:
    platform::ContainerResources resources_;
    StderrMessageBoxes boxes_;
    platform::Services previous_;
};

// Writes the source of every article and of the index into `out`, so that building it gives
// the same container.
bool UnbuildBook(BookReader& book, const std::filesystem::path& out, std::string* error);

// Every problem of a built book, one line each: missing or damaged articles (with the load
// status by name), documents that do not walk cleanly, index records that are not well formed.
std::vector<std::string> CheckBook(BookReader& book);

// One line per resource: type, id, size in the container, and packed and unpacked sizes of
// the articles and the index.
std::string ListBook(const platform::ResourceContainer& container);

}  // namespace vaelo::booktool
