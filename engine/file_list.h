// A list of file names: n + 1 pointers to zero-filled 128-byte name buffers,
// the last one empty. Consumers walk it by index up to the first empty name.
#pragma once
#include <cstddef>

using FileList = char**;

constexpr std::size_t fileNameCapacity = 128;  // at most 127 bytes and the NUL
// Stands in for a name too long for its buffer: '|' can be no file's name, so
// every open, probe and deletion of it fails, while the indexes of the other
// names stay where the engine expects them.
extern const char refusedFileName[];

// Frees oldList (none allowed) and copies the null-ended table into a new list.
// When memory runs out the result is a valid list of one empty name.
FileList copyFileList(FileList oldList, const char* const* table);
void releaseFileList(FileList list);

// The name at index, or the empty text past the end of a list (or of none).
const char* fileListEntry(FileList list, int index);
