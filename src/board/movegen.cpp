#include "board/movegen.h"

#include "board/makemove.h"

namespace {

constexpr Bitboard RANK_2_BB = rank_bb(1);
constexpr Bitboard RANK_4_BB = rank_bb(3);
constexpr Bitboard RANK_5_BB = rank_bb(4);
constexpr Bitboard RANK_7_BB = rank_bb(6);

inline Bitboard shift_forward(Bitboard b, int us, int amount) {
    return us == WHITE ? b << amount : b >> amount;
}

void push_promotions(const Position& pos, MoveSink& sink) {
    const int us = pos.side;
    const int forward = us == WHITE ? 8 : -8;
    Bitboard last_rank = us == WHITE ? RANK_8_BB : RANK_1_BB;
    Bitboard targets = shift_forward(pieces(pos, us, PAWN), us, 8) & ~pos.occupied & last_rank;
    while (targets) {
        int to = pop_lsb(targets);
        sink.add_promotions(to - forward, to, PROMO_KNIGHT);
    }
}

// Single and double pushes that neither capture nor promote.
void quiet_pawn_pushes(const Position& pos, MoveSink& sink) {
    const int us = pos.side;
    const Bitboard empty = ~pos.occupied;
    // Targets on relative ranks 3..7 only: a pawn misplaced on its first rank by a broken FEN does not push.
    const Bitboard middle = ~(RANK_1_BB | RANK_8_BB | (us == WHITE ? RANK_2_BB : RANK_7_BB));
    const int forward = us == WHITE ? 8 : -8;
    Bitboard single = shift_forward(pieces(pos, us, PAWN), us, 8) & empty;
    Bitboard b = single & middle;
    while (b) {
        int to = pop_lsb(b);
        sink.add(to - forward, to, QUIET);
    }
    Bitboard doubles = shift_forward(single & (us == WHITE ? rank_bb(2) : rank_bb(5)), us, 8) & empty &
                       (us == WHITE ? RANK_4_BB : RANK_5_BB);
    while (doubles) {
        int to = pop_lsb(doubles);
        sink.add(to - 2 * forward, to, DOUBLE_PUSH);
    }
}

// One piece type at compile time, so the attack lookup is chosen once rather than per piece.
template <int Type>
void piece_moves(const Position& pos, MoveSink& sink, Bitboard target) {
    const int us = pos.side;
    const Bitboard enemy = pos.color_bb[us ^ 1];
    Bitboard from_set = pieces(pos, us, Type);
    while (from_set) {
        int from = pop_lsb(from_set);
        Bitboard b = piece_attacks(Type, from, us, pos.occupied) & ~pos.color_bb[us] & target;
        while (b) {
            int to = pop_lsb(b);
            sink.add(from, to, (enemy & square_bb(to)) ? CAPTURE : QUIET);
        }
    }
}

// Knights, bishops, rooks, queens and the king, in that order.
void all_piece_moves(const Position& pos, MoveSink& sink, Bitboard target) {
    generate_piece_moves(pos, sink, KNIGHT, target);
    generate_piece_moves(pos, sink, BISHOP, target);
    generate_piece_moves(pos, sink, ROOK, target);
    generate_piece_moves(pos, sink, QUEEN, target);
    generate_piece_moves(pos, sink, KING, target);
}

}  // namespace

