// Table file layout and decompression: the parse run right after a file is
// mapped, the codebook of each compressed table, and reading one stored value.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tablebase/entry.h"

inline constexpr uint32_t TB_MAGIC[3] = {0x5d23e871, 0, 0xa50c66d7};

// Decompression record of one table: a pair-substitution code written with
// a canonical prefix code in blocks of 2^block_size bytes. One allocation
// holds the record, then `base`, then `sym_len`.
struct TbCodebook {
    const uint8_t* index_table;  // 6-byte entries: u32 block, u16 offset
    const uint8_t* size_table;   // u16 per block: values in the block minus one
    const uint8_t* data;         // first block, 64-byte aligned
    const uint8_t* offset;       // u16 first symbol per code length, from min_len
    uint8_t* sym_len;            // values a symbol expands to, minus one
    const uint8_t* sym_pat;      // 3 bytes per symbol
    uint64_t* base;              // left-aligned lowest code per length, from min_len
    const uint8_t* file_end;     // reads never pass it
    uint64_t size;               // values in the table
    uint32_t num_blocks;         // blocks holding data
    uint32_t size_entries;       // entries of the size table
    uint16_t num_syms;
    uint8_t block_size;
    uint8_t idx_bits;            // 0 marks a constant table
    uint8_t min_len;
    uint8_t max_len;
    uint8_t const_value[2];
};

// Fills the entry's encodings, codebooks and DTZ maps of one kind from its
// mapped file. False for a wrong magic number or a layout that does not fit
// the signature or the file.
bool tb_parse_table(TbEntry& entry, int kind, const uint8_t* file, size_t file_size);

// Reads the codebook header at `pos` (advancing past it) for a table of n
// values. sizes_out receives the index, size-table and data section sizes,
// flags_out the header's flags byte. Null when the header is malformed.
TbCodebook* tb_read_codebook(const uint8_t* file, size_t file_size, size_t& pos, uint64_t n, uint64_t sizes_out[3],
                             uint8_t& flags_out, int kind);

// Fills sym_len of the symbol after its two halves; state per symbol 0 new,
// 1 in progress, 2 done. False when symbols refer to themselves or beyond the table.
bool tb_symbol_length(TbCodebook& cb, int symbol, uint8_t* state);

// The stored 3-byte pattern of the value at index: WDL value is byte 0
// minus 2, DTZ value byte 0 plus (byte 1 & 15) * 256. Null when the index or
// the stream leaves the table.
const uint8_t* tb_decode_value(const TbCodebook& cb, uint64_t index);

// Frees the codebooks of one kind of the entry.
void tb_free_codebooks(TbEntry& entry, int kind);
