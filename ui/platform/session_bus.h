#pragma once

#include <string>

namespace kozenica {

// The message-bus address the program pins before the application starts, or
// "" to leave the choice to the bus library. The windows' accessibility bridge
// joins the session bus at start-up, and where no session bus is running (an X
// server without a desktop session) the bus library would start a private one
// through dbus-launch, which costs more than the rest of start-up and serves no
// screen reader. So where the environment names no bus and none listens at its
// standard place, that place is pinned: the join fails at once, as it would
// where the bridge was not built in, and every window looks and works the same.
[[nodiscard]] std::string session_bus_to_pin(const char* named_address, const std::string& runtime_dir);

// Applies session_bus_to_pin to this process's environment.
void pin_missing_session_bus();

} // namespace kozenica
