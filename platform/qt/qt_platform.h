// The Qt 6 backend.
#pragma once

namespace vaelo::platform::qt {
}  // namespace vaelo::platform::qt
