#include "board/magic_search.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdio>
#include <utility>

uint64_t magic_rng_state = 0x1234567890ABCDEFULL;

namespace {

constexpr uint64_t TRY_LIMIT = 100000000;
constexpr uint64_t DRAW_FACTOR = 0x2545F4914F6CDD1DULL;

// One step of the generator; a draw is the new state times DRAW_FACTOR.
constexpr uint64_t xorshift(uint64_t state) {
    state ^= state >> 12;
    state ^= state << 25;
    return state ^ (state >> 27);
}

// The generator's states are made a block at a time, in LANES stretches of
// the sequence that advance side by side, so that the compiler can turn the
// loop over the lanes into vector instructions. The step is linear over the
// bits (shifts and XORs), so the state LANE_STEPS further on is a fixed
// linear function of the current one, LANE_JUMP: each stretch's first state
// costs a few dozen XORs. The search still takes the candidates in sequence
// order: lane 0 from first to last, then lane 1, and so on.
constexpr int LANES = 8;
constexpr int LANE_CANDIDATES = 800;
constexpr int LANE_STEPS = 3 * LANE_CANDIDATES;
constexpr int BLOCK_CANDIDATES = LANES * LANE_CANDIDATES;
static_assert(TRY_LIMIT % BLOCK_CANDIDATES == 0, "the try limit falls on a block boundary");

// LANE_JUMP[b]: the state LANE_STEPS steps after the state holding only bit b.
constexpr std::array<uint64_t, 64> LANE_JUMP = [] {
    std::array<uint64_t, 64> ahead{};
    for (int b = 0; b < 64; ++b) {
        uint64_t state = uint64_t(1) << b;
        for (int k = 0; k < LANE_STEPS; ++k) state = xorshift(state);
        ahead[b] = state;
    }
    return ahead;
}();

uint64_t lane_jump(uint64_t state) {
    uint64_t ahead = 0;
    for (; state; state &= state - 1) ahead ^= LANE_JUMP[lsb(state)];
    return ahead;
}

// The generator states of the next BLOCK_CANDIDATES candidates, the lanes
// interleaved: state[k * LANES + l] is step k + 1 of lane l. Within a lane
// a state follows the one before NEXT_STATE entries further on, a
// candidate's first state the one before NEXT_CANDIDATE entries further on.
struct DrawBlock {
    uint64_t state[LANE_STEPS * LANES];
};

constexpr std::ptrdiff_t NEXT_STATE = LANES;
constexpr std::ptrdiff_t NEXT_CANDIDATE = 3 * NEXT_STATE;

[[gnu::always_inline]] inline void fill_lanes(DrawBlock& block, uint64_t state) {
    uint64_t lane[LANES];
    lane[0] = state;
    for (int l = 1; l < LANES; ++l) lane[l] = lane_jump(lane[l - 1]);
    for (int k = 0; k < LANE_STEPS; k += 2) {  // two steps a round halve the loop's own work
        for (int l = 0; l < LANES; ++l) block.state[k * LANES + l] = lane[l] = xorshift(lane[l]);
        for (int l = 0; l < LANES; ++l) block.state[(k + 1) * LANES + l] = lane[l] = xorshift(lane[l]);
    }
}

// Compiled a second time for AVX2, which advances four lanes to a register
// instead of two. Not on Windows, where GCC cannot keep 32-byte vectors
// aligned on the stack. Kept out of line: inlined into the search, the
// lanes no longer go into vector registers.
#if defined(__x86_64__) && !defined(_WIN32)
[[gnu::target("avx2")]] void fill_lanes_avx2(DrawBlock& block, uint64_t state) { fill_lanes(block, state); }

[[gnu::noinline]] void fill_block(DrawBlock& block, uint64_t state) {
    if (__builtin_cpu_supports("avx2"))
        fill_lanes_avx2(block, state);
    else
        fill_lanes(block, state);
}
#else
[[gnu::noinline]] void fill_block(DrawBlock& block, uint64_t state) { fill_lanes(block, state); }
#endif

// The candidate drawn from the three states that start at `states` in a lane.
uint64_t candidate_at(const uint64_t* states) {
    return (states[0] * DRAW_FACTOR) & (states[NEXT_STATE] * DRAW_FACTOR) & (states[2 * NEXT_STATE] * DRAW_FACTOR);
}

// A cheap test that rejects only candidates that the scratch table would
// reject, and most of them. The empty subset lands in slot 0, and each
// one-blocker subset {b}, whose attack set differs from the empty board's,
// on the top n bits of candidate << b; so those must not all be zero: the
// candidate needs a set bit among bits 64-n-b .. 63-b. Each set bit p
// spread over bits p .. p+n-1 must then cover bit 63-b for every mask
// square b. (Masks have 5 squares or more.)
struct OneBlockerTest {
    Bitboard mirrored_mask;     // mask square b as bit 63-b
    int third_step, last_step;  // spread widths: 2, 4, then min(8, n), then n

    OneBlockerTest(Bitboard mask, int n)
        : mirrored_mask(0), third_step(n < 8 ? n - 4 : 4), last_step(n < 8 ? 0 : n - 8) {
        while (mask) mirrored_mask |= square_bb(63 - pop_lsb(mask));
    }

