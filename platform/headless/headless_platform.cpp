#include "platform/headless/headless_platform.h"

#include <cstdio>
#include <cstdlib>

namespace vaelo::platform::headless {

void* HeadlessHeap::Allocate(std::size_t size) {
    ++allocations_;
    if (remaining_ == 0) {
        ++failures_;
        return nullptr;
    }
    if (remaining_ > 0) --remaining_;
    return std::malloc(size == 0 ? 1 : size);
}

int HeadlessMessageBoxes::Show(WindowId owner, const std::string& text,
                               const std::optional<std::string>& caption, unsigned style) {
    int answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        answer = (style & mb::kButtonsMask) == mb::kYesNoCancel ? mbr::kCancel : mbr::kOk;
    }
    char styleText[16];
    std::snprintf(styleText, sizeof styleText, "0x%02X", style);
    log_.push_back("MessageBox owner=" + std::to_string(owner) + " caption=\"" +
                   caption.value_or(kDefaultCaption) + "\" text=\"" + text + "\" style=" +
                   styleText + " -> " + std::to_string(answer));
    return answer;
}

HeadlessPlatform::HeadlessPlatform() {
    previous_ = Install({.heap = &heap,
                         .messageBoxes = &messageBoxes,
                         .settings = &settings,
                         .system = &system,
                         .windows = &windows,
                         .menus = &menus,
                         .dialogs = &dialogs,
                         .shell = &shell,
                         .instance = &instance});
}

HeadlessPlatform::~HeadlessPlatform() { Install(previous_); }

void HeadlessPlatform::SetResources(ResourceContainer container) {
    resources_ = std::make_unique<ContainerResources>(std::move(container));
    Current().resources = resources_.get();
}

}  // namespace vaelo::platform::headless
