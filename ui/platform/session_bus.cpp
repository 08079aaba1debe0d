#include "session_bus.h"

#include <cstdlib>
#include <unistd.h>

namespace kozenica {

std::string session_bus_to_pin(const char* named_address, const std::string& runtime_dir) {
    if (named_address != nullptr && *named_address != '\0') return {};
    const std::string socket = runtime_dir + "/bus";
    if (::access(socket.c_str(), F_OK) == 0) return {};
    return "unix:path=" + socket;
}

void pin_missing_session_bus() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string runtime_dir =
        runtime != nullptr && *runtime != '\0' ? runtime : "/run/user/" + std::to_string(::getuid());
    const std::string address = session_bus_to_pin(std::getenv("DBUS_SESSION_BUS_ADDRESS"), runtime_dir);
    if (!address.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 0);
}

} // namespace kozenica
