#include <windows.h>

#include "platform/raw_input.h"

namespace {

// Null when the process has no standard input at all.
HANDLE standard_input() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    return in == INVALID_HANDLE_VALUE ? nullptr : in;
}

}  // namespace

long read_standard_input(char* buffer, long size) {
    HANDLE in = standard_input();
    DWORD read = 0;
    // A pipe whose writer has gone fails with ERROR_BROKEN_PIPE: end of input too.
    if (!in || !ReadFile(in, buffer, DWORD(size), &read, nullptr)) return 0;
    return long(read);
}

// A console counts its pending input events, which include keys of a line
// still being typed: the following read then waits for the rest of the line.
// A pipe tells how many bytes wait; a regular file cannot answer, so its next
// line is simply read.
bool standard_input_ready() {
    HANDLE in = standard_input();
    if (!in) return false;
    DWORD mode = 0, count = 0;
    if (GetConsoleMode(in, &mode)) return GetNumberOfConsoleInputEvents(in, &count) && count > 0;
    if (!PeekNamedPipe(in, nullptr, 0, nullptr, &count, nullptr)) return true;
    return count > 0;
}
