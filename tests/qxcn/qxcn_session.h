// A temporary default installation with the server registered in its
// registry store, and qxcn run against it as a user runs it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "../storage/qxdump_json.h"
#include "../storage/qxdump_run.h"

namespace qx::test {

class QxcnSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    setenv("QX_REGISTRY", (*dir_ / "home/registry.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (*dir_ / "user.reg").c_str(), 1);
    setenv("QX_RUNTIME_DIR", (*dir_ / "runtime").c_str(), 1);
    unsetenv("QX_HOME");
    const DumpRun instalacao = RunTool(*dir_, Binary("qxadmin"), {"default", *dir_ / "home"});
    ASSERT_EQ(instalacao.code, 0) << instalacao.err;
    const DumpRun moeda = RunTool(*dir_, Binary("qxadmin"),
                                  {"config", "set", "DEMO", "foreign-currency", "1"});
    ASSERT_EQ(moeda.code, 0) << moeda.err;
    const DumpRun registro = RunTool(*dir_, Binary("ostrel"), {"-RegServer"});
    ASSERT_EQ(registro.code, 0) << registro.err;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string Binary(const std::string& name) {
    return std::string(QX_TEST_BINARY_DIR) + "/tools/" + name + "/" + name;
  }
  static const TempDir& Dir() { return *dir_; }

  static DumpRun Run(const std::vector<std::string>& args) {
    return RunTool(*dir_, Binary("qxcn"), args);
  }
  // A run that must succeed, with --json, parsed.
  static Json RunJson(std::vector<std::string> args) {
    args.push_back("--json");
    const DumpRun run = Run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    const std::optional<Json> json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out;
    return json.value_or(Json{});
  }

 private:
  static inline TempDir* dir_ = nullptr;
};

}  // namespace qx::test
