#include "net/text.h"

#include "net/charset.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace zv {

namespace {

inline unsigned char FoldByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Compares sought with text at pos, character by character, folding single-byte letters.
bool MatchAt(std::string_view text, size_t pos, std::string_view sought, bool ignoreCase) {
    if (text.size() - pos < sought.size()) return false;
    if (!ignoreCase) return text.compare(pos, sought.size(), sought) == 0;
    size_t i = 0;
    while (i < sought.size()) {
        auto a = static_cast<unsigned char>(text[pos + i]);
        auto b = static_cast<unsigned char>(sought[i]);
        if (IsLeadByte(b) && i + 1 < sought.size()) {
            if (a != b || text[pos + i + 1] != sought[i + 1]) return false;
            i += 2;
            continue;
        }
        if (FoldByte(a) != FoldByte(b)) return false;
        ++i;
    }
    return true;
}

template <typename Piece, typename Lead>
std::vector<Piece> SplitImpl(std::string_view text, std::string_view delim, Lead isLead) {
    std::vector<Piece> out;
    if (text.empty()) return out;
    if (delim.empty()) {
        out.emplace_back(text);
        return out;
    }
    size_t pieceStart = 0, i = 0;
    const char first = delim[0];
    while (i < text.size()) {
        if (text[i] == first && text.size() - i >= delim.size() &&
            (delim.size() == 1 || text.compare(i, delim.size(), delim) == 0)) {
            out.emplace_back(text.substr(pieceStart, i - pieceStart));
            i += delim.size();
            pieceStart = i;
            continue;
        }
        i += (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    if (pieceStart < text.size()) out.emplace_back(text.substr(pieceStart));
    return out;
}

} // namespace

long Find(std::string_view text, std::string_view sought, long start, bool ignoreCase) {
    if (start < 1) start = 1;
    if (sought.empty()) return text.empty() ? -1 : 1;
    const size_t from = static_cast<size_t>(start - 1);
    if (from >= text.size() || sought.size() > text.size()) return -1;
    const auto first = static_cast<unsigned char>(sought[0]);
    const bool foldFirst = ignoreCase && ((first | 32) >= 'a' && (first | 32) <= 'z');
    size_t i = 0;
    const size_t last = text.size() - sought.size();
    while (i <= last) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (i >= from && (c == first || (foldFirst && FoldByte(c) == FoldByte(first))) &&
            MatchAt(text, i, sought, ignoreCase))
            return static_cast<long>(i) + 1;
        i += (IsLeadByte(c) && i + 1 < text.size()) ? 2 : 1;
    }
    return -1;
}

Text Middle(std::string_view text, long start, long count) {
    if (count <= 0) return {};
    long long begin = start;          // 1-based, inclusive
    long long end = begin + count;    // exclusive
    begin = std::max<long long>(begin, 1);
    end = std::min<long long>(end, static_cast<long long>(text.size()) + 1);
    if (begin >= end) return {};
    return Text(text.substr(static_cast<size_t>(begin - 1), static_cast<size_t>(end - begin)));
}

Text Left(std::string_view text, long count) { return Middle(text, 1, count); }

Text Right(std::string_view text, long count) {
    if (count <= 0) return {};
    const size_t n = std::min<size_t>(static_cast<size_t>(count), text.size());
    return Text(text.substr(text.size() - n));
}

TextList Split(std::string_view text, std::string_view delimiter) {
    return SplitImpl<Text>(text, delimiter, [](unsigned char b) { return IsLeadByte(b); });
}

std::vector<std::string_view> SplitViewsWithLead(std::string_view text, std::string_view delimiter,
                                                 unsigned char leadFrom) {
    return SplitImpl<std::string_view>(text, delimiter, [leadFrom](unsigned char b) { return b >= leadFrom; });
}

Text BytesToText(std::string_view bytes) {
    const auto zero = bytes.find('\0');
    return Text(zero == std::string_view::npos ? bytes : bytes.substr(0, zero));
}

long long ToNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int d = text[i] - '0';
        if (value > (LLONG_MAX - d) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

Text FromNumber(long long n) { return std::to_string(n); }

Text LowerAscii(std::string_view text) {
    Text out(text);
    for (size_t i = 0; i < out.size();) {
        auto c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c) && i + 1 < out.size()) {
            i += 2;
            continue;
        }
        out[i] = static_cast<char>(FoldByte(c));
        ++i;
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || MatchAt(a, 0, b, true));
}

Text Gbk(std::string_view utf8) { return ConvertCharset(utf8, "UTF-8", "char"); }

} // namespace zv
