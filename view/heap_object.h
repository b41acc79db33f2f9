// Single records from the program's heap. A view, its font cache nodes and its line table come
// from the platform heap like every other block, so a test can make their allocation fail and
// watch the view cope; ownership stays in the pointer type.
#pragma once

#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/heap.h"

namespace vaelo::view {

template <class T>
struct HeapDelete {
    void operator()(T* p) const noexcept {
        std::destroy_at(p);
        std::free(p);
    }
};

template <class T>
using HeapPtr = std::unique_ptr<T, HeapDelete<T>>;

// A new T from the platform heap, or null when the heap has none to give.
template <class T, class... Args>
HeapPtr<T> HeapNew(Args&&... args) {
    void* memory = platform::HeapAllocate(sizeof(T));
    if (memory == nullptr) return nullptr;
    return HeapPtr<T>(std::construct_at(static_cast<T*>(memory), std::forward<Args>(args)...));
}

}  // namespace vaelo::view
