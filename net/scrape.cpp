#include "net/scrape.h"

namespace zv {

Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 bool* found) {
    bool dummy;
    bool& ok = found ? *found : dummy;
    ok = false;
    const long l = Find(text, left, 1);
    if (l < 0) return Gbk("失败");
    const long start = l + static_cast<long>(left.size());
    const long r = Find(text, right, start);
    if (r < 0) return Gbk("未找到");
    ok = true;
    return Middle(text, start, r - start);
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