void generate_pawn_moves(const Position& pos, MoveSink& sink, bool captures_only) {
    const int us = pos.side, them = us ^ 1;
    const Bitboard pawns = pieces(pos, us, PAWN);
    const Bitboard enemy = pos.color_bb[them];
    const Bitboard last_rank = us == WHITE ? RANK_8_BB : RANK_1_BB;
    const Bitboard first_rank = us == WHITE ? RANK_1_BB : RANK_8_BB;
    // Ordinary pushes and captures land on relative ranks 3..7.
    const Bitboard middle = ~(last_rank | first_rank | (us == WHITE ? RANK_2_BB : RANK_7_BB));

    if (!captures_only) {
        push_promotions(pos, sink);
        quiet_pawn_pushes(pos, sink);
    }

    // Towards file a: White steps +7, Black -9; towards file h: White +9, Black -7.
    const int step_a = us == WHITE ? 7 : -9;
    const int step_h = us == WHITE ? 9 : -7;
    const Bitboard to_a = shift_forward(pawns & ~FILE_A_BB, us, us == WHITE ? 7 : 9) & enemy;
    const Bitboard to_h = shift_forward(pawns & ~FILE_H_BB, us, us == WHITE ? 9 : 7) & enemy;
    // Black's order mirrors White's by origin offset (+7 first), so its two
    // directions swap relative to the files.
    const Bitboard first_dir = us == WHITE ? to_a : to_h;
    const Bitboard second_dir = us == WHITE ? to_h : to_a;
    const int first_step = us == WHITE ? step_a : step_h;
    const int second_step = us == WHITE ? step_h : step_a;

    for (int pass = 0; pass < 2; ++pass) {
        Bitboard b = (pass == 0 ? first_dir : second_dir) & last_rank;
        int stepv = pass == 0 ? first_step : second_step;
        while (b) {
            int to = pop_lsb(b);
            sink.add_promotions(to - stepv, to, PROMO_CAPTURE_KNIGHT);
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        Bitboard b = (pass == 0 ? first_dir : second_dir) & middle;
        int stepv = pass == 0 ? first_step : second_step;
        while (b) {
            int to = pop_lsb(b);
            sink.add(to - stepv, to, CAPTURE);
        }
    }

    const int ep = pos.ep_square;
    // Only a real double-pushed pawn behind an empty square on the sixth rank
    // can be taken; a FEN may name any square at all.
    const int ep_rank = us == WHITE ? 5 : 2;
    if (ep != NO_SQUARE && rank_of(ep) == ep_rank && !(pos.occupied & square_bb(ep)) &&
        (pieces(pos, them, PAWN) & square_bb(en_passant_victim(us, ep)))) {
        Bitboard attackers = pawn_attacks[them][ep] & pawns;
        while (attackers) sink.add(pop_lsb(attackers), ep, EN_PASSANT);
    }
}

void generate_piece_moves(const Position& pos, MoveSink& sink, int type, Bitboard target) {
    switch (type) {
    case KNIGHT: piece_moves<KNIGHT>(pos, sink, target); break;
    case BISHOP: piece_moves<BISHOP>(pos, sink, target); break;
    case ROOK: piece_moves<ROOK>(pos, sink, target); break;
    case QUEEN: piece_moves<QUEEN>(pos, sink, target); break;
    case KING: piece_moves<KING>(pos, sink, target); break;
    default: break;
    }
}

void generate_castling_moves(const Position& pos, MoveSink& sink) {
    const int us = pos.side, them = us ^ 1;
    const Bitboard occ = pos.occupied;
    auto safe = [&](int a, int b, int c) {
        return !is_square_attacked(a, them, occ, pos) && !is_square_attacked(b, them, occ, pos) &&
               !is_square_attacked(c, them, occ, pos);
    };
    if (us == WHITE) {
        if ((pos.castling & WHITE_OO) && !(occ & (square_bb(F1) | square_bb(G1))) && safe(E1, F1, G1))
            sink.add(E1, G1, KING_CASTLE);
        if ((pos.castling & WHITE_OOO) && !(occ & (square_bb(B1) | square_bb(C1) | square_bb(D1))) &&
            safe(E1, D1, C1))
            sink.add(E1, C1, QUEEN_CASTLE);
    } else {
        if ((pos.castling & BLACK_OO) && !(occ & (square_bb(F8) | square_bb(G8))) && safe(E8, F8, G8))
            sink.add(E8, G8, KING_CASTLE);
        if ((pos.castling & BLACK_OOO) && !(occ & (square_bb(B8) | square_bb(C8) | square_bb(D8))) &&
            safe(E8, D8, C8))
            sink.add(E8, C8, QUEEN_CASTLE);
    }
}

Move* generate_moves(const Position& pos, Move* out) {
    MoveSink sink{out, out + MAX_MOVES};
    generate_pawn_moves(pos, sink, false);
    all_piece_moves(pos, sink, ~pos.color_bb[pos.side]);
    generate_castling_moves(pos, sink);
    return sink.cur;
}

Move* generate_captures(const Position& pos, Move* out) {
    MoveSink sink{out, out + MAX_MOVES};
    generate_pawn_moves(pos, sink, true);
    all_piece_moves(pos, sink, pos.color_bb[pos.side ^ 1]);
    push_promotions(pos, sink);
    return sink.cur;
}

Move* generate_quiets(const Position& pos, Move* out) {
    MoveSink sink{out, out + MAX_MOVES};
    quiet_pawn_pushes(pos, sink);
    all_piece_moves(pos, sink, ~pos.occupied);
    generate_castling_moves(pos, sink);
    return sink.cur;
}
