// A folder of the fuzzing process's own under the temporary folder, removed
// when the process ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace qx::fuzz {

inline const std::string& FuzzFolder() {
  // Never destroyed: the removal at exit still needs the name.
  static const std::string* folder = [] {
    std::random_device random;
    std::filesystem::path path;
    std::error_code failure;
    do {
      path = std::filesystem::temp_directory_path() / ("qx-fuzz-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path, failure) && !failure);
    if (failure) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(FuzzFolder(), ignored);
    });
    return new std::string(path.string());
  }();
  return *folder;
}

}  // namespace qx::fuzz
