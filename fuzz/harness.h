// Set-up shared by the fuzz targets: the engine's tables built once, no
// protocol log, and a private scratch folder for files the targets write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "board/move.h"
#include "board/position.h"

// Builds the start-up tables once, keeps the log closed and shrinks the hash table.
void fuzz_engine_init();
// A folder under the system's temporary area, unique to this process, made on first use.
const std::string& fuzz_scratch_dir();
// Writes the bytes to the file, replacing it; false when it cannot be written.
bool fuzz_write_file(const std::string& path, const uint8_t* data, size_t size);
// The repository's test data folder (the books, the tables, the EPD file).
const char* fuzz_data_dir();
// True when m is one of the position's legal moves.
bool among_legal_moves(const Position& pos, Move m);
// FEN of the signature's pieces (KRPvKR: white's before the 'v') on squares
// drawn from seed, no castling or en passant; pieces may attack each other.
std::string random_material_fen(const char* signature, uint64_t& seed, bool white_to_move);
