// The packer of the book's articles: the LZ77 scheme of PalmDOC that the article store
// unpacks. It always round-trips exactly and chooses the parse of smallest packed size, so a
// book packs as small as the format allows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vaelo::booktool {

// Back references reach at most this far back and copy 3 to 10 bytes.
constexpr std::size_t kMaxDistance = 2047;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 10;
constexpr std::size_t kMaxRun = 8;

// Packs `text` with a shortest-path parse over every choice at every position: a literal
// byte, a space-plus-letter pair, a run of 1 to 8 raw bytes, and a back reference of every
// length the window offers. Every control costs the same whatever its distance, so this parse
// is optimal for the format.
std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> text);

// For every position, the longest match (capped at kMaxMatch, 0 when below kMinMatch) that
// starts within kMaxDistance bytes before it, found through hash chains over the window.
std::vector<std::uint8_t> LongestMatches(std::span<const std::uint8_t> text);

// The fewest packed bytes for a text, by trying every control at every position with a plain
// search of the whole window for every distance and length: slow, and the yardstick the
// packer's hash chains and parse are checked against.
std::size_t ExhaustivePackedSize(std::span<const std::uint8_t> text);

// The largest unpacked text an article header can describe (textLength is 16-bit), and the
// largest packed data: blockLength, packedLength + 8, must fit in 16 bits as well.
constexpr std::size_t kMaxTextLength = 65535;
constexpr std::size_t kMaxPackedLength = 65535 - 8;

// An article resource around `text`: big-endian blockLength (resource size − 6), four zero
// bytes, packedLength, textLength, the packed bytes, four zero bytes. nullopt (and the reason)
// for an empty text or one that the 16-bit header fields cannot describe.
std::optional<std::vector<std::uint8_t>> MakeArticleResource(std::span<const std::uint8_t> text,
                                                             std::string* error);

}  // namespace vaelo::booktool
