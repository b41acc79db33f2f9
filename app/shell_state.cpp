#include "app/shell_state.h"

#include <memory>

namespace vaelo {
namespace {

std::unique_ptr<ShellState>& Instance() {
    static std::unique_ptr<ShellState> state = std::make_unique<ShellState>();
    return state;
}

}  // namespace

ShellState& Shell() { return *Instance(); }

void ResetShell() { Instance() = std::make_unique<ShellState>(); }

}  // namespace vaelo
