// The shell role on a desktop: an address goes to the user's browser (or whatever the desktop
// opens it with), and nothing is shown when that fails.
//
//  [X] OpenAddress: the verb "Open" through the desktop's URL handler.
//  [X] Only addresses with a scheme are handed on; an empty or malformed one is refused.
//  [ ] The owner window is not used: the desktop picks where the browser appears.
#pragma once

#include <string>

#include "platform/dialogs.h"

namespace vaelo::platform::qt {

class QtShell final : public Shell {
  public:
    bool OpenAddress(WindowId owner, const std::u16string& address) override;
};

}  // namespace vaelo::platform::qt
