// Whole-string character-set conversion, all or nothing.
#pragma once

#include <string>
#include <string_view>

namespace zv {

// Sets: "UTF-8", "GB2312" and "char" (the ANSI code page, GBK). Any invalid or incomplete
// sequence, or a character the target lacks, gives the empty string.
std::string ConvertCharset(std::string_view bytes, std::string_view from, std::string_view to);

inline std::string Utf8ToGb2312(std::string_view s) { return ConvertCharset(s, "UTF-8", "GB2312"); }
inline std::string Utf8ToGbk(std::string_view s) { return ConvertCharset(s, "UTF-8", "char"); }
inline std::string GbkToUtf8(std::string_view s) { return ConvertCharset(s, "char", "UTF-8"); }

} // namespace zv
