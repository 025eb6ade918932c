#include "tests/bench/bench_clock.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace bench {

double now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double threadCpuSeconds() {
    FILETIME creation, exit, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) return -1;
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;  // 100 ns units
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double pairedRatio(const std::vector<double>& measured, const std::vector<double>& reference) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < measured.size() && i < reference.size(); ++i)
        ratios.push_back(measured[i] / reference[i]);
    return median(ratios);
}

void printRow(const std::string& figure, const std::string& measured,
              const std::string& reference, const std::string& ratio, const std::string& target,
              int runs) {
    std::printf("ROW|%s|%s|%s|%s|%s|%d\n", figure.c_str(), measured.c_str(), reference.c_str(),
                ratio.c_str(), target.c_str(), runs);
    std::fflush(stdout);
}

void printNote(const std::string& text) {
    std::printf("NOTE|%s\n", text.c_str());
    std::fflush(stdout);
}

void progress(const std::string& text) {
    std::fprintf(stderr, "bench: %s\n", text.c_str());
    std::fflush(stderr);
}

std::string format(const char* pattern, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
    va_end(arguments);
    return buffer;
}

}  // namespace bench
