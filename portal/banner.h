// The login window's banner: downloaded from the site into its file.
#pragma once

#include "net/text.h"

namespace zv {

// Fetches the banner and replaces the file with it. A download that is not a whole image (an
// error page of the site, a cut file, nothing) keeps the banner there is (or none); true when
// the file was replaced.
bool UpdateBanner(const Text& siteHost, const Text& path);

// True when the bytes start as a PNG, JPEG or GIF image does.
bool LooksLikeImage(const Bytes& bytes);

} // namespace zv
