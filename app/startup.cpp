#include "app/startup.h"

#include <cctype>

#include "app/main_window.h"
#include "app/panes.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "content/article_store.h"
#include "platform/platform.h"

namespace vaelo {
namespace {

bool IsTodaySwitch(const std::vector<std::string>& args) {
    std::string line;
    for (const auto& a : args) line += (line.empty() ? "" : " ") + a;
    if (line.size() != 6) return false;
    const char* want = "/today";
    for (std::size_t i = 0; i < 6; ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != want[i]) return false;
    return true;
}

// Stored values the reader cannot show are put back to their defaults, so a damaged or
// hand-edited settings file never leaves the reader on a page that does not exist or a pane
// split it cannot compute.
void MendStoredValues() {
    ShellState& s = Shell();
    if (s.lesson < content::kFirstArticle || s.lesson > content::kLastArticle) {
        s.lesson = 1;
        s.lastPosition = 0;
    }
    if (!IsProportionCode(s.bottomSection)) s.bottomSection = 12;
}

platform::WindowId InitInstance() {
    auto& p = platform::Current();
    if (p.instance && !p.instance->Claim(std::string(kWindowClass) + "." + kWindowTitle, OnSecondStart))
        return platform::kNoWindow;
    LoadSettings();
    SetCurrentArticle(0);
    MendStoredValues();
    if (!p.windows->RegisterClass({kWindowClass, MainWindowProc, 101, kWhite, true})) return platform::kNoWindow;
    const platform::WindowId window = p.windows->CreateTopLevel(kWindowClass, kWindowTitle);
    if (window == platform::kNoWindow) return platform::kNoWindow;
    if (Shell().options.fullScreen) p.windows->SetFullScreen(window, true);
    p.windows->Show(window);
    return window;
}

}  // namespace

void OnSecondStart() {
    ShellState& s = Shell();
    auto* windows = platform::Current().windows;
    if (!windows || s.mainWindow == platform::kNoWindow || s.modalDepth > 0) return;
    if (windows->IsForeground(s.mainWindow))
        windows->Send(s.mainWindow, platform::msg::kCommand, command::kChooseSection, 0);
    else
        windows->BringToFront(s.mainWindow);
}

int RunReader(const std::vector<std::string>& args) {
    ResetShell();
    ReadDeviceOptions();
    Shell().todaySwitch = IsTodaySwitch(args);
    if (!platform::Current().windows) return 1;
    if (InitInstance() == platform::kNoWindow) return 0;
    return platform::Current().windows->RunMessageLoop();
}

}  // namespace vaelo
