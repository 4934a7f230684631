#include <cstring>

#include "platform/input.h"
#include "platform/raw_input.h"

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
    pending_begin = 0;
    pending_end = int(read_standard_input(pending, sizeof(pending)));
    return pending_end > 0;
}

}  // namespace

bool input_available() { return pending_has_line() || standard_input_ready(); }

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
