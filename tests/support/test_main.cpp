// The main of every test executable: all tests run on the headless display, and each begins with
// the Win32 layer and the runtime as a new process finds them, so that one process runs them
// all, in any order.
#include <gtest/gtest.h>

#include "display/headless/headless.h"
#include "layer.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

class FreshStart : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    platform::layer_reset();
    runtime_reset();
  }
};

}  // namespace

int main(int argc, char** argv) {
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
  return RUN_ALL_TESTS();
}
