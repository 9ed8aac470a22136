// Whole-file reading and crash-safe replacement, for the profile files, the banner and the
// import.
#pragma once

#include "net/text.h"

#include <cstddef>

namespace zv {

// Replaces the file by one holding the bytes: a temporary file in the same folder, flushed
// to disk and renamed over the old one, so a reader finds the old file or the new one. A
// file it creates is readable and writable by its owner only.
bool ReplaceFile(const Text& path, const Text& bytes);

// The whole content of a regular file of at most limit bytes; false (and nothing) otherwise.
bool ReadRegularFile(const Text& path, Text& out, size_t limit = static_cast<size_t>(-1));

// Makes the folder and any missing parents; true when it is there afterwards.
bool EnsureFolder(const Text& path, unsigned mode = 0755);

} // namespace zv
