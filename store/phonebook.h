// The local phone book: one profile section per contact, keys "phonenumber" and "QQ".
#pragma once

#include "net/text.h"

#include <vector>

namespace zv {

struct Contact {
    Text name, number, qq;
};

// Half-width spaces and the full-width space (A1 A1) at both ends.
Text TrimSpaces(const Text& text);

class PhoneBook {
public:
    explicit PhoneBook(Text path) : path_(std::move(path)) {}
    const Text& path() const { return path_; }

    // All contacts in file order, number and QQ trimmed.
    std::vector<Contact> List() const;
    // Writes the contact. underEdit names the contact being edited (empty when adding): when
    // it is another name than the one written, that contact is removed first.
    void Store(const Text& name, const Text& number, const Text& qq, const Text& underEdit = {}) const;
    void Remove(const Text& name) const;
    // One contact per "name=number" line (CR LF line ends), all in one write of the file.
    void Import(const Text& content) const;

private:
    Text path_;
};

// The content of an import file: its bytes up to the first 0x00 or 0x1A outside a
// double-byte character. Not a regular file, unreadable or over the limit: nothing.
Text ReadImportFile(const Text& path);
constexpr size_t kMaxImportFile = 64u << 20;
Text ImportContent(const Text& bytes);

} // namespace zv
