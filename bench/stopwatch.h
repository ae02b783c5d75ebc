// Timing for the benchmark programs: wall-clock milliseconds of one run of a piece of work, and
// the best of several runs, which is the least disturbed by the rest of the machine.
#pragma once

#include <chrono>

namespace bench {

template <typename Work>
double Milliseconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  return took.count();
}

template <typename Work>
double BestMilliseconds(int rounds, Work&& work) {
  double best = Milliseconds(work);
  for (int round = 1; round < rounds; ++round) {
    const double took = Milliseconds(work);
    if (took < best) best = took;
  }
  return best;
}

}  // namespace bench
