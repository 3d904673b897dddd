// Reading the registry, and the default stores.
#include "platform/registry.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/registry_value.h"
#include "platform/registry_view.h"

namespace qx {
namespace {

// Finds the named value in the first key of the view that has it and hands
// it to `use`.
long WithValue(const Registry& registry, const std::string& key, const std::string& name,
               const std::function<long(const RegItem&)>& use) {
  RegView view;
  long status = ResolveRegKey(registry, key, &view);
  if (status != ERROR_SUCCESS) return status;
  std::string wanted = Cp1252ToUtf8(name);
  long result = ERROR_FILE_NOT_FOUND;
  status = VisitRegKey(view, [&](const RegNode& node) {
    int index = node.ValueIndex(wanted);
    if (index >= 0) result = use(node.items[index]);
    return index >= 0;
  });
  return status != ERROR_SUCCESS ? status : result;
}

// Collects names over every key of the view, without repeats, in stored order.
long CollectNames(const Registry& registry, const std::string& key, std::vector<std::string>* out,
                  const std::function<void(const RegNode&, std::vector<std::string>*)>& names) {
  out->clear();
  RegView view;
  long status = ResolveRegKey(registry, key, &view);
  if (status != ERROR_SUCCESS) return status;
  std::vector<std::string> all, unique;
  status = VisitRegKey(view, [&](const RegNode& node) {
    names(node, &all);
    return false;
  });
  for (const std::string& name : all) {
    if (std::none_of(unique.begin(), unique.end(),
                     [&](const std::string& seen) { return RegNamesEqual(seen, name); })) {
      unique.push_back(name);
      out->push_back(Utf8ToCp1252(name));
    }
  }
  return status;
}

}  // namespace

Registry::Registry(std::string machine_file, std::string user_file)
    : machine_file_(std::move(machine_file)), user_file_(std::move(user_file)) {}

Registry Registry::Default() {
  std::string machine = GetEnvironmentText("QX_REGISTRY");
  if (machine.empty()) machine = "/etc/qx/registry.reg";
  std::string user = GetEnvironmentText("QX_REGISTRY_USER");
  if (user.empty()) {
    std::string home = HomeFolder();
    if (!home.empty()) user = home + "/.config/qx/registry.reg";
  }
  return Registry(std::move(machine), std::move(user));
}

long Registry::GetString(const std::string& key, const std::string& name,
                         std::string* value) const {
  return WithValue(*this, key, name,
                   [&](const RegItem& item) { return RegItemString(item, value); });
}

long Registry::GetDword(const std::string& key, const std::string& name, uint32_t* value) const {
  return WithValue(*this, key, name,
                   [&](const RegItem& item) { return RegItemDword(item, value); });
}

long Registry::GetValueType(const std::string& key, const std::string& name, uint32_t* type) const {
  return WithValue(*this, key, name, [&](const RegItem& item) {
    *type = RegItemType(item);
    return ERROR_SUCCESS;
  });
}

long Registry::HasValue(const std::string& key, const std::string& name) const {
  return WithValue(*this, key, name, [](const RegItem&) { return ERROR_SUCCESS; });
}

long Registry::KeyExists(const std::string& key) const {
  RegView view;
  long status = ResolveRegKey(*this, key, &view);
  if (status != ERROR_SUCCESS || view.is_root) return status;
  return VisitRegKey(view, [](const RegNode&) { return true; });
}

long Registry::EnumSubKeys(const std::string& key, std::vector<std::string>* names) const {
  return CollectNames(*this, key, names, [](const RegNode& node, std::vector<std::string>* all) {
    for (const auto& child : node.children) all->push_back(child->name);
  });
}

long Registry::EnumValues(const std::string& key, std::vector<std::string>* names) const {
  return CollectNames(*this, key, names, [](const RegNode& node, std::vector<std::string>* all) {
    for (const RegItem& item : node.items) {
      if (item.kind != RegItem::kVerbatim) all->push_back(item.name);
    }
  });
}

}  // namespace qx

long RegGetString(const std::string& key, const std::string& name, std::string* value) {
  return qx::Registry::Default().GetString(key, name, value);
}
long RegGetDword(const std::string& key, const std::string& name, uint32_t* value) {
  return qx::Registry::Default().GetDword(key, name, value);
}
long RegGetValueType(const std::string& key, const std::string& name, uint32_t* type) {
  return qx::Registry::Default().GetValueType(key, name, type);
}
long RegHasValue(const std::string& key, const std::string& name) {
  return qx::Registry::Default().HasValue(key, name);
}
long RegKeyExists(const std::string& key) { return qx::Registry::Default().KeyExists(key); }
long RegEnumSubKeys(const std::string& key, std::vector<std::string>* names) {
  return qx::Registry::Default().EnumSubKeys(key, names);
}
long RegEnumValues(const std::string& key, std::vector<std::string>* names) {
  return qx::Registry::Default().EnumValues(key, names);
}
