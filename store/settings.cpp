#include "store/settings.h"

#include "store/files.h"
#include "store/profile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

// Where an installation keeps its own files, relative to the executable's folder.
#ifndef ZORVANE_DATA_FROM_BIN
#define ZORVANE_DATA_FROM_BIN "../share/zorvane"
#endif
#ifndef ZORVANE_LIB_FROM_BIN
#define ZORVANE_LIB_FROM_BIN "../lib/zorvane"
#endif

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

Text SystemEnv(const char* name) {
    const char* v = std::getenv(name);
    return v ? Text(v) : Text();
}

namespace {

Text WithoutTrailingSlashes(Text dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// dir + "/" + relative, with "." and ".." taken away by name (the folders need not exist).
Text JoinPath(const Text& dir, const Text& relative) {
    // Paths are bytes (UTF-8 here), not GBK Text: cut at every "/" byte.
    std::vector<Text> parts;
    const Text whole = dir + "/" + relative;
    size_t from = 0;
    while (from <= whole.size()) {
        size_t to = whole.find('/', from);
        if (to == Text::npos) to = whole.size();
        const Text piece = whole.substr(from, to - from);
        from = to + 1;
        if (piece.empty() || piece == ".") continue;
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(piece);
    }
    Text out;
    for (const Text& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

Text HomeFolder(const EnvLookup& env) {
    Text home = env("HOME");
    if (!home.empty()) return WithoutTrailingSlashes(home);
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return WithoutTrailingSlashes(pw->pw_dir);
    return "/";
}

// An XDG base folder: the variable when it holds an absolute path, else the default under
// the home folder (a relative value is not valid and is ignored).
Text BaseFolder(const EnvLookup& env, const char* variable, const char* underHome) {
    const Text value = env(variable);
    if (!value.empty() && value[0] == '/') return WithoutTrailingSlashes(value);
    return HomeFolder(env) + "/" + underHome;
}

bool IsFile(const Text& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

Process PortableFiles(const Text& dir) {
    Process p;
    p.programDir = WithoutTrailingSlashes(dir);
    p.libraryDir = p.programDir;
    p.settingsPath = p.programDir + "/" + names::kSettingsFile;
    p.installedSettingsPath = p.settingsPath;
    p.phoneBookPath = p.programDir + "/" + names::kPhoneBookFile;
    p.skinsFolder = p.programDir + "/" + names::kSkinsFolder + "/";
    p.bannerPath = p.skinsFolder + names::kBannerFile;
    return p;
}

Process LocateFiles(const Text& exeDir, const EnvLookup& env) {
    const Text dir = WithoutTrailingSlashes(exeDir);
    if (::access(dir.c_str(), W_OK) == 0 && IsFile(dir + "/" + names::kSettingsFile)) return PortableFiles(dir);
    Process p;
    p.installed = true;
    p.programDir = dir;
    const Text data = JoinPath(dir, ZORVANE_DATA_FROM_BIN);
    p.libraryDir = JoinPath(dir, ZORVANE_LIB_FROM_BIN);
    p.installedSettingsPath = data + "/" + names::kSettingsFile;
    p.skinsFolder = data + "/" + names::kSkinsFolder + "/";
    const Text config = BaseFolder(env, "XDG_CONFIG_HOME", ".config") + "/" + names::kUserFolder;
    const Text cache = BaseFolder(env, "XDG_CACHE_HOME", ".cache") + "/" + names::kUserFolder;
    const Text skins = BaseFolder(env, "XDG_DATA_HOME", ".local/share") + "/" + names::kUserFolder + "/" +
                       names::kSkinsFolder;
    p.settingsPath = config + "/" + names::kSettingsFile;
    p.phoneBookPath = config + "/" + names::kPhoneBookFile;
    p.bannerPath = cache + "/" + names::kBannerFile;
    p.userSkinsFolder = skins + "/";
    p.userFolders[0] = config;
    p.userFolders[1] = cache;
    p.userFolders[2] = skins;
    return p;
}

void UseFiles(const Process& files) {
    Paths() = files;
    for (const Text& folder : files.userFolders) {
        if (folder.empty() || !EnsureFolder(folder, 0700)) continue;
        // The remembered sign-in lives here: a folder made by hand is closed to others too.
        struct stat st;
        if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
            (st.st_mode & 077) != 0)
            ::chmod(folder.c_str(), 0700);
    }
    if (!files.installed) return;
    for (const Text& file : {files.settingsPath, files.phoneBookPath}) {
        struct stat st;
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
            ::chmod(file.c_str(), 0600);
    }
}

void SetProgramDir(const Text& dir) { UseFiles(PortableFiles(dir)); }

Text SkinPath(const Text& name) {
    const Process& p = Proc();
    if (!p.userSkinsFolder.empty() && !name.empty() && IsFile(p.userSkinsFolder + name))
        return p.userSkinsFolder + name;
    return p.skinsFolder + name;
}

Text ReadSetting(SettingKey k) {
    const Process& p = Proc();
    if (k.source == SettingSource::kInstallation) return ReadProfileValue(p.installedSettingsPath, k.section, k.key);
    Text value = ReadProfileValue(p.settingsPath, k.section, k.key);
    if (value.empty() && k.source == SettingSource::kUserThenInstallation && p.installedSettingsPath != p.settingsPath)
        value = ReadProfileValue(p.installedSettingsPath, k.section, k.key);
    return value;
}

int ReadIntSetting(SettingKey k) {
    return static_cast<int>(std::clamp<long long>(ToNumber(ReadSetting(k)), INT_MIN, INT_MAX));
}

namespace {
bool SameKey(SettingKey a, SettingKey b) { return EqualsIgnoreCase(a.section, b.section) && EqualsIgnoreCase(a.key, b.key); }
} // namespace

void WriteSetting(SettingKey k, const Text& value) {
    // The installation's texts are never written, wherever the file is.
    if (k.source == SettingSource::kInstallation) return;
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
