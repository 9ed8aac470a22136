#include "portal/banner.h"

#include "net/webrequest.h"
#include "portal/endpoints.h"
#include "store/files.h"

namespace zv {

bool LooksLikeImage(const Bytes& b) {
    const std::string_view v(b);
    return v.substr(0, 8) == "\x89PNG\r\n\x1A\n" || v.substr(0, 3) == "\xFF\xD8\xFF" || v.substr(0, 6) == "GIF87a" ||
           v.substr(0, 6) == "GIF89a";
}

bool UpdateBanner(const Text& siteHost, const Text& path) {
    const WebReply reply = WebRequest(HttpAddress(siteHost, paths::kBanner));
    if (!reply.completed() || !LooksLikeImage(reply.body)) return false;
    const auto slash = path.rfind('/');
    if (slash != Text::npos && slash > 0) EnsureFolder(path.substr(0, slash));
    return ReplaceFile(path, reply.body);
}

} // namespace zv
