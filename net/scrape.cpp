#include "net/scrape.h"

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
