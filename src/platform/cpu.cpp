#include "platform/cpu.h"

#if defined(__x86_64__) || defined(__i386__)

#include <cpuid.h>

unsigned cpu_features() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    unsigned features = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_POPCNT) != 0) features |= CPU_POPCNT;
    // Fails on processors too old to have leaf 7.
    if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & bit_BMI) != 0) features |= CPU_BMI1;
    return features;
}

#else

unsigned cpu_features() { return CPU_POPCNT | CPU_BMI1; }

#endif
