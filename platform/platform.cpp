#include "platform/platform.h"

namespace vaelo::platform {
namespace {

SystemHeap systemHeap;

Services& Installed() {
    static Services services{.heap = &systemHeap};
    return services;
}

}  // namespace

Services& Current() { return Installed(); }

Services Install(const Services& services) {
    Services previous = Installed();
    Installed() = services;
    if (!Installed().heap) Installed().heap = &systemHeap;
    return previous;
}

void* HeapAllocate(std::size_t size) { return Current().heap->Allocate(size); }

}  // namespace vaelo::platform
