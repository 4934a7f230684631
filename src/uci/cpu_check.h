// The refusal to start on a processor that lacks instructions the build was
// compiled to use, instead of dying on the first of them. Compiled, like
// main, for any x86-64 processor, and kept to plain character work, so that
// little library code runs before it.
#pragma once

#include <array>

using CpuRefusal = std::array<char, 256>;

// The one-line refusal (no line end) for a processor with the CPU_* features
// `present` when the build needs the `required` ones; "" when none is missing.
CpuRefusal cpu_refusal(unsigned required, unsigned present);

// Writes the refusal for this processor and this build to standard error;
// true if there was one, and the program must end.
bool refuse_unsupported_cpu();
