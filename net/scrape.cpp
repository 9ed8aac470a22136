#include "net/scrape.h"

#include "net/charset.h"

namespace zv {

namespace {
// find(text, sought, start from 1) gives a position from 1, or -1.
template <typename FindFrom>
Text Between(std::string_view text, std::string_view left, std::string_view right, bool* found, FindFrom find) {
    bool dummy;
    bool& ok = found ? *found : dummy;
    ok = false;
    const long l = find(text, left, 1);
    if (l < 0) return Gbk("失败");
    const long start = l + static_cast<long>(left.size());
    const long r = find(text, right, start);
    if (r < 0) return Gbk("未找到");
    ok = true;
    return Middle(text, start, r - start);
}
} // namespace

Text TextBetween(std::string_view text, std::string_view left, std::string_view right, bool* found) {
    return Between(text, left, right, found,
                   [](std::string_view t, std::string_view s, long start) { return Find(t, s, start); });
}

Text TextBetweenBytes(std::string_view bytes, std::string_view left, std::string_view right, bool* found) {
    return Between(bytes, left, right, found, [](std::string_view t, std::string_view s, long start) {
        const auto at = t.find(s, static_cast<size_t>(start - 1));
        return at == std::string_view::npos ? -1L : static_cast<long>(at) + 1;
    });
}

TextList SplitFirstColumns(std::string_view text, std::string_view rowMarker,
                           std::string_view columnMarker) {
    TextList out;
    TextList rows = Split(text, rowMarker);
    for (size_t i = 1; i < rows.size(); ++i) {
        TextList cols = Split(rows[i], columnMarker);
        if (!cols.empty()) out.push_back(std::move(cols[0]));
    }
    return out;
}

namespace {
// The character a reference's name stands for, as GBK; empty when it is none this decodes.
Text Referenced(std::string_view name) {
    if (name == "amp") return "&";
    if (name == "lt") return "<";
    if (name == "gt") return ">";
    if (name == "quot") return "\"";
    if (name == "apos") return "'";
    if (name.size() < 2 || name[0] != '#') return {};
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return {};
    unsigned long cp = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0) return {};
        cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(d);
    }
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    std::string utf8;
    if (cp < 0x80) {
        utf8 += static_cast<char>(cp);
    } else if (cp < 0x800) {
        utf8 += static_cast<char>(0xC0 | (cp >> 6));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (cp >> 12));
        utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (cp >> 18));
        utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return Utf8ToGbk(utf8);
}
} // namespace

Text DecodeCharacterReferences(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '&') {
            const size_t semi = text.find(';', i + 1);
            if (semi != std::string_view::npos && semi - i <= 12) {
                const Text ch = Referenced(text.substr(i + 1, semi - i - 1));
                if (!ch.empty()) {
                    out += ch;
                    i = semi + 1;
                    continue;
                }
            }
        }
        const size_t n = (IsLeadByte(c) && i + 1 < text.size()) ? 2 : 1;
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

Text PercentEncodeAll(std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    Text out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

Text FormValue(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '%': out += "%25"; break;
        case '&': out += "%26"; break;
        case '+': out += "%2B"; break;
        case '=': out += "%3D"; break;
        default: out += c;
        }
    }
    return out;
}

Text FormBody(const std::vector<std::pair<std::string_view, Text>>& fields) {
    Text out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        out += name;
        out += '=';
        out += value;
    }
    return out;
}

} // namespace zv
