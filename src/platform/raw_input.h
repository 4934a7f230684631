// The two system-specific halves of the line reader in input.cpp: a plain
// read of standard input and a readiness query that does not read.
#pragma once

// Reads up to `size` bytes, waiting for at least one; 0 at end of input or
// on error.
long read_standard_input(char* buffer, long size);

// True when a read would not wait: bytes are pending, the input has ended,
// or the source cannot tell (a regular file).
bool standard_input_ready();
