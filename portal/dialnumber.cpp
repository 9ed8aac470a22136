#include "portal/dialnumber.h"

#include <cctype>

namespace zv {

namespace {

constexpr size_t kMaxNumberLength = 30;

bool StartsWithScheme(const Text& s, const char* scheme) {
    const Text prefix = scheme;
    return s.size() >= prefix.size() && EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Browsers hand links over percent-encoded ("%20" for a space).
Text PercentDecoded(const Text& s) {
    Text out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool AllDigits(const Text& s) {
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return !s.empty();
}

} // namespace

Text DialableNumber(const Text& linkOrNumber) {
    Text s = linkOrNumber;
    if (StartsWithScheme(s, "tel:")) s = s.substr(4);
    else if (StartsWithScheme(s, "callto:")) {
        s = s.substr(7);
        if (s.rfind("//", 0) == 0) s = s.substr(2);
    }
    s = PercentDecoded(s.substr(0, s.find(';')));
    if (s.size() > kMaxNumberLength) return {};
    Text kept;
    for (char c : s)
        if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')') kept += c;
    if (kept.empty() || kept[0] != '+') return AllDigits(kept) ? kept : Text();
    const Text digits = kept.substr(1);
    if (!AllDigits(digits)) return {};
    if (digits.rfind("86", 0) != 0) return "00" + digits;
    const Text national = digits.substr(2);
    if (national.empty()) return {};
    if (national.size() == 11 && national[0] == '1') return national;
    // "+86 (0)571 ..." already carries the trunk 0.
    return national[0] == '0' ? national : "0" + national;
}

DialRequest DialRequestOf(const TextList& arguments) {
    DialRequest r;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const Text& a = arguments[i];
        if (a == "--dial") {
            r.present = true;
            r.given = i + 1 < arguments.size() ? arguments[i + 1] : Text();
        } else if (StartsWithScheme(a, "tel:") || StartsWithScheme(a, "callto:")) {
            r.present = true;
            r.given = a;
        } else {
            continue;
        }
        r.number = DialableNumber(r.given);
        return r;
    }
    return r;
}

} // namespace zv
