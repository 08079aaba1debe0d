#include "session_bus.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace kozenica {
namespace {

std::string machine_id() {
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        std::string id;
        if (std::ifstream(path) >> id) return id;
    }
    return {};
}

bool selection_owned(xcb_connection_t* connection, const std::string& name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, name.size(), name.c_str()), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace

std::string session_bus_to_pin(const char* named_address, const std::string& runtime_dir,
                               bool x11_bus_known) {
    if (named_address != nullptr && *named_address != '\0') return {};
    // The bus library takes the standard place only when it is a socket of this user.
    const std::string socket = runtime_dir + "/bus";
    struct stat st {};
    if (::stat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::getuid()) return {};
    if (x11_bus_known) return {};
    return "unix:path=" + socket;
}

bool x11_session_bus_known() {
    const char* display = std::getenv("DISPLAY");
    const passwd* user = ::getpwuid(::getuid());
    const std::string machine = machine_id();
    if (display == nullptr || *display == '\0' || user == nullptr || machine.empty()) return false;
    // The file dbus-launch writes: ~/.dbus/session-bus/MACHINE-N for display :N (host and screen dropped).
    std::string number = display;
    number = number.substr(number.find(':') + 1);
    number = number.substr(0, number.find('.'));
    const char* home = std::getenv("HOME");
    const std::string file = std::string(home != nullptr && *home != '\0' ? home : user->pw_dir) +
                             "/.dbus/session-bus/" + machine + "-" + number;
    if (::access(file.c_str(), F_OK) == 0) return true;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool owned = xcb_connection_has_error(connection) == 0 &&
                       selection_owned(connection, "_DBUS_SESSION_BUS_SELECTION_" +
                                                       std::string(user->pw_name) + "_" + machine);
    xcb_disconnect(connection);
    return owned;
}

void pin_missing_session_bus() {
    const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (named != nullptr && *named != '\0') return;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string runtime_dir =
        runtime != nullptr && *runtime != '\0' ? runtime : "/run/user/" + std::to_string(::getuid());
    const std::string address = session_bus_to_pin(named, runtime_dir, x11_session_bus_known());
    if (!address.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 0);
}

} // namespace kozenica
