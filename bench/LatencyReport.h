// Latency figures as the benchmarks print them: median, 99th percentile and
// worst of a set of samples in milliseconds, on a quiet machine and, beside
// them, with busy threads running (BusyLoad.h).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

inline double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// "median / 99th percentile / worst" of `samples`, or that there were none.
inline std::string LatencyFigures(std::vector<double> samples) {
  if (samples.empty()) return "no samples";
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  const double p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
  char text[80];
  std::snprintf(text, sizeof text, "%7.3f %7.3f %7.3f", median, p99, samples.back());
  return text;
}

// The heading of a table of figures; `load` busy threads made the second
// column (none: the quiet one only).
inline void ReportHeading(int load) {
  std::printf("%-34s %-24s", "(milliseconds)", " quiet: median p99 worst");
  if (load > 0) std::printf(" | %d busy threads: median p99 worst", load);
  std::printf("\n");
}

// One row: the quiet figures, and the loaded ones beside them when measured.
inline void Report(const char* what, const std::vector<double>& quiet, const std::vector<double>* loaded = nullptr) {
  std::printf("%-34s %-24s", what, LatencyFigures(quiet).c_str());
  if (loaded != nullptr) std::printf(" | %s", LatencyFigures(*loaded).c_str());
  std::printf("\n");
}
