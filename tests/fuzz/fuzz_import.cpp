// The phone book import on arbitrary import-file bytes.
#include "store/phonebook.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/zvfuzzbookXXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    const PhoneBook book(dir + "/phonebook.dat");
    unlink(book.path().c_str());
    const Text content = ImportContent(std::string(reinterpret_cast<const char*>(data), size));
    book.Import(content);
    for (const Contact& c : book.List()) {
        if (c.name.find('\n') != Text::npos || c.number.find('\n') != Text::npos) std::abort();
        book.Store(c.name, c.number, "1");
        book.Remove(c.name);
    }
    return 0;
}
