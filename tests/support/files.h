// Reading a whole file in tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace zvtest {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace zvtest
