// Big files for the benchmarks, made and read through a 64 KiB buffer so
// that making them costs the bench program no memory of their size.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// A file of `bytes` bytes whose contents depend on `seed`; folders above it are made.
bool makeFile(const std::string& path, std::uint64_t bytes, unsigned seed);
// Reads the file through once, so that the copy that follows finds it cached.
bool warmFile(const std::string& path);
bool removeFile(const std::string& path);
std::uint64_t sizeOf(const std::string& path);  // 0 when missing

}  // namespace bench
