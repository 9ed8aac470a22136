#include "net/charset.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>

namespace zv {

namespace {

// Owns one iconv descriptor.
class IconvHolder {
public:
    IconvHolder(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHolder() {
        if (ok()) iconv_close(cd_);
    }
    IconvHolder(const IconvHolder&) = delete;
    IconvHolder& operator=(const IconvHolder&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

const char* SystemName(std::string_view set) {
    if (set == "char") return "GBK";
    if (set == "UTF-8") return "UTF-8";
    if (set == "GB2312") return "GB2312";
    return nullptr;
}

} // namespace

std::string ConvertCharset(std::string_view bytes, std::string_view from, std::string_view to) {
    if (bytes.empty()) return {};
    const char* f = SystemName(from);
    const char* t = SystemName(to);
    if (!f || !t) return {};
    // Opening a descriptor loads conversion tables; each pair is opened once per thread and
    // its shift state reset before every use.
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<IconvHolder>> open;
    auto& slot = open[{t, f}];
    if (!slot) slot = std::make_unique<IconvHolder>(t, f);
    IconvHolder& cd = *slot;
    if (!cd.ok()) return {};
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);

    std::string out(bytes.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    size_t used = 0;
    bool flushing = false;
    for (;;) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t r = flushing ? iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft)
                                  : iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        used = static_cast<size_t>(outPtr - out.data());
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return {}; // EILSEQ, EINVAL: invalid, incomplete or unmappable
        }
        // A lossy (irreversible) mapping stands for a character the target lacks.
        if (r != 0) return {};
        if (flushing) break;
        if (inLeft == 0) flushing = true;
    }
    out.resize(used);
    return out;
}

} // namespace zv
