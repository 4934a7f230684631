#include "tablebase/decompress.h"

#include <cstdlib>
#include <cstring>

#include "tablebase/indexing.h"
#include "tablebase/material_key.h"

namespace {

constexpr int MAX_SYMBOLS = 4096;  // what 12-bit symbol numbers can address
constexpr int MAX_CODE_LENGTH = 32;  // the decoder refills 32 bits at a time
constexpr int MAX_BLOCK_SIZE = 30;
constexpr int MAX_IDX_BITS = 32;

uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t read_u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

int left_of(const uint8_t* pat) { return pat[0] | (pat[1] & 15) << 8; }
int right_of(const uint8_t* pat) { return pat[1] >> 4 | pat[2] << 4; }
constexpr int LEAF = 0xfff;

TbCodebook* new_codebook(int h, int num_syms) {
    void* mem = std::calloc(1, sizeof(TbCodebook) + sizeof(uint64_t) * size_t(h) + size_t(num_syms));
    if (!mem) return nullptr;
    TbCodebook* cb = static_cast<TbCodebook*>(mem);
    cb->base = reinterpret_cast<uint64_t*>(cb + 1);
    cb->sym_len = reinterpret_cast<uint8_t*>(cb->base + h);
    return cb;
}

// Material key of the pieces a record lists, white being the first-named side.
uint64_t record_key(const TbEncoding& enc, int num) {
    int counts[2][7] = {};
    for (int i = 0; i < num; i++) counts[enc.pieces[i] >> 3][enc.pieces[i] & 7]++;
    return tb_key_from_counts(counts, false);
}

// Big-endian reader over one block that feeds zeros past the end of the file,
// so a damaged stream still ends (every symbol consumes at least one value).
struct BitSource {
    const uint8_t* p;
    size_t left;
    uint32_t next32() {
        if (left >= 4) {
            uint32_t v = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
            p += 4;
            left -= 4;
            return v;
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; i++) {
            v <<= 8;
            if (left) v |= *p++, left--;
        }
        return v;
    }
};

}  // namespace

bool tb_symbol_length(TbCodebook& cb, int symbol, uint8_t* state) {
    state[symbol] = 1;
    const uint8_t* pat = cb.sym_pat + 3 * size_t(symbol);
    int right = right_of(pat);
    if (right == LEAF) {
        cb.sym_len[symbol] = 0;
    } else {
        int left = left_of(pat);
        for (int half : {left, right}) {
            if (half >= cb.num_syms || state[half] == 1) return false;
            if (state[half] == 0 && !tb_symbol_length(cb, half, state)) return false;
        }
        cb.sym_len[symbol] = uint8_t(cb.sym_len[left] + cb.sym_len[right] + 1);
    }
    state[symbol] = 2;
    return true;
}

