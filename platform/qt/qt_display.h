// Whether Qt can open a display here, asked before the application object is made: without
// one Qt ends the program with a terse message of its own, and a user who started the reader
// on a machine with no desktop deserves to be told how to run it anyway.
//
//  [X] X11 and Wayland: DISPLAY or WAYLAND_DISPLAY must be set.
//  [X] A platform chosen by QT_QPA_PLATFORM that needs no display (offscreen, vnc, ...) passes.
#pragma once

#include <string>

namespace vaelo::platform::qt {

// Empty when a display can be had; otherwise what to tell the user, naming `program`.
std::string NoDisplayAdvice(const std::string& program);

}  // namespace vaelo::platform::qt
