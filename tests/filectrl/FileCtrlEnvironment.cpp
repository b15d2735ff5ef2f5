// The program's start-up and shutdown of the utilities (the shell-folder lookup that
// Program Files comes from), once around the whole test run.
#include <gtest/gtest.h>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/InstUtils.h"

namespace {

class TFileCtrlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    inst::InitializeInstUtils();
    filectrl::RegisterFileCtrlClasses();
  }
  void TearDown() override { inst::FinalizeInstUtils(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new TFileCtrlEnvironment);

}  // namespace