TbCodebook* tb_read_codebook(const uint8_t* file, size_t file_size, size_t& pos, uint64_t n, uint64_t sizes_out[3],
                             uint8_t& flags_out, int kind) {
    if (pos + 2 > file_size) return nullptr;
    const uint8_t* h = file + pos;
    flags_out = h[0];
    sizes_out[0] = sizes_out[1] = sizes_out[2] = 0;
    if (h[0] & 0x80) {
        TbCodebook* cb = new_codebook(0, 0);
        if (!cb) return nullptr;
        cb->const_value[0] = kind == TB_WDL ? h[1] : 0;
        cb->size = n;
        cb->file_end = file + file_size;
        pos += 2;
        return cb;
    }
    if (pos + 12 > file_size) return nullptr;
    int block_size = h[1], idx_bits = h[2], extra = h[3];
    uint32_t real_blocks = read_u32(h + 4);
    int max_len = h[8], min_len = h[9];
    if (min_len < 1 || max_len > MAX_CODE_LENGTH || min_len > max_len || idx_bits < 1 || idx_bits > MAX_IDX_BITS ||
        block_size > MAX_BLOCK_SIZE)
        return nullptr;
    int lengths = max_len - min_len + 1;
    if (pos + 12 + 2 * size_t(lengths) > file_size) return nullptr;
    int num_syms = read_u16(h + 10 + 2 * size_t(lengths));
    size_t header = 12 + 2 * size_t(lengths) + 3 * size_t(num_syms) + (num_syms & 1);
    if (num_syms < 1 || num_syms > MAX_SYMBOLS || pos + header > file_size) return nullptr;

    TbCodebook* cb = new_codebook(lengths, num_syms);
    if (!cb) return nullptr;
    cb->block_size = uint8_t(block_size);
    cb->idx_bits = uint8_t(idx_bits);
    cb->min_len = uint8_t(min_len);
    cb->max_len = uint8_t(max_len);
    cb->num_syms = uint16_t(num_syms);
    cb->num_blocks = real_blocks;
    cb->size_entries = real_blocks + uint32_t(extra);
    cb->size = n;
    cb->offset = h + 10;
    cb->sym_pat = h + 12 + 2 * size_t(lengths);
    cb->file_end = file + file_size;
    pos += header;

    sizes_out[0] = 6 * ((n - 1 + (uint64_t(1) << idx_bits)) >> idx_bits);
    sizes_out[1] = 2 * (uint64_t(real_blocks) + uint64_t(extra));
    sizes_out[2] = uint64_t(real_blocks) << block_size;

    uint8_t state[MAX_SYMBOLS] = {};
    for (int s = 0; s < num_syms; s++)
        if (state[s] == 0 && !tb_symbol_length(*cb, s, state)) {
            std::free(cb);
            return nullptr;
        }

    // Canonical code: base[l] is the lowest code of length l, left-aligned
    // so that a 64-bit window compares against it directly.
    cb->base[lengths - 1] = 0;
    for (int i = lengths - 2; i >= 0; i--)
        cb->base[i] = (cb->base[i + 1] + read_u16(cb->offset + 2 * size_t(i)) - read_u16(cb->offset + 2 * size_t(i + 1))) / 2;
    for (int i = 0; i < lengths; i++) cb->base[i] <<= 64 - (min_len + i);
    return cb;
}

const uint8_t* tb_decode_value(const TbCodebook& cb, uint64_t index) {
    if (cb.idx_bits == 0) return cb.const_value;
    if (index >= cb.size) return nullptr;

    uint64_t main = index >> cb.idx_bits;
    int64_t lit = int64_t(index & ((uint64_t(1) << cb.idx_bits) - 1)) - (int64_t(1) << (cb.idx_bits - 1));
    const uint8_t* entry = cb.index_table + 6 * main;
    uint32_t block = read_u32(entry);
    lit += read_u16(entry + 4);
    if (block >= cb.size_entries) return nullptr;
    // The entry describes the value in the middle of its span; walk to the block holding lit.
    while (lit < 0) {
        if (block == 0) return nullptr;
        block--;
        lit += read_u16(cb.size_table + 2 * size_t(block)) + 1;
    }
    while (lit > read_u16(cb.size_table + 2 * size_t(block))) {
        lit -= read_u16(cb.size_table + 2 * size_t(block)) + 1;
        if (++block >= cb.size_entries) return nullptr;
    }
    if (block >= cb.num_blocks) return nullptr;

    const uint8_t* start = cb.data + (uint64_t(block) << cb.block_size);
    BitSource src{start, size_t(cb.file_end - start)};
    uint64_t code = uint64_t(src.next32()) << 32;
    code |= src.next32();
    int empty = 0, sym;
    for (;;) {
        int i = 0;
        while (code < cb.base[i]) i++;
        int len = cb.min_len + i;
        uint64_t s = read_u16(cb.offset + 2 * size_t(i)) + ((code - cb.base[i]) >> (64 - len));
        if (s >= cb.num_syms) return nullptr;
        sym = int(s);
        if (lit < cb.sym_len[sym] + 1) break;
        lit -= cb.sym_len[sym] + 1;
        code <<= len;
        empty += len;
        if (empty >= 32) {
            empty -= 32;
            code |= uint64_t(src.next32()) << empty;
        }
    }
    while (cb.sym_len[sym] != 0) {
        const uint8_t* pat = cb.sym_pat + 3 * size_t(sym);
        int left = left_of(pat);
        if (lit < cb.sym_len[left] + 1) {
            sym = left;
        } else {
            lit -= cb.sym_len[left] + 1;
            sym = right_of(pat);
        }
    }
    return cb.sym_pat + 3 * size_t(sym);
}

