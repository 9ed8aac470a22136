// The Text operations, the scraping helpers and the charset conversion on arbitrary bytes.
#include "net/charset.h"
#include "net/scrape.h"
#include "net/text.h"
#include "net/url.h"
#include "portal/account.h"

#include <cstdlib>
#include <string>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string all(reinterpret_cast<const char*>(data), size);
    // The input as a text and two markers: "text\x01left\x01right".
    const size_t a = all.find('\x01');
    const size_t b = a == std::string::npos ? a : all.find('\x01', a + 1);
    const Text text = all.substr(0, a);
    const Text left = a == std::string::npos ? "<td>" : all.substr(a + 1, b == std::string::npos ? b : b - a - 1);
    const Text right = b == std::string::npos ? "</td>" : all.substr(b + 1);

    const long at = Find(text, left, static_cast<long>(size % 7) - 2, size % 2);
    if (at != -1 && (at < 1 || static_cast<size_t>(at) > text.size() + 1)) std::abort();
    if (at > 0 && !left.empty() && !(size % 2) && text.compare(static_cast<size_t>(at - 1), left.size(), left) != 0)
        std::abort();
    // The pieces with the delimiter between them give the text back (less a final delimiter).
    const TextList pieces = Split(text, left);
    if (!left.empty() && !text.empty()) {
        Text joined;
        for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? left : Text()) + pieces[i];
        if (joined != text && joined + left != text) std::abort();
    }
    bool found = false;
    TextBetween(text, left, right, &found);
    // Over bytes the same markers are found at least where the GBK steps find them.
    const bool gbkFound = found;
    TextBetweenBytes(text, left, right, &found);
    if (gbkFound && !found) std::abort();
    // Decoding references never makes a text longer.
    if (DecodeCharacterReferences(text).size() > text.size()) std::abort();
    SplitFirstColumns(text, left, right);
    if (PercentEncodeAll(text).size() != text.size() * 3) std::abort();
    FormValue(text);
    Middle(text, static_cast<long>(size % 11) - 3, static_cast<long>(size % 13) - 2);
    Left(text, static_cast<long>(size % 5) - 1);
    Right(text, static_cast<long>(size % 5) - 1);
    ToNumber(text);
    UrlHost(text);
    UrlPort(text);
    UrlPath(text);
    const std::string gbk = Utf8ToGbk(text);
    if (!gbk.empty() && GbkToUtf8(gbk).empty()) std::abort(); // what converts converts back
    Utf8ToGb2312(text);
    ParseAccountOverview(BytesToText(gbk), text);
    CountForwardingNumbers(text);
    ReadForwardingIds(text);
    return 0;
}
