#include "gui/base/qtext.h"

#include "net/charset.h"

namespace zv {

QString ToQ(const Text& gbk) {
    if (gbk.empty()) return {};
    const std::string utf8 = GbkToUtf8(gbk);
    if (!utf8.empty()) return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // Not valid GBK as a whole: convert character by character, "?" for what fails.
    QString out;
    for (size_t i = 0; i < gbk.size();) {
        const size_t n = (IsLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size()) ? 2 : 1;
        const std::string one = GbkToUtf8(gbk.substr(i, n));
        out += one.empty() ? QStringLiteral("?") : QString::fromUtf8(one.data(), static_cast<qsizetype>(one.size()));
        i += n;
    }
    return out;
}

Text FromQ(const QString& s) {
    if (s.isEmpty()) return {};
    const QByteArray utf8 = s.toUtf8();
    Text whole = Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    if (!whole.empty()) return whole;
    Text out;
    for (qsizetype i = 0; i < s.size();) {
        const qsizetype n = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
        const QByteArray one = s.mid(i, n).toUtf8();
        const Text g = Utf8ToGbk(std::string_view(one.constData(), static_cast<size_t>(one.size())));
        out += g.empty() ? Text("?") : g;
        i += n;
    }
    return out;
}

} // namespace zv