    bool passes(uint64_t candidate) const {
        uint64_t covered = candidate | candidate << 1;
        covered |= covered << 2;
        covered |= covered << third_step;
        covered |= covered << last_step;
        return (mirrored_mask & ~covered) == 0;
    }
};

// Whether a byte has at least 6 of its 8 bits set, by value.
constexpr std::array<bool, 256> DENSE_BYTE = [] {
    std::array<bool, 256> dense{};
    for (unsigned byte = 0; byte < 256; ++byte) dense[byte] = std::popcount(byte) >= 6;
    return dense;
}();

// Writes to `found` the numbers of the candidates in a lane that pass the
// quick tests, in order, and returns how many there are: at least 6 of the
// top 8 bits of mask * candidate set, then the one-blocker test. About 1
// candidate in 50 gets through.
int plausible_candidates(const uint64_t* lane, Bitboard mask, const OneBlockerTest& one_blocker,
                         uint16_t* found) {
    int count = 0;
    const uint64_t* end = lane + LANE_CANDIDATES * NEXT_CANDIDATE;
#pragma GCC unroll 4
    for (const uint64_t* states = lane; states != end; states += NEXT_CANDIDATE) {
        uint64_t candidate = candidate_at(states);
        if (DENSE_BYTE[(mask * candidate) >> 56] && one_blocker.passes(candidate))
            found[count++] = uint16_t((states - lane) / NEXT_CANDIDATE);
    }
    return count;
}

// Every occupancy subset of a square's mask with the attack set it must map
// to, in the order candidates check them; the search reorders them.
struct Samples {
    int size;
    Bitboard occ[4096];
    Bitboard att[4096];
};

// Subsets in ascending subset number: bit j of the number picks the j-th
// lowest mask square, which is what counting up through the mask's bits
// gives.
void collect_samples(Samples& s, int sq, Bitboard mask, int n, AttackFn attack_fn) {
    s.size = 1 << n;
    Bitboard occ = 0;
    for (int i = 0; i < s.size; ++i) {
        s.occ[i] = occ;
        s.att[i] = attack_fn(sq, occ);
        occ = (occ - mask) & mask;
    }
}

// The verification's scratch table. A slot whose key is at least `base` was
// written for the current candidate, by sample key - base; each candidate
// moves `base` past every earlier key, which spares emptying the table.
struct Scratch {
    uint64_t key[4096];
    uint64_t base;
};

// Index of the first sample whose slot already holds a different attack
// set, or -1 when the candidate maps every subset consistently. Kept out of
// line: inlined into the search, it crowds the registers of the loop over
// every candidate.
[[gnu::noinline]] int first_conflict(const Samples& s, uint64_t candidate, int shift, Scratch& scratch) {
    const uint64_t base = scratch.base += 4096;
    // Four subsets a round: the compiler does not unroll a loop that can end
    // early by itself, and most candidates get through dozens of subsets.
    for (int round = 0; round < s.size; round += 4)
        for (int u = 0; u < 4; ++u) {
            const int i = round + u;
            uint64_t& slot = scratch.key[(s.occ[i] * candidate) >> shift];
            if (slot < base) [[likely]]
                slot = base + uint64_t(i);
            else if (s.att[slot - base] != s.att[i])
                return i;
        }
    return -1;
}

// The search proper, over the samples collected for the square.
uint64_t search_magic(int sq, Bitboard mask, int n, Samples& samples, uint64_t* tries_out) {
    static Scratch scratch;
    static DrawBlock block;
    const OneBlockerTest one_blocker(mask, n);
    for (uint64_t tries = 0; tries < TRY_LIMIT; tries += BLOCK_CANDIDATES) {
        fill_block(block, magic_rng_state);
        for (int l = 0; l < LANES; ++l) {
            uint16_t plausible[LANE_CANDIDATES];
            const uint64_t* lane = block.state + l;
            int count = plausible_candidates(lane, mask, one_blocker, plausible);
            for (int p = 0; p < count; ++p) {
                const uint64_t* states = lane + NEXT_CANDIDATE * plausible[p];
                uint64_t candidate = candidate_at(states);
                int failed_at = first_conflict(samples, candidate, 64 - n, scratch);
                if (failed_at < 0) {
                    magic_rng_state = states[2 * NEXT_STATE];
                    if (tries_out) *tries_out = tries + uint64_t(l * LANE_CANDIDATES + plausible[p] + 1);
                    return candidate;
                }
                // Whether a candidate works does not depend on the order the
                // subsets are checked in, so subsets that cause collisions
                // move forward and reject later candidates sooner.
                std::swap(samples.occ[failed_at], samples.occ[failed_at >> 1]);
                std::swap(samples.att[failed_at], samples.att[failed_at >> 1]);
            }
        }
        magic_rng_state = block.state[LANE_STEPS * LANES - 1];
    }
    if (tries_out) *tries_out = TRY_LIMIT;
    std::fprintf(stderr, "FATAL: failed to find magic for sq %d\n", sq);
    return 0;
}

}  // namespace

uint64_t find_magic(int sq, Bitboard mask, int n, AttackFn attack_fn, uint64_t* tries_out, Bitboard* slice) {
    static Samples samples;
    collect_samples(samples, sq, mask, n, attack_fn);
    uint64_t magic = search_magic(sq, mask, n, samples, tries_out);
    if (slice)
        for (int i = 0; i < samples.size; ++i) slice[(samples.occ[i] * magic) >> (64 - n)] = samples.att[i];
    return magic;
}
