// UnscramblePassword on values it did not produce, and the round trip of the scramble.
#include "store/settings.h"

#include <cstdlib>
#include <string>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const Text out = UnscramblePassword(input);
    if (out.size() > input.size() / 2 || out.find('\0') != Text::npos) std::abort();
    const Text password = BytesToText(input);
    if (UnscramblePassword(ScramblePassword(password)) != password) std::abort();
    return 0;
}
