#include "board/move.h"

#include "board/types.h"

const char* move_to_str(Move m) {
    static char text[6];
    if (m == NO_MOVE || m == NULL_MOVE) {
        text[0] = '0'; text[1] = '0'; text[2] = '0'; text[3] = '0'; text[4] = '\0';
        return text;
    }
    int from = move_from(m), to = move_to(m);
    text[0] = static_cast<char>('a' + file_of(from));
    text[1] = static_cast<char>('1' + rank_of(from));
    text[2] = static_cast<char>('a' + file_of(to));
    text[3] = static_cast<char>('1' + rank_of(to));
    text[4] = is_promotion(m) ? "nbrq"[move_kind(m) & 3] : '\0';
    text[5] = '\0';
    return text;
}
