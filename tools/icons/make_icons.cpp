// make_icons OUTPUT_DIR: writes the program's icon and cursor files there.
// The shipped copies live in win32/res; tools_tests fails when they differ
// from what this writes.

#include <exception>
#include <filesystem>
#include <iostream>

#include "tools/icons/icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_icons OUTPUT_DIR\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    pellacore::icons::WriteAllIcons(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "make_icons: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
