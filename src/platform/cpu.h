// The instruction-set extensions a build can be compiled to use, as the
// processor reports them.
#pragma once

// Bits of cpu_features().
enum CpuFeature : unsigned { CPU_POPCNT = 1, CPU_BMI1 = 2 };

// The CPU_* extensions of the processor the program runs on, read with CPUID.
// They are x86 extensions: on any other processor no build can need them,
// and every bit is set, so that none is ever missing.
unsigned cpu_features();
