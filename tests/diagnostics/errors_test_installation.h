// A temporary installation of this server's module, optionally with the
// stand-ins of the suite's QXMens and QXLMensagem libraries in its "x64" folder,
// and readers of the files and lines written into it.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../storage/folders_test_registry.h"
#include "platform/process_info.h"

namespace qx {

class TestInstallation : public TestRegistry {
 public:
  explicit TestInstallation(bool withLibraries) : folder_(Installation(kModuloInstalacao, "inst")) {
    if (!withLibraries) return;
    std::filesystem::create_symlink(QX_FAKE_QXMENS, folder_ + "x64/QXMens.so");
    std::filesystem::create_symlink(QX_FAKE_QXLMENSAGEM, folder_ + "x64/QXLMensagem.so");
  }

  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// A file's whole content ("" when it is missing).
inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A line's tab-separated columns, an empty last one included.
inline std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    columns.push_back(line.substr(start, tab - start));
  columns.push_back(line.substr(start));
  return columns;
}

// The first columns of a record of this thread: date, time, process, user,
// function and pairing id (by form).
inline std::string RecordStart(const std::string& funcao) {
  return "<DATE>\t<TIME>\t" + ProcessBaseName() + "\t" + OsUserName() + "\t" + funcao +
         "\t<GUID>\t";
}
inline std::string ThreadColumn() {
  char thread[16];
  std::snprintf(thread, sizeof thread, "T%08d", static_cast<int>(CurrentThreadId()));
  return thread;
}

// Compares line with golden column by column; a golden column "<DATE>",
// "<TIME>", "<GUID>" or "<N>" (a number) is checked by its form only.
inline void ExpectGolden(const std::string& line, const std::string& golden) {
  static const std::map<std::string, std::string> forms = {
      {"<DATE>", "[0-9]{2}/[0-9]{2}/[0-9]{4}"},
      {"<TIME>", "[0-9]{2}:[0-9]{2}:[0-9]{2}[.][0-9]{3}"},
      {"<GUID>", "[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}"},
      {"<N>", "[0-9]+"}};
  const std::vector<std::string> columns = Columns(line), expected = Columns(golden);
  ASSERT_EQ(columns.size(), expected.size()) << line;
  for (size_t c = 0; c < columns.size(); ++c) {
    const auto form = forms.find(expected[c]);
    if (form == forms.end()) {
      EXPECT_EQ(columns[c], expected[c]) << "column " << c << " of " << line;
    } else {
      EXPECT_THAT(columns[c], ::testing::MatchesRegex(form->second)) << "column " << c;
    }
  }
}

}  // namespace qx
