// The article store: turns an article number into a document. It finds the article's raw data
// resource, checks the header, and unpacks the packed text (the LZ77 scheme of PalmDOC) into a
// new block of the heap. The table of contents loads the same way under its own number.
#pragma once

#include <cstdint>

#include "content/document.h"

namespace vaelo::content {

// Load statuses, stored only on failure.
enum LoadStatus : int {
    LoadNotFound = 1,     // no resource with the computed id
    LoadUnavailable = 2,  // resource empty or unloadable, or no memory for the block
    LoadBadHeader = 3,    // blockLength below 5, or packedLength 0
    LoadBadLengths = 4,   // textLength 0
    LoadBufferError = 5,  // the packed data did not unpack to exactly textLength bytes
};

// The name of a status for messages ("LoadBufferError"); "LoadOk" for 0.
const char* LoadStatusName(int status);

constexpr int kIndexArticleNumber = 31767;  // loads resource 32767
constexpr int kFirstArticle = 1;
constexpr int kLastArticle = 260;
constexpr int kArticleResourceBase = 1000;

// Resource header: big-endian fields.
constexpr std::size_t kArticleHeaderSize = 10;  // blockLength, 4 bytes, packedLength, textLength
constexpr std::size_t kArticleTrailerSize = 4;  // four zero bytes after the packed data

struct PackedBlock {
    const std::uint8_t* source = nullptr;  // first packed byte
    std::uint32_t sourceLength = 0;
    std::uint32_t textLength = 0;
};

// Loads article `number` (1..260, or kIndexArticleNumber). Nothing for a number below 1, with
// *status untouched; on any other failure *status (when given) holds the LoadStatus.
Document LoadArticle(int number, int* status);

// Unpacks a block into a new document of textLength + 2 bytes, zero at textLength. Shows
// "UnCompress() buffer error!" when the data runs out before textLength bytes. Malformed data
// (a back reference of distance 0 or reaching before the output's start, a literal run or
// reference cut off by the end of the packed data) fails with LoadBufferError: nothing is ever
// read outside [source, source + sourceLength) or written outside the block.
Document UnCompress(const PackedBlock& block, int* status);

}  // namespace vaelo::content
