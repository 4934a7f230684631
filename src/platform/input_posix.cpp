#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/raw_input.h"

long read_standard_input(char* buffer, long size) {
    for (;;) {
        ssize_t n = read(STDIN_FILENO, buffer, size_t(size));
        if (n >= 0) return long(n);
        if (errno != EINTR) return 0;
    }
}

bool standard_input_ready() {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, 0) <= 0) return false;
    return (fd.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
}
