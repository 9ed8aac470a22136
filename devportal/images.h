#pragma once

#include <string>

namespace zvdev {

// A JPEG of the digits, 51 by 22 pixels.
std::string CaptchaJpeg(const std::string& digits, unsigned seed);

// The site's banner: a PNG of 333 by 65 pixels.
std::string BannerPng();

} // namespace zvdev
