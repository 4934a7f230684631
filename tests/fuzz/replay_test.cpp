// Every input a fuzz target ever failed on, and the seed corpora, run again
// through the same target bodies: a crash or a sanitizer report fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/targets.h"

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    int (*body)(const uint8_t*, size_t);
};
constexpr Target TARGETS[] = {
    {"commands", fuzz_commands}, {"position", fuzz_position}, {"book", fuzz_book}, {"tables", fuzz_tables}};

TEST(FuzzReplay, KeptFindingsAndSeedsRunCleanly) {
    const fs::path data(TEST_DATA_DIR);
    for (const Target& target : TARGETS)
        for (const fs::path& folder : {data / "fuzz" / target.name, data.parent_path().parent_path() / "fuzz" / "corpus" / target.name}) {
            ASSERT_TRUE(fs::is_directory(folder)) << folder;
            for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
                SCOPED_TRACE(file.path().string());
                std::ifstream in(file.path(), std::ios::binary);
                const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
                testing::internal::CaptureStdout();
                EXPECT_EQ(target.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
                testing::internal::GetCapturedStdout();
            }
        }
}

}  // namespace
