#include "storage/ProcessLock.h"

#include <gtest/gtest.h>

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#include <dlfcn.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/ScratchFolder.h"

namespace {

// While set, no lock can be taken, as when the system runs out of them. The sanitizers put their
// own flock in the way.
bool g_refuseLocks = false;

}  // namespace

extern "C" int flock(int descriptor, int operation) noexcept {
    using Lock = int (*)(int, int);
    static const auto real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "flock"));
    if (g_refuseLocks) {
        errno = ENOLCK;
        return -1;
    }
    return real(descriptor, operation);
}

namespace {

// A lock that could not be taken is not held, whatever descriptor its file got: a second automatic
// run must never take it for its own.
TEST(ProcessLock, ALockThatCannotBeTakenIsNotHeld) {
    // As for a program started with standard input closed: the lock's file gets descriptor 0.
    close(STDIN_FILENO);
    ScratchFolder folder;
    g_refuseLocks = true;
    const ProcessLock refused(folder / "lock");
    g_refuseLocks = false;
    EXPECT_FALSE(refused.Held());
    const ProcessLock taken(folder / "lock");
    EXPECT_TRUE(taken.Held());
}

}  // namespace
#endif
