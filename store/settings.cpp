#include "store/settings.h"

#include "store/profile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <random>

namespace zv {

const char* const kDefaultPortalHost = "portal.zorvane.com";
const char* const kDefaultSiteHost = "www.zorvane.com";

namespace {
Process& Paths() {
    static Process p;
    return p;
}
} // namespace

const Process& Proc() { return Paths(); }

void SetProgramDir(const Text& dir) {
    Process& p = Paths();
    p.programDir = dir;
    while (p.programDir.size() > 1 && p.programDir.back() == '/') p.programDir.pop_back();
    p.libraryDir = p.programDir;
    p.settingsPath = p.programDir + "/" + names::kSettingsFile;
    p.phoneBookPath = p.programDir + "/" + names::kPhoneBookFile;
    p.skinsFolder = p.programDir + "/" + names::kSkinsFolder + "/";
    p.bannerPath = p.skinsFolder + names::kBannerFile;
}

Text ReadSetting(SettingKey k) { return ReadProfileValue(Proc().settingsPath, k.section, k.key); }

int ReadIntSetting(SettingKey k) {
    return static_cast<int>(std::clamp<long long>(ToNumber(ReadSetting(k)), INT_MIN, INT_MAX));
}

namespace {
bool SameKey(SettingKey a, SettingKey b) { return EqualsIgnoreCase(a.section, b.section) && EqualsIgnoreCase(a.key, b.key); }
} // namespace

void WriteSetting(SettingKey k, const Text& value) {
    // Once the file holds a remembered password, only its owner may read it.
    const bool secret = SameKey(k, keys::kPassword) ? !value.empty() : !ReadSetting(keys::kPassword).empty();
    WriteProfileValue(Proc().settingsPath, k.section, k.key, value, secret ? Access::OwnerOnly : Access::AsBefore);
}

namespace {
Text HostSetting(SettingKey key, const char* fallback) {
    Text host = ReadSetting(key);
    // Only a plain host[:port] is taken; anything else falls back to the built-in host.
    for (char c : host)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']'))
            return fallback;
    return host.empty() ? Text(fallback) : host;
}

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";

int AlphabetIndex(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= '0' && c <= '9') return 26 + (c - '0');
    if (c >= 'a' && c <= 'z') return 36 + (c - 'a');
    return -1;
}
} // namespace

Text PortalHost() { return HostSetting(keys::kPortalHost, kDefaultPortalHost); }
Text SiteHost() { return HostSetting(keys::kSiteHost, kDefaultSiteHost); }

Text ScramblePasswordWithKeys(const Text& password, const std::function<int()>& nextKey) {
    Text out;
    for (unsigned char b : password) {
        const int k = nextKey();
        const int v = b ^ k;
        out += kAlphabet[v % 62];
        out += kAlphabet[(v / 62) * 8 + k];
    }
    return out;
}

Text ScramblePassword(const Text& password) {
    static std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<int> key(0, 5);
    return ScramblePasswordWithKeys(password, [&] { return key(rng); });
}

Text UnscramblePassword(const Text& scrambled) {
    Text out;
    for (size_t i = 0; i + 1 < scrambled.size(); i += 2) {
        // A character outside the alphabet counts as index 0.
        const int i1 = std::max(0, AlphabetIndex(scrambled[i]));
        const int i2 = std::max(0, AlphabetIndex(scrambled[i + 1]));
        const int d = i2 / 8;
        const int k = i2 - 8 * d;
        out += static_cast<char>(((d * 62 + i1) ^ k) & 0xFF);
    }
    return BytesToText(out);
}

} // namespace zv
