// Picking values out of pages, and writing form values.
#pragma once

#include "net/text.h"

#include <utility>
#include <vector>

namespace zv {

// The text after the first left marker up to the next right marker. Without the left
// marker: "失败"; without the right one: "未找到"; found is cleared in both cases.
Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 bool* found = nullptr);
// The same over UTF-8 bytes (a reply before its conversion), searched byte by byte: the GBK
// character steps would take a UTF-8 byte for the first of two and step over a marker.
Text TextBetweenBytes(std::string_view bytes, std::string_view left, std::string_view right,
                      bool* found = nullptr);

// For each row marker in page order, the text after it up to the first column marker.
TextList SplitFirstColumns(std::string_view text, std::string_view rowMarker,
                           std::string_view columnMarker);

// The character references of a page's text turned back into characters: the ones a JSP's
// escaping writes (&amp; &lt; &gt; &quot; &apos; &#034; &#039;) and every numeric one
// (&#NNN; &#xHH;) that stands for a character GBK holds; anything else stays as it is.
Text DecodeCharacterReferences(std::string_view gbk);

// Every byte as "%" and two upper-case hexadecimal digits.
Text PercentEncodeAll(std::string_view text);

// A form value as typed, except the four bytes the form encoding gives a meaning.
Text FormValue(std::string_view text);

// "name=value&name=value" from already encoded values, in order.
Text FormBody(const std::vector<std::pair<std::string_view, Text>>& fields);

} // namespace zv
