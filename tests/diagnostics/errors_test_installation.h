// A temporary installation of this server's module, optionally with the
// stand-ins of the suite's QXMens and QXLMensagem libraries in its "x64" folder.
#pragma once

#include <filesystem>
#include <string>

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

}  // namespace qx
