#include "store/files.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zv {

namespace {

bool WriteAll(int fd, const Text& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

Text FolderOf(const Text& path) {
    const auto slash = path.rfind('/');
    return slash == Text::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

Text NameOf(const Text& path) {
    const auto slash = path.rfind('/');
    return slash == Text::npos ? path : path.substr(slash + 1);
}

// The file the path names, through symbolic links; empty for a loop.
Text ThroughLinks(Text path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof target) return {};
        Text next(target, static_cast<size_t>(n));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    return {};
}

// The six characters after "<name>." of a temporary file: letters and digits, as mkstemp
// makes them, with a capital and a small letter or digit among them, so a name a person
// gives a copy ("config.ini.backup", "config.ini.BACKUP") is never taken for one.
bool IsTemporarySuffix(std::string_view s) {
    if (s.size() != 6) return false;
    bool upper = false, other = false;
    for (char c : s) {
        if (c >= 'A' && c <= 'Z') upper = true;
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) other = true;
        else return false;
    }
    return upper && other;
}

Text TemporaryName(const Text& path) {
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 rng(std::random_device{}());
    for (;;) {
        Text suffix(6, 'A');
        for (char& c : suffix) c = chars[rng() % 62];
        // A child of fork() draws what its parent draws; the process id keeps them apart.
        suffix[0] = chars[(static_cast<unsigned>(::getpid()) + rng()) % 26];
        if (IsTemporarySuffix(suffix)) return path + "." + suffix;
    }
}

// Every writer holds a lock on its temporary file until the file is renamed into place, so a
// temporary file that can be locked belongs to a writer that was killed.
void RemoveStrayTemporaries(const Text& path) {
    const Text folder = FolderOf(path), prefix = NameOf(path) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix ||
            !IsTemporarySuffix(name.substr(prefix.size())))
            continue;
        const Text stray = folder + "/" + Text(name);
        const int fd = ::open(stray.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(stray.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// A temporary file being written: unnamed until it is linked under a temporary name.
struct Temporary {
    int fd = -1;
    Text name; // empty while unnamed
    ~Temporary() {
        if (fd >= 0) ::close(fd);
        if (!name.empty()) ::unlink(name.c_str());
    }
};

bool OpenUnnamed(Temporary& t, const Text& folder) {
    t.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    return t.fd >= 0;
}

bool OpenNamed(Temporary& t, const Text& path) {
    for (int tries = 0; tries < 100; ++tries) {
        const Text name = TemporaryName(path);
        t.fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (t.fd >= 0) {
            t.name = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Gives the complete unnamed file a temporary name (a link cannot replace a name, so the
// rename does that).
bool LinkUnnamed(Temporary& t, const Text& path) {
    const Text viaProc = "/proc/self/fd/" + std::to_string(t.fd);
    for (int tries = 0; tries < 100; ++tries) {
        const Text name = TemporaryName(path);
        if (::linkat(t.fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0 ||
            (errno != EEXIST && ::linkat(AT_FDCWD, viaProc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)) {
            t.name = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Writes the bytes into a temporary file of the path and renames it over the path.
bool WriteAndRename(const Text& path, const Text& bytes, mode_t mode, bool unnamed) {
    Temporary t;
    if (!(unnamed ? OpenUnnamed(t, FolderOf(path)) : OpenNamed(t, path))) return false;
    if (::flock(t.fd, LOCK_EX) != 0) return false;
    if (::fchmod(t.fd, mode) != 0 || !WriteAll(t.fd, bytes) || ::fsync(t.fd) != 0) return false;
    if (unnamed && !LinkUnnamed(t, path)) return false;
    if (::rename(t.name.c_str(), path.c_str()) != 0) return false;
    t.name.clear();
    return ::close(std::exchange(t.fd, -1)) == 0;
}

} // namespace

bool ReplaceFile(const Text& rawPath, const Text& bytes, Access access) {
    const Text path = ThroughLinks(rawPath);
    if (path.empty()) return false;
    mode_t mode = 0600;
    struct stat old;
    if (::stat(path.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0) return false;
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }
    if (access == Access::OwnerOnly) mode = (mode & 0700) | 0600;
    RemoveStrayTemporaries(path);
    // Unnamed files need the file system's support; without it a named one is used, and a
    // writer killed meanwhile leaves it for the next write to remove.
    if (!WriteAndRename(path, bytes, mode, true) && !WriteAndRename(path, bytes, mode, false)) return false;
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool ReadRegularFile(const Text& path, Text& out, size_t limit) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= limit;
    char buf[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        out.append(buf, static_cast<size_t>(n));
        ok = out.size() <= limit; // it may grow while being read
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

bool EnsureFolder(const Text& path, unsigned mode) {
    Text p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p.empty()) return false;
    struct stat st;
    if (::stat(p.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const auto slash = p.rfind('/');
    if (slash != Text::npos && slash > 0 && !EnsureFolder(p.substr(0, slash), mode)) return false;
    return ::mkdir(p.c_str(), static_cast<mode_t>(mode)) == 0 || errno == EEXIST;
}

} // namespace zv
