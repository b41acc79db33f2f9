#include "resources/builtin_resources.h"

#include <cstdint>

// Defined in builtin_resources.S around the included container.
extern "C" const std::uint8_t vaelo_builtin_resources_begin[];
extern "C" const std::uint8_t vaelo_builtin_resources_end[];

namespace vaelo {

platform::ResourceBytes BuiltinResources() {
    return {vaelo_builtin_resources_begin,
            static_cast<std::size_t>(vaelo_builtin_resources_end - vaelo_builtin_resources_begin)};
}

}  // namespace vaelo
