// Runs a fuzz target over every file of the corpus folders given on the command line, so the
// stored inputs replay without the fuzzing engine. A fault shows as a crash or a sanitizer
// report; an exception that escapes the target ends the run with its text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<char> ReadInput(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The regular files of a folder (or the file itself), in name order so runs are repeatable.
std::vector<std::filesystem::path> Inputs(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_regular_file(root)) {
    inputs.push_back(root);
    return inputs;
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: " << argv[0] << " corpus-folder-or-file...\n";
    return 2;
  }
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path current;
    try {
      for (const std::filesystem::path& input : Inputs(argv[i])) {
        current = input;
        const std::vector<char> bytes = ReadInput(input);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++count;
      }
    } catch (const std::exception& error) {
      std::cerr << "failed on " << current << ": " << error.what() << "\n";
      return 1;
    }
  }
  if (count == 0) {
    std::cerr << "no inputs found\n";
    return 1;
  }
  std::cout << "replayed " << count << " inputs\n";
  return 0;
}
