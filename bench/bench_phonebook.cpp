// The phone book with 10,000 contacts: listing and importing against one plain read-and-parse
// and one plain write of the same file.
#include "bench/bench_util.h"
#include "store/phonebook.h"
#include "store/profile.h"
#include "store/settings.h"

#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace zv;

namespace {

// The least a reader of the file must do: read it and split it into sections and keys.
size_t PlainReadAndParse(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string bytes = ss.str();
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::map<std::string, std::string>* current = nullptr;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') current = &sections[line.substr(1, line.find(']') - 1)];
        else if (current) {
            const auto eq = line.find('=');
            if (eq != std::string::npos) (*current)[line.substr(0, eq)] = line.substr(eq + 1);
        }
        pos = end + 1;
    }
    return sections.size();
}

// A plain write that still reaches the disk, as every write of the store must.
void PlainWrite(const std::string& path, const std::string& bytes) {
    const std::string tmp = path + ".plain";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
    rename(tmp.c_str(), path.c_str());
}

} // namespace

int main() {
    char tmpl[] = "/tmp/zvbenchXXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const PhoneBook book(dir + "/phonebook.dat");
    std::string importText;
    for (int i = 0; i < 10000; ++i)
        importText += Gbk("联系人") + std::to_string(i) + "=139" + std::to_string(10000000 + i) + "\r\n";

    const auto importing = zvbench::MedianPair(
        5,
        [&] {
            unlink(book.path().c_str());
            book.Import(importText);
        },
        [&] {
            std::ifstream in(book.path(), std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            PlainWrite(dir + "/copy.dat", ss.str());
        });
    // The plain side writes the file the import made; both have the same bytes to put down.
    zvbench::Report("import 10,000 lines vs one plain durable write", importing.first, importing.second, "s", 3, true);

    book.Import(importText);
    std::string bytes;
    {
        std::ifstream in(book.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        bytes = ss.str();
    }
    size_t listed = 0;
    std::vector<double> ours, plain;
    for (int run = 0; run < 5; ++run) {
        PlainWrite(book.path(), bytes); // a file the store has not seen yet
        ours.push_back(zvbench::Seconds([&] { listed = book.List().size(); }));
        plain.push_back(zvbench::Seconds([&] { PlainReadAndParse(book.path()); }));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(plain.begin(), plain.end());
    zvbench::Report("list 10,000 contacts vs one plain read-and-parse", ours[2], plain[2], "s", 3, true);
    std::printf("contacts listed: %zu\n", listed);
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
