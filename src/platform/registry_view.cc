#include "platform/registry_view.h"

#include "platform/codepage.h"
#include "platform/registry_file.h"

namespace qx {
namespace {

RegLocation Located(const std::string& file, RegPath prefix, const RegPath& parts) {
  prefix.insert(prefix.end(), parts.begin() + 1, parts.end());
  return {file, std::move(prefix)};
}

}  // namespace

long ResolveRegKey(const Registry& registry, const std::string& key, RegView* view) {
  *view = {};
  RegPath parts = SplitRegPath(Cp1252ToUtf8(key));
  std::string_view root = parts.empty() ? std::string_view() : RegRootName(parts[0]);
  view->is_root = parts.size() == 1;
  const std::string& machine = registry.machine_file();
  const std::string& user = registry.user_file();
  if (root == "HKEY_LOCAL_MACHINE") {
    view->write = Located(machine, {"HKEY_LOCAL_MACHINE"}, parts);
    view->reads.push_back(view->write);
  } else if (root == "HKEY_CURRENT_USER") {
    if (!user.empty()) {
      view->write = Located(user, {"HKEY_CURRENT_USER"}, parts);
      view->reads.push_back(view->write);
    }
  } else if (root == "HKEY_CLASSES_ROOT") {
    if (!user.empty()) {
      view->reads.push_back(Located(user, {"HKEY_CURRENT_USER", "Software", "Classes"}, parts));
    }
    view->write = Located(machine, {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Classes"}, parts);
    view->reads.push_back(view->write);
  } else {
    return ERROR_BADKEY;
  }
  return ERROR_SUCCESS;
}

long VisitRegKey(const RegView& view, const std::function<bool(const RegNode&)>& visit) {
  bool found = false;
  for (const RegLocation& location : view.reads) {
    long status = ERROR_SUCCESS;
    std::shared_ptr<const RegNode> tree = LoadRegistryFile(location.file, &status);
    if (status != ERROR_SUCCESS) return status;
    const RegNode* node = FindRegKey(*tree, location.path);
    if (node == nullptr) continue;
    found = true;
    if (visit(*node)) break;
  }
  return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

}  // namespace qx
