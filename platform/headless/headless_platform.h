// The headless backend: deterministic, in memory, for tests. It keeps the contract of the Qt
// backend (same results, same ownership, same order of effects) and records what happens as
// stable lines of text that a test can compare.
//
//  [X] Heap: allocations can be made to fail on demand (FailAllocationsAfter).
//  [X] Message boxes: recorded; answered from a script (ScriptAnswers), OK/Cancel otherwise.
//  [X] Settings store: in memory.
//  [X] Resources: a container the test supplies.
//  [X] System: version 4.20, program path "/opt/vaelo/vaelo", scroll bar width 13.
//  [X] Drawing surface: HeadlessSurface, fixed metrics (headless_surface.h).
//  [X] Windows, scroll bars, message loop: HeadlessWindows (headless_windows.h).
//  [X] Menu bar with check marks, modal dialogs answered from scripts, shell, single instance.
//  [ ] Clipboard: added with the copy commands.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_windows.h"
#include "platform/platform.h"

namespace vaelo::platform::headless {

class HeadlessHeap final : public Heap {
public:
    void* Allocate(std::size_t size) override;
    // After `successes` more allocations, every allocation fails until Reset.
    void FailAllocationsAfter(long successes) { remaining_ = successes; }
    void Reset() { remaining_ = -1; }
    long Allocations() const { return allocations_; }
    long Failures() const { return failures_; }

private:
    long remaining_ = -1;  // -1: never fail
    long allocations_ = 0;
    long failures_ = 0;
};

class HeadlessMessageBoxes final : public MessageBoxes {
public:
    int Show(WindowId owner, const std::string& text, const std::optional<std::string>& caption,
             unsigned style) override;
    // Answers for the next boxes, in order; once used up a box answers OK, or Cancel when it
    // has Yes/No/Cancel buttons.
    void ScriptAnswers(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }
    // One line per box: owner, caption, text, style and the answer.
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

private:
    std::deque<int> answers_;
    std::vector<std::string> log_;
};

class HeadlessSystem final : public System {
public:
    SystemVersion Version() const override { return version; }
    std::u16string ProgramPath() const override { return programPath; }
    int ScrollBarWidth() const override { return 13; }
    Size EdgeSize() const override { return {2, 2}; }

    SystemVersion version{4, 20};
    std::u16string programPath = u"/opt/vaelo/vaelo";
};

// Owns one of each role and installs them for its lifetime; the services it replaced come
// back when it goes.
class HeadlessPlatform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform();
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // Serves resources from this container from now on.
    void SetResources(ResourceContainer container);

    HeadlessHeap heap;
    HeadlessMessageBoxes messageBoxes;
    MemorySettingsStore settings;
    HeadlessSystem system;
    EventLog log;  // windows, menus, dialogs and shell, in order
    HeadlessWindows windows{log};
    HeadlessMenus menus{log};
    HeadlessDialogs dialogs{log};
    HeadlessShell shell{log};
    HeadlessInstance instance;

private:
    std::unique_ptr<ContainerResources> resources_;
    Services previous_;
};

}  // namespace vaelo::platform::headless
