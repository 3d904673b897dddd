// Running the built qxdump on files that a test writes into its own folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "../platform/test_support.h"
#include "qxdump_json.h"

namespace qx::test {

struct DumpRun {
  int code = -1;
  std::string out;
  std::string err;
};

inline std::string Quoted(const std::string& text) {
  return std::string(1, '\'').append(text).append(1, '\'');
}

// Runs a built program with the arguments from the folder (file names may be
// relative to it); the output is caught in files of its "run" subfolder.
inline DumpRun RunTool(const TempDir& dir, const std::string& program,
                       const std::vector<std::string>& args) {
  const std::string run = dir / "run";
  std::ostringstream command;
  command << "mkdir -p " << Quoted(run) << "; cd " << Quoted(dir.path()) << " && "
          << Quoted(program);
  for (const std::string& arg : args) command << ' ' << Quoted(arg);
  command << " >" << Quoted(run + "/out") << " 2>" << Quoted(run + "/err") << "; echo $? >"
          << Quoted(run + "/rc");
  DumpRun result;
  if (std::system(command.str().c_str()) != 0) return result;
  result.code = std::atoi(ReadText(run + "/rc").c_str());
  result.out = ReadText(run + "/out");
  result.err = ReadText(run + "/err");
  return result;
}

// A built tool: build/.../tools/NAME/NAME.
inline std::string ToolBinary(const std::string& name) {
  return std::string(QX_TEST_BINARY_DIR) + "/tools/" + name + "/" + name;
}

// The tools a test runs keep their registries and runtime files in its
// folder (the default installation goes to its "home") and find no other
// installation or company.
inline void IsolaFerramentas(const TempDir& dir) {
  setenv("QX_REGISTRY", (dir / "home/registry.reg").c_str(), 1);
  setenv("QX_REGISTRY_USER", (dir / "user.reg").c_str(), 1);
  setenv("QX_RUNTIME_DIR", (dir / "runtime").c_str(), 1);
  unsetenv("QX_HOME");
  unsetenv("QX_EMPRESA");
}

inline DumpRun RunQxdump(const TempDir& dir, const std::vector<std::string>& args) {
  return RunTool(dir, std::string(QX_TEST_BINARY_DIR) + "/tools/qxdump/qxdump", args);
}

// The parsed JSON dump of a file; a failed test when it is not valid JSON.
inline Json DumpJson(const TempDir& dir, const std::string& file,
                     const std::vector<std::string>& more = {}) {
  std::vector<std::string> args = {"--json", file};
  args.insert(args.end(), more.begin(), more.end());
  const DumpRun run = RunQxdump(dir, args);
  auto json = ParseJson(run.out);
  EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out << run.err;
  return json.value_or(Json::object());
}

// A record file: a zero record of sizeof(Record) bytes, then the records.
template <typename Record>
void WriteRecordFile(const std::string& path, const std::vector<Record>& records,
                     const std::string& tail = "") {
  std::string bytes(sizeof(Record), '\0');
  for (const Record& record : records) {
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
  }
  WriteText(path, bytes + tail);
}

}  // namespace qx::test
