// Bodies of the fuzz targets. Each runs one input through the engine and
// returns 0; the fuzzer entry and the replay tests call the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

// Lines of UCI commands, fed to the dispatcher with searches and perft kept small.
int fuzz_commands(const uint8_t* data, size_t size);
// One FEN; the position it sets up is put through moves, evaluation, exchanges and a short search.
int fuzz_position(const uint8_t* data, size_t size);
// A Polyglot book file, loaded and probed from a few positions.
int fuzz_book(const uint8_t* data, size_t size);
// A selector byte, then a table file of the selected signature and kind.
int fuzz_tables(const uint8_t* data, size_t size);
