// The parts of a URL that a request connects to and asks for.
#pragma once

#include "net/text.h"

namespace zv {

Text UrlHost(std::string_view url); // lower case, without the port
int UrlPort(std::string_view url);  // 80 without a port; 0 for an empty or non-numeric one
Text UrlPath(std::string_view url); // from the first "/" after the host, query included; else "/"

} // namespace zv
