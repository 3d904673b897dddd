// A temporary installation of this server's module, optionally with the
// stand-ins of the suite's QXMens and QXLMensagem libraries in its "x64" folder,
// and readers of the files and lines written into it.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../storage/folders_test_registry.h"

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

}  // namespace qx
