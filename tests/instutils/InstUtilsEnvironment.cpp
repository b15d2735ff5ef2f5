// The program's start-up and shutdown of the utilities, once around the whole test run.
#include <gtest/gtest.h>

#include "instutils/InstUtils.h"

namespace {

class TInstUtilsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { inst::InitializeInstUtils(); }
  void TearDown() override { inst::FinalizeInstUtils(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new TInstUtilsEnvironment);

}  // namespace
