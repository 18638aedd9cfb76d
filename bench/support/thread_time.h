#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <functional>

namespace bench_support {

// CPU time of the calling thread: the machine is shared, so wall time would count the others.
inline double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Thread seconds of one run, averaged over `runs` after one warming run (caches, font
// machinery, first-use tables).
inline double SecondsPerRun(const std::function<void()>& run, int runs) {
  run();
  const double start = ThreadSeconds();
  for (int i = 0; i < runs; ++i) run();
  return (ThreadSeconds() - start) / runs;
}

// Runs `measured` for the benchmark and reports its thread time per run as a multiple of
// `baseline`'s, measured just before in the same run ("x_baseline").
inline void RunAgainst(benchmark::State& state, const std::function<void()>& baseline,
                       const std::function<void()>& measured, int baseline_runs) {
  const double base = SecondsPerRun(baseline, baseline_runs);
  const double start = ThreadSeconds();
  for (auto _ : state) measured();
  const double took = ThreadSeconds() - start;
  state.counters["x_baseline"] = took / static_cast<double>(state.iterations()) / base;
}

}  // namespace bench_support
