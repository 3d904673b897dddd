// A private temporary folder and machine registry for one test: QX_REGISTRY
// (and QX_REGISTRY_USER) point into the folder while the object lives.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../platform/test_support.h"
#include "platform/registry.h"
#include "storage/folders/folders.h"

namespace qx {

class TestRegistry {
 public:
  TestRegistry() {
    setenv("QX_REGISTRY", (dir_ / "machine.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (dir_ / "user.reg").c_str(), 1);
  }
  ~TestRegistry() {
    unsetenv("QX_REGISTRY");
    unsetenv("QX_REGISTRY_USER");
  }

  const std::string& dir() const { return dir_.path(); }

  // Sets a text value of a key under the suite's base key ("" is the base key).
  void Set(const std::string& subKey, const std::string& name, const std::string& value) const {
    EXPECT_EQ(RegSetString(Key(subKey), name, value), ERROR_SUCCESS) << subKey << " " << name;
  }
  void CreateKey(const std::string& subKey) const {
    EXPECT_EQ(RegCreateKey(Key(subKey)), ERROR_SUCCESS) << subKey;
  }

  // Makes dir()/name/ the installation folder of module and returns it.
  std::string Installation(int module, const std::string& name) const {
    const std::string folder = dir_ / name + "/";
    std::filesystem::create_directories(folder + "x64");
    Set(std::string(FindSuiteModule(module)->registryName), "Path", folder);
    return folder;
  }

 private:
  static std::string Key(const std::string& subKey) {
    return subKey.empty() ? std::string(kSuiteKey) : std::string(kSuiteKey) + "\\" + subKey;
  }

  test::TempDir dir_;
};

}  // namespace qx
