// The resources built into the program at compile time: the book (articles 1001..1260 and the
// index 32767) and the user-interface resources, as one container (docs/resource-container.md).
#pragma once

#include "platform/resources.h"

namespace vaelo {

// The container's bytes; they live as long as the program.
platform::ResourceBytes BuiltinResources();

namespace resources {
using vaelo::BuiltinResources;
}

}  // namespace vaelo
