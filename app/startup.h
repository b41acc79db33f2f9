// The program's life from the entry to the exit, on whatever platform is installed: the device
// options, one reader per user, the settings, the main window, the message loop.
#pragma once

#include <string>
#include <vector>

namespace vaelo {

inline constexpr const char* kWindowClass = "Vaelo";
inline constexpr const char* kWindowTitle = "Vaelo";

// Runs the reader; returns the exit code (0 also for a second start, which only wakes the
// first). args are the command-line arguments after the program name that the entry did not
// take for itself.
int RunReader(const std::vector<std::string>& args);

// What a later start asks of the running reader: its Choose Section list when the reader is in
// front, else to come to the front; nothing while one of its dialogs is open.
void OnSecondStart();

}  // namespace vaelo
