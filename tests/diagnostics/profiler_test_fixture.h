// A temporary installation for the profiler tests: a registry with the
// installation folder and one company, "log.ini", and a tick count the tests
// move by hand.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/profiler_state.h"
#include "errors_test_installation.h"
#include "platform/clock.h"

namespace qx {

class ProfilerTest : public ::testing::Test {
 protected:
  static std::atomic<uint64_t>& Tick() {
    static std::atomic<uint64_t> tick{1'000'000};
    return tick;
  }
  // The next use reads "log.ini" again.
  static void Expire() { ForgetProfilerConfigurationForTesting(); }

  static void SetUpTestSuite() {
    SetTickSourceForTesting([] { return Tick().load(); });
  }
  static void TearDownTestSuite() { SetTickSourceForTesting({}); }

  void SetUp() override {
    char pattern[] = "/tmp/qx-profiler-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    installation_ = root_ + "/inst/";
    company_ = root_ + "/EMP1/DF/";
    std::filesystem::create_directories(installation_);
    std::filesystem::create_directories(company_);
    WriteRegistry(installation_);
    setenv("QX_REGISTRY", (root_ + "/registry.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (root_ + "/user.reg").c_str(), 1);
    Expire();
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(ProfilerLog(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
    unsetenv("QX_REGISTRY");
    unsetenv("QX_REGISTRY_USER");
    Expire();
  }

  // A registry whose installation folder is folder (none when empty), with
  // the company "EMP1" and its base data folder.
  void WriteRegistry(const std::string& folder) {
    std::ofstream out(root_ + "/registry.reg");
    out << "Windows Registry Editor Version 5.00\r\n\r\n";
    if (!folder.empty()) {
      out << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\QXContabilidade]\r\n"
          << "\"Path\"=\"" << folder << "\"\r\n\r\n";
    }
    out << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\Empresas\\EMP1]\r\n"
        << "\"DF\"=\"" << company_ << "\"\r\n";
  }

  void WriteIni(const std::string& body) {
    std::ofstream(installation_ + "log.ini") << "[Log]\r\n" << body;
  }

  std::string ProfilerLog() const { return installation_ + "QXProfiler.log"; }

  // The file's lines without their line feeds.
  static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadAll(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string root_, installation_, company_;
};

}  // namespace qx
