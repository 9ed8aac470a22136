// Text: a byte string in GBK. Positions count bytes from 1; a failed search is -1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

using Text = std::string;
using Bytes = std::string;
using TextList = std::vector<Text>;

// A GBK lead byte: the byte that takes the next one with it.
inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Position (from 1) of the first occurrence at or after start, or -1. Matches begin only
// at character starts; ignoreCase folds the ASCII letters of single-byte characters only.
long Find(std::string_view text, std::string_view sought, long start = 1, bool ignoreCase = false);

Text Left(std::string_view text, long count);
Text Right(std::string_view text, long count);
Text Middle(std::string_view text, long start, long count);

// Pieces between delimiters (matched at character starts). An empty piece between two
// delimiters counts; what follows the last delimiter counts only when it is not empty.
TextList Split(std::string_view text, std::string_view delimiter);

// Split into views, with a caller's idea of a lead byte (the import file takes every byte
// from 0x80 as the first of two).
std::vector<std::string_view> SplitViewsWithLead(std::string_view text, std::string_view delimiter,
                                                 unsigned char leadFrom);

// The bytes up to the first zero byte.
Text BytesToText(std::string_view bytes);

// Leading decimal integer (blanks and a sign allowed before it), else 0.
long long ToNumber(std::string_view text);
Text FromNumber(long long n);

// ASCII-only lower case of the single-byte characters.
Text LowerAscii(std::string_view text);

// True when the two texts are equal ignoring the case of single-byte ASCII letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A UTF-8 source literal as GBK Text (empty when it holds something GBK lacks).
Text Gbk(std::string_view utf8);

} // namespace zv
