#include "uci/cpu_check.h"

#include <cstddef>
#include <cstdio>

#include "platform/cpu.h"

namespace {

// The build defines this when the rest of the program is compiled with POPCNT and BMI1.
#ifdef QUILLBROOK_NEEDS_POPCNT_BMI1
constexpr unsigned BUILD_FEATURES = CPU_POPCNT | CPU_BMI1;
#else
constexpr unsigned BUILD_FEATURES = 0;
#endif

struct FeatureName {
    unsigned bit;
    const char* name;
};
constexpr FeatureName FEATURE_NAMES[] = {{CPU_POPCNT, "POPCNT"}, {CPU_BMI1, "BMI1"}};

}  // namespace

CpuRefusal cpu_refusal(unsigned required, unsigned present) {
    CpuRefusal line{};
    const unsigned missing = required & ~present;
    if (missing == 0) return line;
    size_t length = 0;
    const auto append = [&](const char* text) {
        while (*text != '\0' && length + 1 < line.size()) line[length++] = *text++;
    };
    append("This processor lacks the ");
    int named = 0;
    for (const FeatureName& feature : FEATURE_NAMES) {
        if ((missing & feature.bit) == 0) continue;
        if (named++ > 0) append(" and ");
        append(feature.name);
    }
    append(named > 1 ? " instructions" : " instruction");
    append(" that this build of Quillbrook needs: use the baseline build instead"
           " (quillbrook-baseline, or -DQUILLBROOK_CPU=baseline from source).");
    return line;
}

bool refuse_unsupported_cpu() {
    const CpuRefusal refusal = cpu_refusal(BUILD_FEATURES, cpu_features());
    if (refusal[0] == '\0') return false;
    std::fputs(refusal.data(), stderr);
    std::fputc('\n', stderr);
    return true;
}
