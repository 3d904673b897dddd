// Running the built qxcheck on a sample folder (from the built qxsample) that
// a test damages on purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../storage/qxdump_run.h"

namespace qx::test {

struct CheckRun : DumpRun {
  Json json;  // the parsed output of a --json run
};

// A temporary folder holding the sample company in its "CN" subfolder.
class SampleFolder {
 public:
  SampleFolder() {
    EXPECT_EQ(RunTool(dir_, ToolBinary("qxsample"), {folder()}).code, 0);
  }
  std::string folder() const { return dir_ / "CN"; }
  const TempDir& dir() const { return dir_; }
  std::string operator/(const std::string& name) const { return folder() + "/" + name; }

  // qxcheck --json on the folder, with more options first.
  CheckRun Check(std::vector<std::string> options = {}) const {
    options.insert(options.begin(), "--json");
    options.push_back(folder());
    const DumpRun run = RunTool(dir_, ToolBinary("qxcheck"), options);
    const auto json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out << run.err;
    return {run, json.value_or(Json::object())};
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
