// Latency figures as the benchmarks print them: median, 99th percentile and
// worst of a set of samples in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

inline double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

inline void Report(const char* what, std::vector<double> samples) {
  if (samples.empty()) {
    std::printf("%-34s no samples\n", what);
    return;
  }
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  const double p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
  std::printf("%-34s median %7.3f ms   99th percentile %7.3f ms   worst %7.3f ms\n", what, median, p99, samples.back());
}
