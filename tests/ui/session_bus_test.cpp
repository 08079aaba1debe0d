// Start-up joins a running session bus or none: it never has one launched.
#include "ui/platform/session_bus.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

TEST(session_bus, only_a_missing_bus_is_pinned_to_its_standard_place) {
    QTemporaryDir with_bus, without_bus;
    const std::string with = with_bus.path().toStdString(), without = without_bus.path().toStdString();
    std::ofstream(with + "/bus") << ""; // where a session's bus listens
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"unix:path=/run/user/1000/bus", without, ""}, // named by the session: left alone
        {nullptr, with, ""},                           // found by the bus library itself
        {nullptr, without, "unix:path=" + without + "/bus"},
        {"", without, "unix:path=" + without + "/bus"}};
    for (const auto& [named, runtime_dir, pinned] : cases)
        EXPECT_EQ(session_bus_to_pin(named, runtime_dir), pinned)
            << (named ? named : "(unset)") << " " << runtime_dir;
}

} // namespace
} // namespace kozenica
