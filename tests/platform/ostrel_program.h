// The built ostrel program, run as a person runs it, and its registration in
// the registry store that the environment names.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace qx::test {

inline constexpr const char* kOstrel = QX_TEST_BINARY_DIR "/tools/ostrel/ostrel";

// Runs ostrel with the arguments and the test's environment: its exit status,
// or 128 + the signal that ended it.
inline int RunOstrel(std::vector<std::string> args) {
  args.insert(args.begin(), kOstrel);
  std::vector<char*> argv;
  for (std::string& word : args) argv.push_back(word.data());
  argv.push_back(nullptr);
  Child ostrel([&](Child&) {
    execv(kOstrel, argv.data());
    return 127;
  });
  return ostrel.Wait();
}

// Registers ostrel; with a runtime folder, QX_RUNTIME_DIR names it from now on,
// so that the servers the test's clients start keep their sockets there.
inline void RegisterOstrel(const std::string& runtime = "") {
  if (!runtime.empty()) setenv("QX_RUNTIME_DIR", runtime.c_str(), 1);
  EXPECT_EQ(RunOstrel({"-RegServer"}), 0) << "ostrel -RegServer";
}

}  // namespace qx::test
