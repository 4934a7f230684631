#include <gtest/gtest.h>

#include "uci/uci.h"

// Every test works on the start-up tables, built once for the whole run.
namespace {
struct EngineEnvironment : ::testing::Environment {
    void SetUp() override { engine_init(); }
};
const auto* const engine_environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);
}  // namespace
