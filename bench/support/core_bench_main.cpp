// The main of core_bench: runs every paired figure, its two sides in turns,
// and prints one JSON object that scripts/run-bench turns into the table:
//   {"figures": [{"name": ..., "samples": n,
//                 "measured": {"min": s, "median": s},
//                 "baseline": {"min": s, "median": s}}, ...]}
// Times are seconds for one call, of wall clock or of the thread's processor
// time as the figure chooses (paired.h).
//
//   core_bench [--filter=TEXT] [--samples=FACTOR]
//
// --filter runs only the figures whose name holds TEXT; --samples scales the
// number of samples of every figure (0.25 for a quick look).
#include "paired.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string_view>
#include <time.h>

namespace kozenica::bench {

namespace {

std::vector<paired_figure>& figures() {
    static std::vector<paired_figure> all;
    return all;
}

using seconds = std::chrono::duration<double>;

double now(bool wall_clock) {
    timespec t{};
    ::clock_gettime(wall_clock ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double time_calls(const std::function<void()>& call, int calls, bool wall_clock) {
    const double start = now(wall_clock);
    for (int i = 0; i < calls; ++i)
        call();
    return (now(wall_clock) - start) / calls;
}

// Calls a sample needs to last about a millisecond, so that the clock's own
// cost and resolution stay out of the figure.
int calls_for(const paired_figure& f, const std::function<void()>& call) {
    if (f.one_call) return 1;
    f.before_sample();
    const double once = time_calls(call, 1, true);
    return std::clamp(static_cast<int>(1e-3 / std::max(once, 1e-9)), 1, 100000);
}

struct spread {
    double min, median;
};

spread spread_of(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {times.front(), median};
}

void run(const paired_figure& f, double scale, bool first) {
    std::fprintf(stderr, "  %s ...\n", f.name.c_str());
    const int samples = std::max(3, static_cast<int>(std::lround(f.samples * scale)));
    // Once each untimed: builds the files a figure reads and warms the code.
    f.before_sample();
    f.measured();
    f.before_sample();
    f.baseline();
    const int measured_calls = calls_for(f, f.measured);
    const int baseline_calls = calls_for(f, f.baseline);
    std::vector<double> measured, baseline;
    const auto sample = [&](bool program_side) {
        f.before_sample();
        if (program_side)
            measured.push_back(time_calls(f.measured, measured_calls, f.wall_clock));
        else
            baseline.push_back(time_calls(f.baseline, baseline_calls, f.wall_clock));
    };
    for (int i = 0; i < samples; ++i) {
        // Which side goes first alternates, so neither always follows the other.
        sample(i % 2 == 0);
        sample(i % 2 != 0);
    }
    const spread m = spread_of(measured), b = spread_of(baseline);
    std::printf("%s\n    {\"name\": \"%s\", \"samples\": %d, \"clock\": \"%s\",\n"
                "     \"measured\": {\"min\": %.9g, \"median\": %.9g},\n"
                "     \"baseline\": {\"min\": %.9g, \"median\": %.9g}}",
                first ? "" : ",", f.name.c_str(), samples, f.wall_clock ? "wall" : "thread", m.min, m.median,
                b.min, b.median);
    std::fflush(stdout);
}

} // namespace

int add_paired(paired_figure figure) {
    figures().push_back(std::move(figure));
    return static_cast<int>(figures().size());
}

} // namespace kozenica::bench

int main(int argc, char** argv) {
    using namespace kozenica::bench;
    std::string_view filter;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--filter="))
            filter = arg.substr(9);
        else if (arg.starts_with("--samples="))
            scale = std::atof(argv[i] + 10);
        else {
            std::fprintf(stderr, "usage: %s [--filter=TEXT] [--samples=FACTOR]\n", argv[0]);
            return 2;
        }
    }
    try {
        std::printf("{\"figures\": [");
        bool first = true;
        for (const paired_figure& f : figures()) {
            if (f.name.find(filter) == std::string::npos) continue;
            run(f, scale, first);
            first = false;
        }
        std::printf("\n]}\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "core_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
