// Packed middle-game/end-game values: mg + 65536 * eg in one int32, so sums
// of scores keep both halves in step with plain integer arithmetic.
#pragma once

#include <cstdint>

using Score = int32_t;

constexpr Score make_score(int mg, int eg) {
    return static_cast<Score>(static_cast<uint32_t>(eg) * 65536u + static_cast<uint32_t>(mg));
}

// Low 16 bits as a signed number.
constexpr int mg_value(Score s) { return static_cast<int16_t>(static_cast<uint16_t>(s)); }

// Arithmetic shift, no rounding fix: a negative mg half reads the eg half one lower.
constexpr int eg_value(Score s) { return static_cast<int16_t>(s >> 16); }
