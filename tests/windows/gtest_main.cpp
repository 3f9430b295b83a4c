// The main of the Windows test programs. Their output goes into ctest's pipe,
// where the C runtime buffers it fully: unbuffered, a program that crashes
// still leaves what it printed up to the crash.

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
