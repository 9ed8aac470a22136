// The local phone book: one profile section per contact, keys "phonenumber" and "QQ".
#pragma once

#include "text.h"

#include <vector>

namespace zv {

struct Contact {
    Text name, number, qq;
};

// Half-width spaces and the full-width space (A1 A1) at both ends.
Text TrimSpaces(const Text& text);

// All contacts in file order, number and QQ trimmed.
std::vector<Contact> ListContacts();
// Writes the contact; a contact under edit with another name is removed first.
void StoreContact(const Text& name, const Text& number, const Text& qq);
void RemoveContact(const Text& name);
// One contact per "name=number" line (CR LF line ends), all in one write of the file.
void ImportContactText(const Text& content);

// The content of an import file: its bytes up to the first 0x00 or 0x1A outside a
// double-byte character. Not a regular file, unreadable or over the limit: nothing.
Text ReadImportFile(const Text& path);
constexpr size_t kMaxImportFile = 64u << 20;
Text ImportContent(const Text& bytes);

} // namespace zv
