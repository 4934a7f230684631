#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/input.h"

namespace {

char pending[65536];
int pending_begin = 0;
int pending_end = 0;

bool pending_has_line() {
    return std::memchr(pending + pending_begin, '\n', size_t(pending_end - pending_begin)) != nullptr;
}

// Refills the emptied buffer from standard input; false at end of input or
// on error. End of input is not remembered: a pipe or file keeps answering it.
bool fill_pending() {
    pending_begin = pending_end = 0;
    for (;;) {
        ssize_t n = read(STDIN_FILENO, pending, sizeof(pending));
        if (n > 0) {
            pending_end = int(n);
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

}  // namespace

bool input_available() {
    if (pending_has_line()) return true;
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, 0) <= 0) return false;
    return (fd.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool read_input_line(char* buffer, int size) {
    if (size < 2) return false;
    int written = 0;
    for (;;) {
        while (pending_begin < pending_end && written < size - 1) {
            char c = pending[pending_begin++];
            buffer[written++] = c;
            if (c == '\n') {
                buffer[written] = '\0';
                return true;
            }
        }
        if (written == size - 1) break;
        if (!fill_pending()) break;
    }
    buffer[written] = '\0';
    return written > 0;
}
