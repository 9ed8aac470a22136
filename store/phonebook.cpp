#include "store/phonebook.h"

#include "store/files.h"
#include "store/profile.h"

namespace zv {

namespace {
const char kNumberKey[] = "phonenumber";
const char kQqKey[] = "QQ";
// Import files take every byte from 0x80 as the first of two.
const unsigned char kImportLead = 0x80;

// True when the line cut at "=" by the split rule gives exactly two pieces: one "=" with
// something after it, or two with nothing after the second.
bool TwoPieces(std::string_view line, std::string_view& first, std::string_view& second) {
    size_t at[3];
    int found = 0;
    for (size_t i = 0; i < line.size() && found < 3;) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == '=') {
            at[found++] = i++;
            continue;
        }
        i += (c >= kImportLead && i + 1 < line.size()) ? 2 : 1;
    }
    if (found == 1 && at[0] + 1 < line.size()) {
        first = line.substr(0, at[0]);
        second = line.substr(at[0] + 1);
        return true;
    }
    if (found == 2 && at[1] + 1 == line.size()) {
        first = line.substr(0, at[0]);
        second = line.substr(at[0] + 1, at[1] - at[0] - 1);
        return true;
    }
    return false;
}
} // namespace

Text TrimSpaces(const Text& text) {
    size_t b = 0, e = text.size();
    for (;;) {
        if (b < e && text[b] == ' ') ++b;
        else if (e - b >= 2 && text[b] == '\xA1' && text[b + 1] == '\xA1') b += 2;
        else break;
    }
    for (;;) {
        if (e > b && text[e - 1] == ' ') --e;
        else if (e - b >= 2 && text[e - 2] == '\xA1' && text[e - 1] == '\xA1') e -= 2;
        else break;
    }
    return text.substr(b, e - b);
}

std::vector<Contact> PhoneBook::List() const {
    std::vector<Contact> out;
    for (SectionValues& s : ReadProfileSectionValues(path_, {kNumberKey, kQqKey}))
        out.push_back({std::move(s.name), TrimSpaces(s.values[0]), TrimSpaces(s.values[1])});
    return out;
}

void PhoneBook::Store(const Text& name, const Text& number, const Text& qq, const Text& underEdit) const {
    if (!underEdit.empty() && underEdit != TrimSpaces(name)) DeleteProfileSection(path_, underEdit);
    WriteProfileValues(path_, {{name, kNumberKey, number}, {name, kQqKey, qq}});
}

void PhoneBook::Remove(const Text& name) const { DeleteProfileSection(path_, name); }

void PhoneBook::Import(const Text& content) const {
    std::vector<ProfileWrite> writes;
    std::string_view name, number;
    for (std::string_view line : SplitViewsWithLead(content, "\r\n", kImportLead))
        if (TwoPieces(line, name, number)) writes.emplace_back(Text(name), kNumberKey, Text(number));
    if (!writes.empty()) WriteProfileValues(path_, writes);
}

Text ImportContent(const Text& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0x00 || c == 0x1A) return bytes.substr(0, i);
        if (c >= kImportLead) ++i;
    }
    return bytes;
}

Text ReadImportFile(const Text& path) {
    Text bytes;
    if (path.empty() || !ReadRegularFile(path, bytes, kMaxImportFile)) return {};
    return ImportContent(bytes);
}

} // namespace zv
