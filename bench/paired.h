#pragma once
// Paired figures: the program's way of doing a job measured beside the best
// plain way of moving the same bytes, the two taken in turns (A B, B A, A B,
// ...) over many samples, so that whatever else the machine does at the time
// falls on both alike. Each figure reports the minimum and the median time of
// one call for both sides; the ratio of the minima is the cost of the program's
// own work over the bytes themselves.
#include <functional>
#include <string>
#include <vector>

namespace kozenica::bench {

struct paired_figure {
    std::string name;
    std::function<void()> measured; // the program's reader, writer or walk: one call
    std::function<void()> baseline; // the plain system calls over the same bytes: one call
    int samples = 41;               // per side
    bool one_call = false;          // one call a sample (the slow and the cold figures);
                                    // otherwise enough calls that a sample takes about a millisecond
    // Which clock times a sample. Work that waits for the disk (saves, cold
    // reads) takes wall time; work on cached bytes takes the processor time of
    // the benchmark's thread (user and system), which, unlike wall time, does
    // not grow while the thread waits for a processor on a loaded machine.
    bool wall_clock = false;
    // Untimed, before every sample of either side; for the cold-cache
    // figures it drops the files' pages so that each sample reads the disk.
    std::function<void()> before_sample = [] {};
};

// Registers a figure; the files call it from a static initialiser.
int add_paired(paired_figure figure);

// Keeps the compiler from dropping a computed value: its address escapes and
// all memory counts as read. Only the address is passed, so a whole month
// table is not copied to be kept.
template <typename T> void keep(const T& value) {
    asm volatile("" : : "r"(&value) : "memory");
}

} // namespace kozenica::bench
