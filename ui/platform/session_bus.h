#pragma once

#include <string>

namespace kozenica {

// The message-bus address the program pins before the application starts, or
// "" to leave the choice to the bus library. The windows' accessibility bridge
// joins the session bus at start-up, and where no session bus is running (an X
// server without a desktop session) the bus library would start a private one
// through dbus-launch, which costs more than the rest of start-up and serves no
// one. So only where the library would start one of its own (the environment
// names no bus, no socket of this user listens at its standard place, and the
// X server knows no session bus started for this user) that place is pinned:
// the join fails at once, and every window looks and works the same. A session
// bus found any of those ways is the one the input method (Fcitx 5) and the
// accessibility bus talk over, and is left to the library.
[[nodiscard]] std::string session_bus_to_pin(const char* named_address, const std::string& runtime_dir,
                                             bool x11_bus_known);

// Whether the X server of DISPLAY holds a session bus started for this user
// (the owner of the selection dbus-launch registers), or ~/.dbus/session-bus/
// names one for that display.
[[nodiscard]] bool x11_session_bus_known();

// Applies session_bus_to_pin to this process's environment.
void pin_missing_session_bus();

} // namespace kozenica
