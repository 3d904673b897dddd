// Running the built qxcheck on a sample folder (from the built qxsample) that
// a test damages on purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../platform/test_support.h"
#include "../storage/qxdump_json.h"

namespace qx::test {

struct CheckRun {
  int code = -1;
  std::string out;
  std::string err;
  Json json;  // the parsed output of a --json run
};

inline std::string Quoted(const std::string& text) {
  return std::string(1, '\'').append(text).append(1, '\'');
}

// Runs a built tool; the output is caught in files of the folder's parent.
inline CheckRun RunTool(const TempDir& dir, const std::string& tool,
                        const std::vector<std::string>& args) {
  const std::string run = dir / "run";
  std::string command = "mkdir -p " + Quoted(run) + "; " +
                        Quoted(std::string(QX_TEST_BINARY_DIR) + "/tools/" + tool + "/" + tool);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted(run + "/out") + " 2>" + Quoted(run + "/err") + "; echo $? >" +
             Quoted(run + "/rc");
  CheckRun result;
  if (std::system(command.c_str()) != 0) return result;
  result.code = std::atoi(ReadText(run + "/rc").c_str());
  result.out = ReadText(run + "/out");
  result.err = ReadText(run + "/err");
  return result;
}

// A temporary folder holding the sample company in its "CN" subfolder.
class SampleFolder {
 public:
  SampleFolder() {
    EXPECT_EQ(RunTool(dir_, "qxsample", {folder()}).code, 0);
  }
  std::string folder() const { return dir_ / "CN"; }
  const TempDir& dir() const { return dir_; }
  std::string operator/(const std::string& name) const { return folder() + "/" + name; }

  // qxcheck --json on the folder, with more options first.
  CheckRun Check(std::vector<std::string> options = {}) const {
    options.insert(options.begin(), "--json");
    options.push_back(folder());
    CheckRun run = RunTool(dir_, "qxcheck", options);
    auto json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out << run.err;
    run.json = json.value_or(Json::object());
    return run;
  }

  // Overwrites bytes of a file at an offset (the file grows when needed).
  void Patch(const std::string& name, uint64_t offset, const void* bytes, size_t size) const {
    std::string content = ReadText(*this / name);
    if (content.size() < offset + size) content.resize(offset + size, '\0');
    std::memcpy(content.data() + offset, bytes, size);
    WriteText(*this / name, content);
  }
  template <typename T>
  void PatchValue(const std::string& name, uint64_t offset, T value) const {
    Patch(name, offset, &value, sizeof value);
  }
  void Truncate(const std::string& name, uint64_t length) const {
    std::filesystem::resize_file(*this / name, length);
  }

 private:
  TempDir dir_;
};

// The findings of a run with that kind.
inline std::vector<const Json*> FindingsOf(const CheckRun& run, const std::string& kind) {
  std::vector<const Json*> found;
  for (const Json& finding : run.json["findings"]) {
    if (finding["kind"] == kind) found.push_back(&finding);
  }
  return found;
}

}  // namespace qx::test
