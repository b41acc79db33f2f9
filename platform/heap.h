// The one heap the program allocates its blocks from. It sits behind the platform so that a
// test can make an allocation fail on demand and see the program end in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace vaelo::platform {

struct HeapFree {
    void operator()(void* p) const noexcept { std::free(p); }
};

// A block from the heap; released with the ordinary heap release when the owner goes.
template <class T>
using HeapArray = std::unique_ptr<T[], HeapFree>;
using HeapBytes = HeapArray<std::uint8_t>;

class Heap {
public:
    virtual ~Heap() = default;
    // Returns size bytes (at least one) or nullptr; the block is released with std::free.
    virtual void* Allocate(std::size_t size) = 0;
};

// Allocates count elements of T through the current platform's heap; nullptr on failure.
template <class T>
HeapArray<T> HeapAllocArray(std::size_t count);

void* HeapAllocate(std::size_t size);

template <class T>
HeapArray<T> HeapAllocArray(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) return nullptr;
    return HeapArray<T>(static_cast<T*>(HeapAllocate(count * sizeof(T))));
}

// The heap of a real run: malloc.
class SystemHeap final : public Heap {
public:
    void* Allocate(std::size_t size) override { return std::malloc(size == 0 ? 1 : size); }
};

}  // namespace vaelo::platform