bool tb_parse_table(TbEntry& entry, int kind, const uint8_t* file, size_t file_size) {
    if (file_size < 5 || read_u32(file) != TB_MAGIC[kind]) return false;
    const bool split = kind == TB_WDL && (file[4] & 1);
    const int sides = split ? 2 : 1;
    const int groups = entry.has_pawns ? 4 : 1;
    const int more = entry.has_pawns && entry.pawn_count[1] > 0 ? 1 : 0;
    const size_t record_length = size_t(entry.num) + 1 + more;

    size_t pos = 5;
    uint64_t table_size[4][2];
    for (int t = 0; t < groups; t++) {
        if (pos + record_length > file_size) return false;
        for (int side = 0; side < sides; side++) {
            TbEncoding& enc = tb_encoding(entry, kind, side, t);
            table_size[t][side] = tb_read_encoding(enc, entry, file + pos, 4 * side, t);
            if (table_size[t][side] == 0 || record_key(enc, entry.num) != entry.key) return false;
        }
        pos += record_length;
    }
    pos += pos & 1;

    uint64_t sections[4][2][3];
    for (int t = 0; t < groups; t++) {
        for (int side = 0; side < sides; side++) {
            uint8_t flags;
            TbCodebook* cb = tb_read_codebook(file, file_size, pos, table_size[t][side], sections[t][side], flags, kind);
            if (!cb) return false;
            tb_encoding(entry, kind, side, t).codebook = cb;
            if (kind == TB_DTZ) tb_dtz_flags(entry, t) = flags;
        }
        if (!split && kind == TB_WDL) tb_encoding(entry, kind, 1, t).codebook = nullptr;
    }

    if (kind == TB_DTZ) {
        const size_t map_start = pos;
        tb_dtz_map(entry) = file + pos;
        for (int t = 0; t < groups; t++) {
            uint8_t flags = tb_dtz_flags(entry, t);
            if (!(flags & 2)) continue;
            uint16_t* map_index = tb_dtz_map_index(entry, t);
            if (flags & 16) {
                pos += pos & 1;
                for (int m = 0; m < 4; m++) {
                    if (pos + 2 > file_size) return false;
                    size_t first = (pos + 2 - map_start) / 2;
                    if (first > 0xffff) return false;
                    map_index[m] = uint16_t(first);
                    pos += 2 + 2 * size_t(read_u16(file + pos));
                }
            } else {
                for (int m = 0; m < 4; m++) {
                    if (pos + 1 > file_size) return false;
                    size_t first = pos + 1 - map_start;
                    if (first > 0xffff) return false;
                    map_index[m] = uint16_t(first);
                    pos += 1 + size_t(file[pos]);
                }
            }
        }
        pos += pos & 1;
    }

    // Index tables, then size tables, then data, each in table order.
    for (int section = 0; section < 3; section++)
        for (int t = 0; t < groups; t++)
            for (int side = 0; side < sides; side++) {
                TbCodebook* cb = tb_encoding(entry, kind, side, t).codebook;
                if (section == 2) pos = (pos + 63) & ~size_t(63);
                uint64_t length = sections[t][side][section];
                if (length == 0) continue;  // constant table
                if (pos > file_size || length > file_size - pos) return false;
                const uint8_t* at = file + pos;
                if (section == 0) cb->index_table = at;
                else if (section == 1) cb->size_table = at;
                else cb->data = at;
                pos += length;
            }
    return true;
}

void tb_free_codebooks(TbEntry& entry, int kind) {
    if (kind == TB_DTM) return;
    const int groups = entry.has_pawns ? 4 : 1;
    for (int t = 0; t < groups; t++)
        for (int side = 0; side < (kind == TB_WDL ? 2 : 1); side++) {
            TbEncoding& enc = tb_encoding(entry, kind, side, t);
            std::free(enc.codebook);
            enc.codebook = nullptr;
        }
}
