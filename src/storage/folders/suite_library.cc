#include "platform/codepage.h"
#include "platform/path.h"
#include "storage/folders/folders.h"

namespace qx {

Library LoadSuiteLibrary(std::string_view fileName, int module) {
  const std::string folder = InstallationFolder(module, "");
  if (folder.empty() || fileName.empty()) return Library();
  constexpr std::string_view kWindowsSuffix = ".dll";
  std::string_view baseName = fileName;
  if (baseName.size() > kWindowsSuffix.size() &&
      Cp1252EqualNoCase(baseName.substr(baseName.size() - kWindowsSuffix.size()), kWindowsSuffix)) {
    baseName.remove_suffix(kWindowsSuffix.size());
  }
  return Library(JoinPath(JoinPath(folder, "x64"), std::string(baseName) + ".so"));
}

}  // namespace qx
