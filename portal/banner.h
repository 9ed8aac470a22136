// The login window's banner: downloaded from the site into its file.
#pragma once

#include "net/text.h"

namespace zv {

// Fetches the banner and replaces the file with it. A download that yields nothing keeps the
// banner there is (or none); true when the file was replaced.
bool UpdateBanner(const Text& siteHost, const Text& path);

} // namespace zv
