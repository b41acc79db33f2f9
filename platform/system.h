// System values: version, the program file's path, sizes of standard window parts.
#pragma once

#include <string>

#include "platform/types.h"

namespace vaelo::platform {

struct SystemVersion {
    int major = 0;
    int minor = 0;
};

class System {
public:
    virtual ~System() = default;
    // The version the shell compares with 4.21 to pick the menu bar's form.
    virtual SystemVersion Version() const = 0;
    // Full path of the program file; empty when it cannot be had.
    virtual std::u16string ProgramPath() const = 0;
    virtual int ScrollBarWidth() const = 0;
    // Widths of a control's edge, horizontal and vertical.
    virtual Size EdgeSize() const = 0;
};

}  // namespace vaelo::platform
