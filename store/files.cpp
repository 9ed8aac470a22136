#include "store/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

bool ReplaceFile(const Text& path, const Text& bytes) {
    const auto slash = path.rfind('/');
    const Text folder = slash == Text::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    Text tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    struct stat old;
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
