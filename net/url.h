// The parts of a URL that a request connects to and asks for.
#pragma once

#include "net/text.h"

namespace zv {

Text UrlHost(std::string_view url); // lower case, without the port
int UrlPort(std::string_view url);  // 80 without a port; 0 for an empty or non-numeric one
Text UrlPath(std::string_view url); // from the first "/" after the host, query included; else "/"

// The URL a request is sent to: a port that is not a number (empty, letters, out of range)
// gives way to the port UrlPort reads from it, or to the default port when that is 0.
Text RequestUrl(std::string_view url);

} // namespace zv
