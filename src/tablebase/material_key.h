// Material keys: one number per material signature and colour assignment,
// the sum of a weight per piece; they name entries in the registry.
#pragma once

#include <cstdint>

#include "tablebase/tb_position.h"

// Weight of one piece in the material key, by colour (0 white) and kind:
// tb_key_weight[0][TB_QUEEN] = 0xa3ec1abc71e90863; kings weigh 0.
extern const uint64_t tb_key_weight[2][7];

// Material key of piece counts [colour][kind]; swapped weighs white with
// the black constants and the reverse. KQvK -> 0xa3ec1abc71e90863.
uint64_t tb_key_from_counts(const int counts[2][7], bool swapped);

// Material key of the position; mirror exchanges the colours.
uint64_t tb_material_key(const TbPosition& pos, bool mirror);
