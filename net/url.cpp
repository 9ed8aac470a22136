#include "net/url.h"

namespace zv {

namespace {

Text HostPart(std::string_view url) {
    if (EqualsIgnoreCase(Left(url, 7), "http://")) {
        const long slash = Find(url, "/", 8);
        return slash < 0 ? Middle(url, 8, static_cast<long>(url.size())) : Middle(url, 8, slash - 8);
    }
    const long slash = Find(url, "/", 1);
    return slash < 0 ? Text(url) : Left(url, slash - 1);
}

} // namespace

Text UrlHost(std::string_view url) {
    const Text part = HostPart(url);
    const long colon = Find(part, ":", 1);
    return LowerAscii(colon < 0 ? part : Left(part, colon - 1));
}

int UrlPort(std::string_view url) {
    const Text part = HostPart(url);
    const long colon = Find(part, ":", 1);
    if (colon < 0) return 80;
    const long long port = ToNumber(Middle(part, colon + 1, static_cast<long>(part.size())));
    return (port < 0 || port > 65535) ? 0 : static_cast<int>(port);
}

Text RequestUrl(std::string_view url) {
    const Text part = HostPart(url);
    const long colon = Find(part, ":", 1);
    // A bracketed address holds colons of its own.
    if (colon < 0 || part.front() == '[') return Text(url);
    const std::string_view port = std::string_view(part).substr(static_cast<size_t>(colon));
    bool digits = !port.empty() && port.size() <= 5;
    for (char c : port) digits = digits && c >= '0' && c <= '9';
    const int number = UrlPort(url);
    if (digits && number > 0) return Text(url);
    const long at = EqualsIgnoreCase(Left(url, 7), "http://") ? 8 : 1; // where the host part starts
    Text out = Left(url, at - 1) + Left(part, colon - 1);
    if (number > 0) out += ":" + FromNumber(number);
    return out + Middle(url, at + static_cast<long>(part.size()), static_cast<long>(url.size()));
}

Text UrlPath(std::string_view url) {
    // The host part ends at the first "/" after the scheme; the path is the rest from there.
    // (Searching the URL for the host name itself would stop inside "http" for a host like "t".)
    const long from = EqualsIgnoreCase(Left(url, 7), "http://") ? 8 : 1;
    const long slash = Find(url, "/", from);
    if (slash < 0) return "/";
    return Middle(url, slash, static_cast<long>(url.size()));
}

} // namespace zv
