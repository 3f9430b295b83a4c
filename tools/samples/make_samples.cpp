// make_samples DIR: writes the sample drawings (floor-plan.dxf, flange.dxf,
// title-block.dxf) into DIR. The shipped copies live in Samples/; a test
// fails when they differ from what this writes.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/samples/drawings.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_samples DIR\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    for (const auto& drawing : pellacore::samples::AllSamples()) {
      auto path = std::filesystem::path(argv[1]) / (drawing.name + ".dxf");
      std::ofstream file(path, std::ios::binary);
      file << pellacore::samples::WriteDxf(drawing);
      if (!file.flush()) throw std::runtime_error("cannot write " + path.string());
    }
  } catch (const std::exception& e) {
    std::cerr << "make_samples: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
