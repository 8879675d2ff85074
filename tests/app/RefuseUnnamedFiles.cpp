// Preloaded into the program: a file without a name (O_TMPFILE) is refused, as some file systems
// refuse it, so that the program writes a named temporary file instead. With TALLOW_TERM_ON_CREATE
// set, a SIGTERM arrives the moment that file is made.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

int OpenUnlessUnnamed(const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    using Open = int (*)(const char*, int, ...);
    const int fd = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"))(path, flags, mode);
    const char* name = std::strrchr(path, '/');
    if (fd >= 0 && name != nullptr && std::strncmp(name, "/.Tallow-", 9) == 0 &&
        std::getenv("TALLOW_TERM_ON_CREATE") != nullptr) {
        std::raise(SIGTERM);
    }
    return fd;
}

mode_t ModeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t)
                                                                      : 0;
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    return OpenUnlessUnnamed(path, flags, mode);
}

// The same entry under its large-file name.
extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));
