// The profile-file reader and writer on arbitrary file bytes.
#include "store/profile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace zv;

namespace {
const std::string& Path() {
    static const std::string path = [] {
        char tmpl[] = "/tmp/zvfuzzXXXXXX";
        return std::string(mkdtemp(tmpl)) + "/p.ini";
    }();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FILE* f = std::fopen(Path().c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    const TextList sections = ListProfileSections(Path());
    for (const Text& s : sections) ReadProfileValue(Path(), s, "k");
    // Take the first line of the input as a name and a value to write.
    const size_t cut = bytes.find('\n');
    const Text name = bytes.substr(0, std::min<size_t>(cut, 40));
    const Text value = cut == std::string::npos ? Text() : bytes.substr(cut + 1, 60);
    const Text section = sections.empty() ? Text("s") : sections.front();
    if (WriteProfileValue(Path(), section, "fuzzkey", value)) {
        // What was written reads back, but for the blanks a value cannot keep at its ends.
        Text expected = value;
        for (char& c : expected)
            if (c == '\r' || c == '\n') c = ' ';
        auto blank = [](char c) { return c == ' ' || (c >= 9 && c <= 13); };
        while (!expected.empty() && blank(expected.front())) expected.erase(0, 1);
        while (!expected.empty() && blank(expected.back())) expected.pop_back();
        if (expected.size() > kMaxProfileValue) expected.resize(kMaxProfileValue);
        Text trimmedSection = section;
        while (!trimmedSection.empty() && static_cast<unsigned char>(trimmedSection.front()) <= 0x20)
            trimmedSection.erase(0, 1);
        if (!trimmedSection.empty() && ReadProfileValue(Path(), section, "fuzzkey") != expected &&
            expected.find('"') == Text::npos && expected.find('\'') == Text::npos)
            std::abort();
    }
    WriteProfileValue(Path(), name, name, value);
    DeleteProfileSection(Path(), name);
    ListProfileSections(Path());
    return 0;
}
