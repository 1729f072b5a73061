// A preloaded library that stops a process at a chosen file-system call, the
// way a kill or a power cut stops the program, for the crash-point tests
// (support/CrashPoints.h). It never ships: the program has no hook for it.
//
// Every call that changes what is stored below CARTAVERA_CRASH_DIR counts:
// opening with O_CREAT or O_TRUNC, writing, truncating, renaming, removing,
// making a folder, syncing. With CARTAVERA_CRASH_AT=k the process ends with
// status 86 just before call k (1-based); with CARTAVERA_CRASH_TORN=n as well,
// when call k is a write, its first n bytes reach the file first. With
// CARTAVERA_CRASH_LOG=file each counted call is listed there as
// "<k> <call> <bytes> <path>".
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

const char *g_dir = nullptr;
size_t g_dirLength = 0;
long g_at = 0;
long g_torn = -1;
int g_log = -1;
long g_count = 0;
thread_local bool t_inside = false;

template <class F> F real(const char *name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void setUp() {
    g_dir = getenv("CARTAVERA_CRASH_DIR");
    if (!g_dir || !*g_dir) {
        g_dir = nullptr;
        return;
    }
    g_dirLength = strlen(g_dir);
    if (const char *at = getenv("CARTAVERA_CRASH_AT"))
        g_at = strtol(at, nullptr, 10);
    if (const char *torn = getenv("CARTAVERA_CRASH_TORN"))
        g_torn = strtol(torn, nullptr, 10);
    if (const char *log = getenv("CARTAVERA_CRASH_LOG"))
        g_log = real<int (*)(const char *, int, ...)>("open")(
            log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

bool below(const std::string &path) {
    return path.size() >= g_dirLength && path.compare(0, g_dirLength, g_dir) == 0 &&
           (path.size() == g_dirLength || path[g_dirLength] == '/');
}

std::string fdPath(int fd) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}

std::string pathAt(int dirfd, const char *path) {
    if (!path)
        return {};
    if (path[0] == '/')
        return path;
    std::string base;
    if (dirfd == AT_FDCWD) {
        char cwd[PATH_MAX];
        base = getcwd(cwd, sizeof cwd) ? cwd : "";
    } else {
        base = fdPath(dirfd);
    }
    return base + '/' + path;
}

// Counts a call on `path`; ends the process when it is the chosen one. A
// write of `bytes` at the chosen call first writes its torn prefix through
// `tear`.
template <class Tear> void point(const char *call, const std::string &path, long bytes, Tear tear) {
    if (!g_dir || t_inside || !below(path))
        return;
    t_inside = true;
    ++g_count;
    if (g_log >= 0) {
        char line[PATH_MAX + 64];
        const int n =
            snprintf(line, sizeof line, "%ld %s %ld %s\n", g_count, call, bytes, path.c_str());
        if (n > 0)
            (void)!real<ssize_t (*)(int, const void *, size_t)>("write")(g_log, line, size_t(n));
    }
    if (g_count == g_at) {
        if (g_torn > 0 && bytes > 0)
            tear(g_torn < bytes ? g_torn : bytes);
        _exit(86);
    }
    t_inside = false;
}

void point(const char *call, const std::string &path) {
    point(call, path, -1, [](long) {});
}

} // namespace

extern "C" {

#define OPEN_MODE                                                                                  \
    mode_t mode = 0;                                                                               \
    if (flags & (O_CREAT | __O_TMPFILE)) {                                                         \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        mode = mode_t(va_arg(args, int));                                                          \
        va_end(args);                                                                              \
    }

int open(const char *path, int flags, ...) {
    OPEN_MODE
    if (flags & (O_CREAT | O_TRUNC))
        point("open", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *, int, ...)>("open")(path, flags, mode);
}

int open64(const char *path, int flags, ...) {
    OPEN_MODE
    if (flags & (O_CREAT | O_TRUNC))
        point("open", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *, int, ...)>("open64")(path, flags, mode);
}

int openat(int dirfd, const char *path, int flags, ...) {
    OPEN_MODE
    if (flags & (O_CREAT | O_TRUNC))
        point("open", pathAt(dirfd, path));
    return real<int (*)(int, const char *, int, ...)>("openat")(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char *path, int flags, ...) {
    OPEN_MODE
    if (flags & (O_CREAT | O_TRUNC))
        point("open", pathAt(dirfd, path));
    return real<int (*)(int, const char *, int, ...)>("openat64")(dirfd, path, flags, mode);
}

ssize_t write(int fd, const void *data, size_t count) {
    static auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    if (fd > 2)
        point("write", fdPath(fd), long(count), [&](long n) { next(fd, data, size_t(n)); });
    return next(fd, data, count);
}

ssize_t pwrite64(int fd, const void *data, size_t count, off_t offset) {
    static auto next = real<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite64");
    point("pwrite", fdPath(fd), long(count), [&](long n) { next(fd, data, size_t(n), offset); });
    return next(fd, data, count, offset);
}

ssize_t pwrite(int fd, const void *data, size_t count, off_t offset) {
    return pwrite64(fd, data, count, offset);
}

ssize_t writev(int fd, const struct iovec *iov, int iovcnt) {
    static auto next = real<ssize_t (*)(int, const struct iovec *, int)>("writev");
    long total = 0;
    for (int i = 0; i < iovcnt; ++i)
        total += long(iov[i].iov_len);
    if (fd > 2)
        point("writev", fdPath(fd), total, [&](long n) {
            for (int i = 0; i < iovcnt && n > 0; ++i) {
                const long part = long(iov[i].iov_len) < n ? long(iov[i].iov_len) : n;
                static auto plain = real<ssize_t (*)(int, const void *, size_t)>("write");
                plain(fd, iov[i].iov_base, size_t(part));
                n -= part;
            }
        });
    return next(fd, iov, iovcnt);
}

int ftruncate64(int fd, off_t length) {
    point("ftruncate", fdPath(fd));
    return real<int (*)(int, off_t)>("ftruncate64")(fd, length);
}

int ftruncate(int fd, off_t length) {
    return ftruncate64(fd, length);
}

int truncate(const char *path, off_t length) {
    point("truncate", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *, off_t)>("truncate")(path, length);
}

int fsync(int fd) {
    point("fsync", fdPath(fd));
    return real<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
    point("fdatasync", fdPath(fd));
    return real<int (*)(int)>("fdatasync")(fd);
}

int rename(const char *from, const char *to) {
    const std::string a = pathAt(AT_FDCWD, from), b = pathAt(AT_FDCWD, to);
    point("rename", below(a) ? a : b);
    return real<int (*)(const char *, const char *)>("rename")(from, to);
}

int renameat(int fromfd, const char *from, int tofd, const char *to) {
    const std::string a = pathAt(fromfd, from), b = pathAt(tofd, to);
    point("rename", below(a) ? a : b);
    return real<int (*)(int, const char *, int, const char *)>("renameat")(fromfd, from, tofd, to);
}

int renameat2(int fromfd, const char *from, int tofd, const char *to, unsigned flags) {
    const std::string a = pathAt(fromfd, from), b = pathAt(tofd, to);
    point("rename", below(a) ? a : b);
    return real<int (*)(int, const char *, int, const char *, unsigned)>("renameat2")(
        fromfd, from, tofd, to, flags);
}

int unlink(const char *path) {
    point("unlink", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *)>("unlink")(path);
}

int unlinkat(int dirfd, const char *path, int flags) {
    point("unlink", pathAt(dirfd, path));
    return real<int (*)(int, const char *, int)>("unlinkat")(dirfd, path, flags);
}

int rmdir(const char *path) {
    point("rmdir", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *)>("rmdir")(path);
}

int mkdir(const char *path, mode_t mode) {
    point("mkdir", pathAt(AT_FDCWD, path));
    return real<int (*)(const char *, mode_t)>("mkdir")(path, mode);
}

int mkdirat(int dirfd, const char *path, mode_t mode) {
    point("mkdir", pathAt(dirfd, path));
    return real<int (*)(int, const char *, mode_t)>("mkdirat")(dirfd, path, mode);
}

int link(const char *from, const char *to) {
    point("link", pathAt(AT_FDCWD, to));
    return real<int (*)(const char *, const char *)>("link")(from, to);
}

int linkat(int fromfd, const char *from, int tofd, const char *to, int flags) {
    point("link", pathAt(tofd, to));
    return real<int (*)(int, const char *, int, const char *, int)>("linkat")(fromfd, from, tofd,
                                                                            to, flags);
}

} // extern "C"
