// Start-up as a user feels it: from exec of the real program to its first
// top-level window mapped on the X server of $DISPLAY. The probe watches the
// root window's children, starts the program, takes the time of the first map
// of a managed (not override-redirect) window, and kills the program so that it
// writes nothing back. Prints, a run, the wall time in milliseconds and the
// processor time the program's main thread had used by then (from
// /proc/PID/schedstat), which a loaded machine changes far less.
//
//   startup_probe PROGRAM RUNS [FLOOR]
//
// With FLOOR, each run times FLOOR right after PROGRAM and the line goes on
// with its two figures, so that the machine's state falls on both alike.
//
// The program runs from its own directory, which must hold the list files:
// otherwise the first window mapped is the missing-list message.
#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using clock_type = std::chrono::steady_clock;

// Waits for the map of a managed window; false after ten seconds without one.
bool wait_for_map(Display* display) {
    const auto deadline = clock_type::now() + std::chrono::seconds(10);
    pollfd watch{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_type::now());
        if (left.count() <= 0) return false;
        ::poll(&watch, 1, static_cast<int>(left.count()));
    }
}

// Processor time of the process's main thread so far, in milliseconds.
double cpu_ms(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/schedstat");
    double ns = 0;
    stat >> ns;
    return ns / 1e6;
}

void drain(Display* display) {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Starts the program, waits for its window, kills it; false when nothing was
// mapped within ten seconds.
bool time_one(Display* display, const char* program, double& ms, double& cpu) {
    drain(display);
    const auto start = clock_type::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program, program, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (child < 0) return false;
    const bool mapped = wait_for_map(display);
    ms = std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
    cpu = cpu_ms(child);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return mapped;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s PROGRAM RUNS [FLOOR]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    for (int run = 0; run < runs; ++run) {
        double ms = 0, cpu = 0, floor_ms = 0, floor_cpu = 0;
        if (!time_one(display, argv[1], ms, cpu) || (argc == 4 && !time_one(display, argv[3], floor_ms, floor_cpu))) {
            std::fprintf(stderr, "startup_probe: no window mapped within ten seconds\n");
            return 1;
        }
        if (argc == 4)
            std::printf("%.2f %.2f %.2f %.2f\n", ms, cpu, floor_ms, floor_cpu);
        else
            std::printf("%.2f %.2f\n", ms, cpu);
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
