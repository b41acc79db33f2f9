// The editable book source (docs/book-source.md): one file per article and one for the index,
// each a list of lines, one stored record per line. This module turns a file into the stored
// bytes and stored bytes back into the one source text that gives them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/book/letters.h"

namespace vaelo::booktool {

// Largest unpacked article or index (the 16-bit textLength).
constexpr std::size_t kMaxDocumentLength = 65535;
constexpr int kBookArticles = 260;

// An article file → its document: the paragraph records, one after another. The document's
// end is the zero byte the loader puts after the text, so none is written. Errors read
// "file:line: message".
std::optional<Bytes> CompileArticle(std::string_view source, const std::string& file,
                                    std::string* error);

// The index file → its records in tree order followed by the five-byte end record.
std::optional<Bytes> CompileIndex(std::string_view source, const std::string& file,
                                  std::string* error);

// A document back to its source text. nullopt with the reason when the document cannot be
// written as source (a record cut short, a rule holding text, bytes after an end record).
std::optional<std::string> ArticleSource(std::span<const std::uint8_t> document,
                                         std::string* error);
std::optional<std::string> IndexSource(std::span<const std::uint8_t> index, std::string* error);

// One line per record for a person to read: flags and indent in hex, then the text in reading
// order (right-to-left records reordered back). Used by `dump`.
std::string DescribeArticle(std::span<const std::uint8_t> document);
std::string DescribeIndex(std::span<const std::uint8_t> index);

// Problems of a document or index that the reader would trip on, one message each; empty when
// it is sound.
std::vector<std::string> DocumentProblems(std::span<const std::uint8_t> document);
std::vector<std::string> IndexProblems(std::span<const std::uint8_t> index);

}  // namespace vaelo::booktool
