#include <cstring>

#include "board/makemove.h"
#include "board/position.h"
#include "board/zobrist.h"
#include "board/psq_table.h"

namespace {

constexpr const char* PIECE_LETTERS = "PNBRQKpnbrqk";
constexpr int CLOCK_LIMIT = 1000000;

void place_piece(Position& pos, int piece, int sq) {
    pos.piece_bb[piece] |= square_bb(sq);
    pos.color_bb[color_of(piece)] |= square_bb(sq);
    pos.occupied |= square_bb(sq);
    pos.board[sq] = piece;
    pos.hash ^= zobrist_piece[piece][sq];
    if (type_of(piece) == PAWN) pos.pawn_hash ^= zobrist_piece[piece][sq];
    pos.psq_score += psq_table[piece][sq];
}

// A right stands for king and rook on their home squares; rights without
// them would let castling conjure pieces, so they are dropped.
int supported_castling(const Position& pos, int rights) {
    auto has = [&](int piece, int sq) { return pos.board[sq] == piece; };
    if (!has(W_KING, E1)) rights &= ~(WHITE_OO | WHITE_OOO);
    if (!has(W_ROOK, H1)) rights &= ~WHITE_OO;
    if (!has(W_ROOK, A1)) rights &= ~WHITE_OOO;
    if (!has(B_KING, E8)) rights &= ~(BLACK_OO | BLACK_OOO);
    if (!has(B_ROOK, H8)) rights &= ~BLACK_OO;
    if (!has(B_ROOK, A8)) rights &= ~BLACK_OOO;
    return rights;
}

// Reads a clock field up to the next blank; non-digits are passed over and
// the value is capped so absurd input cannot overflow.
int read_clock(const char*& p) {
    int value = 0;
    for (; *p && *p != ' '; ++p) {
        if (*p >= '0' && *p <= '9') {
            value = 10 * value + (*p - '0');
            if (value > CLOCK_LIMIT) value = CLOCK_LIMIT;
        }
    }
    return value;
}

}  // namespace

bool parse_fen(Position& pos, const char* text) {
    static bool mask_ready = false;
    if (!mask_ready) {
        init_castling_mask();
        mask_ready = true;
    }
    std::memset(&pos, 0, sizeof(pos));
    for (int& sq : pos.board) sq = NO_PIECE;

    const char* p = text;
    int base = 56, file = 0;
    for (; *p && *p != ' '; ++p) {
        char c = *p;
        if (c == '/') {
            base -= 8;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else if (const char* letter = std::strchr(PIECE_LETTERS, c); letter) {
            // Squares beyond the rank's end or below rank 1 cannot be placed.
            if (base < 0 || file > 7) return false;
            place_piece(pos, int(letter - PIECE_LETTERS), base + file);
            file++;
        } else {
            return false;
        }
    }

    if (*p == ' ' && p[1] == 'b') {
        pos.side = BLACK;
        pos.hash ^= zobrist_side;
    }
    // Side letter and the blank after it.
    if (*p) ++p;
    if (*p) ++p;

    int rights = 0;
    if (*p) ++p;  // blank before the castling field
    // The reader steps over single characters between fields, so after the
    // side letter it lands on the blank; castling starts right after.
    for (; *p && *p != ' '; ++p) {
        if (*p == 'K') rights |= WHITE_OO;
        else if (*p == 'Q') rights |= WHITE_OOO;
        else if (*p == 'k') rights |= BLACK_OO;
        else if (*p == 'q') rights |= BLACK_OOO;
    }
    pos.castling = supported_castling(pos, rights);
    pos.hash ^= zobrist_castling[pos.castling];

    pos.ep_square = NO_SQUARE;
    if (*p) ++p;
    if (*p == '-') {
        ++p;
    } else if (*p) {
        char f = p[0], r = p[1];
        if (f >= 'a' && f <= 'h' && r >= '1' && r <= '8') {
            pos.ep_square = make_square(f - 'a', r - '1');
            pos.hash ^= zobrist_ep[f - 'a'];
        }
        p += r ? 2 : 1;
    }

    if (*p) ++p;
    pos.halfmove_clock = read_clock(p);

    pos.fullmove_number = 1;
    if (*p) ++p;
    if (*p) pos.fullmove_number = read_clock(p);
    return true;
}
