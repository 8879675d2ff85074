#include "app/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

void KeepStatusApartFromStandardStreams() {
    std::signal(SIGPIPE, SIG_IGN);
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1) {
            const int null = open("/dev/null", O_RDWR);
            if (null > 2) {
                close(null);
            }
        }
    }
}
