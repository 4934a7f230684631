#include "tablebase/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "tablebase/material_key.h"
#include "tablebase/table_files.h"

TbHashSlot tb_hash[TB_HASH_SIZE];
TbPieceEntry* tb_piece_entries = nullptr;
TbPawnEntry* tb_pawn_entries = nullptr;
int tb_piece_count = 0;
int tb_pawn_count = 0;

namespace {

bool loaded_before = false;

// Letters from strongest to weakest; the enumeration's loops run toward P.
constexpr char LETTERS[] = "QRBNP";

int kind_of_letter(char c) {
    switch (c) {
    case 'P': return TB_PAWN;
    case 'N': return TB_KNIGHT;
    case 'B': return TB_BISHOP;
    case 'R': return TB_ROOK;
    case 'Q': return TB_QUEEN;
    case 'K': return TB_KING;
    default: return 0;
    }
}

struct NameList {
    char names[TB_SIGNATURES][16];
    int count = 0;
    // Each '?' of the pattern becomes the letter of the next piece kind given.
    void add(const char* pattern, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
        if (count == TB_SIGNATURES) return;
        const int kinds[] = {a, b, c, d, e};
        char* name = names[count++];
        int next = 0;
        for (; *pattern; ++pattern) *name++ = *pattern == '?' ? LETTERS[kinds[next++]] : *pattern;
        *name = 0;
    }
};

NameList build_names() {
    NameList l;
    for (int a = 0; a < 5; a++) l.add("K?vK", a);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++) l.add("K?vK?", a, b);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++) l.add("K??vK", a, b);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = 0; c < 5; c++) l.add("K??vK?", a, b, c);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++) l.add("K???vK", a, b, c);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = a; c < 5; c++)
                for (int d = c == a ? b : c; d < 5; d++) l.add("K??vK??", a, b, c, d);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++)
                for (int d = 0; d < 5; d++) l.add("K???vK?", a, b, c, d);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++)
                for (int d = c; d < 5; d++) l.add("K????vK", a, b, c, d);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++)
                for (int d = c; d < 5; d++)
                    for (int e = d; e < 5; e++) l.add("K?????vK", a, b, c, d, e);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++)
                for (int d = c; d < 5; d++)
                    for (int e = 0; e < 5; e++) l.add("K????vK?", a, b, c, d, e);
    for (int a = 0; a < 5; a++)
        for (int b = a; b < 5; b++)
            for (int c = b; c < 5; c++)
                for (int d = 0; d < 5; d++)
                    for (int e = d; e < 5; e++) l.add("K???vK??", a, b, c, d, e);
    return l;
}

void insert_key(uint64_t key, TbEntry* entry) {
    int s = tb_home_slot(key);
    while (tb_hash[s].entry) s = (s + 1) & (TB_HASH_SIZE - 1);
    tb_hash[s] = TbHashSlot{key, entry, 0};
}

}  // namespace

const char (&tb_signature_names())[TB_SIGNATURES][16] {
    static const NameList list = build_names();
    return list.names;
}

TbHashSlot& tb_find_slot(uint64_t key) {
    int s = tb_home_slot(key);
    while (tb_hash[s].entry && tb_hash[s].key != key) s = (s + 1) & (TB_HASH_SIZE - 1);
    return tb_hash[s];
}

int tb_register(const char* name) {
    if (!tb_file_complete(name, TB_EXTENSION[TB_WDL])) return 0;

    int counts[2][7] = {};
    int color = 0, num = 0;
    for (const char* c = name; *c; c++) {
        if (*c == 'v') color = 1;
        else if (int kind = kind_of_letter(*c)) counts[color][kind]++, num++;
    }
    uint64_t key = tb_key_from_counts(counts, false);
    uint64_t swapped_key = tb_key_from_counts(counts, true);
    bool has_pawns = counts[0][TB_PAWN] + counts[1][TB_PAWN] > 0;
    // Only the enumeration's names arrive here in play, which fit exactly; a
    // stray call must neither overflow the arrays nor register a key twice.
    if (num > TB_MAX_PIECES || tb_find_slot(key).entry) return 0;

    TbEntry* entry;
    if (has_pawns) {
        if (tb_pawn_count >= TB_PAWN_ENTRIES) return 0;
        TbPawnEntry* e = &tb_pawn_entries[tb_pawn_count++];
        *e = TbPawnEntry{};
        entry = e;
    } else {
        if (tb_piece_count >= TB_PIECE_ENTRIES) return 0;
        TbPieceEntry* e = &tb_piece_entries[tb_piece_count++];
        *e = TbPieceEntry{};
        entry = e;
    }
    entry->key = key;
    entry->symmetric = key == swapped_key;
    entry->has_pawns = has_pawns;
    entry->num = uint8_t(num);
    entry->has_dtm = tb_file_complete(name, TB_EXTENSION[TB_DTM]);
    entry->has_dtz = tb_file_complete(name, TB_EXTENSION[TB_DTZ]);
    for (uint32_t& r : entry->ready) r = 0;

    if (!has_pawns) {
        int unique = 0;
        for (int c = 0; c < 2; c++)
            for (int kind = TB_PAWN; kind <= TB_KING; kind++) unique += counts[c][kind] == 1;
        entry->kk_enc = unique == 2;
    } else {
        int white = counts[0][TB_PAWN], black = counts[1][TB_PAWN];
        // The colour with fewer pawns leads, white when equal; a colour without pawns never leads.
        if (black > 0 && (white == 0 || white > black)) std::swap(white, black);
        entry->pawn_count[0] = uint8_t(white);
        entry->pawn_count[1] = uint8_t(black);
    }

    insert_key(key, entry);
    if (swapped_key != key) insert_key(swapped_key, entry);
    return num;
}

int tb_register_tables(const char* path) {
    if (loaded_before) {
        tb_paths.clear();
        for (int i = 0; i < tb_piece_count; i++) tb_release_entry(tb_piece_entries[i]);
        for (int i = 0; i < tb_pawn_count; i++) tb_release_entry(tb_pawn_entries[i]);
        tb_piece_count = 0;
        tb_pawn_count = 0;
    }
    if (!path || !*path || std::strcmp(path, "<empty>") == 0) return 0;

    for (const char* p = path; *p;) {
        const char* end = std::strchr(p, ';');
        if (!end) end = p + std::strlen(p);
        if (end > p) tb_paths.emplace_back(p, size_t(end - p));
        p = *end ? end + 1 : end;
    }

    if (!tb_piece_entries) {
        tb_piece_entries = new (std::nothrow) TbPieceEntry[TB_PIECE_ENTRIES]();
        tb_pawn_entries = new (std::nothrow) TbPawnEntry[TB_PAWN_ENTRIES]();
        if (!tb_piece_entries || !tb_pawn_entries) {
            std::fprintf(stderr, "Out of memory.\n");
            std::exit(1);
        }
    }
    loaded_before = true;

    for (TbHashSlot& slot : tb_hash) slot = TbHashSlot{};
    const auto& names = tb_signature_names();
    int largest = 0;
    for (int i = 0; i < TB_SIGNATURES; i++) largest = std::max(largest, tb_register(names[i]));
    return largest;
}
