// Timing and reporting shared by the Windows bench programs. Each program
// prints its results as lines that scripts/bench gathers into
// docs/performance.md:
//   ROW|figure|measured|reference|ratio|target|runs
//   NOTE|text
#pragma once

#include <string>
#include <vector>

namespace bench {

// Seconds since an arbitrary start, from the performance counter.
double now();
// CPU time (user + kernel) the calling thread has used, in seconds.
double threadCpuSeconds();

double median(std::vector<double> values);
// The median of measured[i] / reference[i]: each pair ran back to back, so a
// load from outside that slows one pair cancels out of its ratio.
double pairedRatio(const std::vector<double>& measured, const std::vector<double>& reference);

void printRow(const std::string& figure, const std::string& measured,
              const std::string& reference, const std::string& ratio, const std::string& target,
              int runs);
void printNote(const std::string& text);
// Progress for the person watching the run, on stderr.
void progress(const std::string& text);

// printf-style formatting into a std::string.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

constexpr double mebibyte = 1048576.0;
constexpr double gibibyte = 1073741824.0;

}  // namespace bench
