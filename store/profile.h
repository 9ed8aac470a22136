// Profile (INI) files with the Windows profile semantics, and the cache of their parses.
// Every write goes through ReplaceFile (store/files.h), so a file is never torn. A file that
// starts with the UTF-8 byte-order mark holds UTF-8: what is read from it is given as GBK,
// what is written into it is converted from GBK.
#pragma once

#include "net/text.h"
#include "store/files.h"

#include <tuple>
#include <vector>

namespace zv {

// The key's value (at most 10,239 bytes); empty for anything missing.
Text ReadProfileValue(const Text& path, const Text& section, const Text& key);

// Sets the key, creating the file, the section or the key as needed. False when the
// change could not be written (the file then holds what it held before): also for a file
// that is there but cannot be read, and for a read-only one. The value goes into the file
// without the blanks around it.
bool WriteProfileValue(const Text& path, const Text& section, const Text& key, const Text& value,
                       Access access = Access::AsBefore);

// Removes the section's header line and all of its lines.
bool DeleteProfileSection(const Text& path, const Text& section);

// The section names in file order (as many as fit the 204,800-byte list); a section with an
// empty name is not listed.
TextList ListProfileSections(const Text& path);

// For each section listed by ListProfileSections, in order, the values of the given keys as
// ReadProfileValue would give them, all from one reading of the file.
struct SectionValues {
    Text name;
    TextList values;
};
std::vector<SectionValues> ReadProfileSectionValues(const Text& path, const TextList& keys);

// Several writes in one replacement of the file: (section, key, value) each, in order.
using ProfileWrite = std::tuple<Text, Text, Text>;
bool WriteProfileValues(const Text& path, const std::vector<ProfileWrite>& writes, Access access = Access::AsBefore);

constexpr size_t kMaxProfileValue = 10239;
constexpr size_t kSectionListBuffer = 204800;

} // namespace zv
