// Standard input of the WebAssembly engine: the host's reader, through the two
// imports of input_wasm.js.
#include "platform/raw_input.h"

extern "C" {
int read_input_bytes(char* buffer, int size);
int input_bytes_ready();
}

long read_standard_input(char* buffer, long size) { return read_input_bytes(buffer, int(size)); }

bool standard_input_ready() { return input_bytes_ready() != 0; }
