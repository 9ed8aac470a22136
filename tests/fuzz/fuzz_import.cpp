// The phone book import on arbitrary import-file bytes.
#include "phonebook.h"
#include "settings.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/zvfuzzbookXXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    SetProgramDir(dir);
    Proc().phoneBookPath = dir + "/phonebook.dat";
    unlink(Proc().phoneBookPath.c_str());
    const Text content = ImportContent(std::string(reinterpret_cast<const char*>(data), size));
    ImportContactText(content);
    for (const Contact& c : ListContacts()) {
        if (c.name.find('\n') != Text::npos || c.number.find('\n') != Text::npos) std::abort();
        StoreContact(c.name, c.number, "1");
        RemoveContact(c.name);
    }
    return 0;
}
