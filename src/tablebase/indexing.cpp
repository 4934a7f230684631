#include "tablebase/indexing.h"

#include <algorithm>

namespace {

constexpr int PAWN_CODE = 1;

// Sum over the sorted squares p[k..k+m-1] of C(square - smaller earlier squares - base, rank in group + 1).
uint64_t group_index(const int* p, int k, int m, int base) {
    uint64_t s = 0;
    for (int i = k; i < k + m; i++) {
        int skips = 0;
        for (int j = 0; j < k; j++) skips += p[j] < p[i];
        int n = p[i] - skips - base;
        if (n < 0) return TB_NO_INDEX;
        s += tb_binomial[i - k + 1][n];
    }
    return s;
}

}  // namespace

uint64_t tb_read_encoding(TbEncoding& enc, const TbEntry& entry, const uint8_t* record, int shift, int t) {
    const int num = entry.num;
    const int more = entry.has_pawns && entry.pawn_count[1] > 0 ? 1 : 0;
    for (int i = 0; i < TB_MAX_PIECES; i++) {
        enc.pieces[i] = i < num ? uint8_t((record[1 + more + i] >> shift) & 15) : 0;
        enc.norm[i] = 0;
        enc.factor[i] = 0;
    }
    for (int i = 0; i < num; i++) {
        int kind = enc.pieces[i] & 7;
        if (kind < 1 || kind > 6) return 0;
    }
    const int order = (record[0] >> shift) & 15;
    const int order2 = more ? (record[1] >> shift) & 15 : 15;

    int k;
    if (entry.has_pawns) {
        k = enc.norm[0] = entry.pawn_count[0];
        // The index formulas need the leading colour's pawns first, then the other colour's.
        for (int i = 0; i < k; i++)
            if (enc.pieces[i] != enc.pieces[0] || (enc.pieces[i] & 7) != PAWN_CODE) return 0;
        if (more) {
            enc.norm[k] = entry.pawn_count[1];
            for (int i = k; i < k + entry.pawn_count[1]; i++)
                if ((enc.pieces[i] & 7) != PAWN_CODE || enc.pieces[i] == enc.pieces[0]) return 0;
            k += entry.pawn_count[1];
        }
    } else {
        k = enc.norm[0] = entry.kk_enc ? 2 : 3;
    }
    if (k > num) return 0;
    for (int i = k; i < num; i += enc.norm[i]) {
        int j = i;
        while (j < num && enc.pieces[j] == enc.pieces[i]) j++;
        enc.norm[i] = uint8_t(j - i);
    }

    uint64_t n = 64 - k, f = 1;
    int placed = 0;  // first group and second pawn group, once their place came
    for (int i = 0; k < num || i == order || i == order2; i++) {
        if (i == order || i == order2) placed++;
        if (i == order) {
            enc.factor[0] = f;
            f *= entry.has_pawns ? tb_pawn_factor[enc.norm[0] - 1][t] : entry.kk_enc ? 462 : 31332;
        } else if (i == order2) {
            enc.factor[enc.norm[0]] = f;
            f *= tb_binomial[enc.norm[enc.norm[0]]][48 - enc.norm[0]];
        } else {
            if (k >= num) return 0;  // an order beyond the last group
            enc.factor[k] = f;
            f *= tb_binomial[enc.norm[k]][n];
            n -= enc.norm[k];
            k += enc.norm[k];
        }
    }
    return placed == 1 + more ? f : 0;
}

uint64_t tb_position_index(int* p, const TbEncoding& enc, const TbEntry& entry, bool pawn_mode) {
    const int num = entry.num;
    uint64_t idx;
    int k;
    if (!pawn_mode) {
        if (p[0] & 4)
            for (int i = 0; i < num; i++) p[i] ^= 7;
        if (p[0] & 32)
            for (int i = 0; i < num; i++) p[i] ^= 56;
        int i = 0;
        while (i < num && tb_off_diag[p[i]] == 0) i++;
        if (i < (entry.kk_enc ? 2 : 3) && tb_off_diag[p[i]] > 0)
            for (int j = 0; j < num; j++) p[j] = tb_transpose[p[j]];

        if (entry.kk_enc) {
            int kk = tb_kk_index[tb_triangle[p[0]]][p[1]];
            if (kk < 0) return TB_NO_INDEX;
            idx = uint64_t(kk);
            k = 2;
        } else {
            int s1 = p[1] > p[0];
            int s2 = (p[2] > p[0]) + (p[2] > p[1]);
            if (p[0] == p[1] || p[0] == p[2] || p[1] == p[2]) return TB_NO_INDEX;
            if (tb_off_diag[p[0]])
                idx = tb_triangle[p[0]] * 3906 + (p[1] - s1) * 62 + (p[2] - s2);
            else if (tb_off_diag[p[1]])
                idx = 23436 + tb_diag[p[0]] * 1736 + tb_lower_triangle[p[1]] * 62 + (p[2] - s2);
            else if (tb_off_diag[p[2]])
                idx = 30380 + tb_diag[p[0]] * 196 + (tb_diag[p[1]] - s1) * 28 + tb_lower_triangle[p[2]];
            else
                idx = 31164 + tb_diag[p[0]] * 42 + (tb_diag[p[1]] - s1) * 6 + (tb_diag[p[2]] - s2);
            k = 3;
        }
        idx *= enc.factor[0];
    } else {
        k = entry.pawn_count[0];
        if (p[0] & 4)
            for (int i = 0; i < num; i++) p[i] ^= 7;
        std::sort(p + 1, p + k, [](int a, int b) { return tb_pawn_order[a] > tb_pawn_order[b]; });
        idx = tb_pawn_index[k - 1][tb_lead_slot[p[0]]];
        for (int i = 1; i < k; i++) idx += tb_binomial[k - i][tb_pawn_order[p[i]]];
        idx *= enc.factor[0];

        if (int m = entry.pawn_count[1]) {
            std::sort(p + k, p + k + m);
            uint64_t s = group_index(p, k, m, 8);
            if (s == TB_NO_INDEX) return TB_NO_INDEX;
            idx += s * enc.factor[k];
            k += m;
        }
    }

    while (k < num) {
        int m = enc.norm[k];
        if (m == 0 || k + m > num) return TB_NO_INDEX;
        std::sort(p + k, p + k + m);
        uint64_t s = group_index(p, k, m, 0);
        if (s == TB_NO_INDEX) return TB_NO_INDEX;
        idx += s * enc.factor[k];
        k += m;
    }
    return idx;
}
