// Whole-file reading and crash-safe replacement, for the profile files, the banner and the
// import.
#pragma once

#include "net/text.h"

#include <cstddef>

namespace zv {

// Who may read a replaced file: whoever could before (a new file: its owner only), or its
// owner only from now on (a file that holds a secret).
enum class Access { AsBefore, OwnerOnly };

// Replaces the file by one holding the bytes, so a reader finds the old file or the new one:
// the bytes go into an unnamed temporary file in the same folder (or a named one where the
// file system has no unnamed ones), flushed to disk and renamed over the old file. A symbolic
// link is written through to its target and stays a link. A file without any write
// permission bit is read-only: false, and it keeps every byte and its mode. Temporary files of
// the same file that a killed writer left behind are removed.
bool ReplaceFile(const Text& path, const Text& bytes, Access access = Access::AsBefore);

// The whole content of a regular file of at most limit bytes; false (and nothing) otherwise.
bool ReadRegularFile(const Text& path, Text& out, size_t limit = static_cast<size_t>(-1));

// Makes the folder and any missing parents; true when it is there afterwards.
bool EnsureFolder(const Text& path, unsigned mode = 0755);

} // namespace zv
