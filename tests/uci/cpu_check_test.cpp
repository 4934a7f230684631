#include <gtest/gtest.h>

#include <string>

#include "platform/cpu.h"
#include "uci/cpu_check.h"

// The refusal that the fast build (Linux and Windows alike) prints on a
// processor without POPCNT or BMI1, where it must not start.
TEST(CpuCheck, RefusalNamesWhatIsMissingAndTheBuildToUseInstead) {
    constexpr unsigned FAST = CPU_POPCNT | CPU_BMI1;
    const auto refusal = [](unsigned required, unsigned present) {
        return std::string(cpu_refusal(required, present).data());
    };
    EXPECT_EQ(refusal(FAST, 0),
              "This processor lacks the POPCNT and BMI1 instructions that this build of Quillbrook needs: "
              "use the baseline build instead (quillbrook-baseline, or -DQUILLBROOK_CPU=baseline from source).");
    EXPECT_NE(refusal(FAST, CPU_BMI1).find(" lacks the POPCNT instruction that "), std::string::npos);
    EXPECT_NE(refusal(FAST, CPU_POPCNT).find(" lacks the BMI1 instruction that "), std::string::npos);
    EXPECT_EQ(refusal(FAST, FAST), "");
    // The baseline build needs nothing, whatever the processor lacks.
    EXPECT_EQ(refusal(0, 0), "");
}

#if defined(__x86_64__)
// CPUID as read here agrees with the compiler's own reading of it.
TEST(CpuCheck, FeaturesMatchTheCompilersQuery) {
    __builtin_cpu_init();
    const unsigned features = cpu_features();
    EXPECT_EQ((features & CPU_POPCNT) != 0, __builtin_cpu_supports("popcnt") != 0);
    EXPECT_EQ((features & CPU_BMI1) != 0, __builtin_cpu_supports("bmi") != 0);
}
#endif
