#pragma once

#include <cstddef>
#include <functional>

namespace ravinel {

// How many threads the processing routines split their rows over: the processor count,
// or RAVINEL_THREADS when it holds a number (1 turns the splitting off).
unsigned processThreads();

// Sets that count (0: the processor count); returns the count in use. For tests and
// benchmarks.
unsigned setProcessThreads(unsigned count);

// True when RAVINEL_THREADS or setProcessThreads chose the count, false while it is the
// processor count by default.
bool processThreadsChosen();

// Runs work(begin, end) over contiguous bands that cover [0, count) exactly once, at most
// one band per thread and none shorter than minBand, so that small pictures stay on the
// calling thread. Returns when every band is done; the first exception a band threw is
// rethrown then. A call from inside a band, or while another thread is splitting, runs
// on the calling thread alone, so callers never wait on each other.
void forEachBand(size_t count, size_t minBand, const std::function<void(size_t, size_t)>& work);

}  // namespace ravinel
