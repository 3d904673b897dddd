#include "platform/registry_tree.h"

#include <algorithm>

#include "platform/codepage.h"

namespace qx {

bool RegNamesEqual(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (UpperCaseCp1252Letter(NextUtf8CodePoint(a, &i)) !=
        UpperCaseCp1252Letter(NextUtf8CodePoint(b, &j))) {
      return false;
    }
  }
  return i == a.size() && j == b.size();
}

RegNode* RegNode::Child(std::string_view child_name) const {
  for (const auto& child : children) {
    if (RegNamesEqual(child->name, child_name)) return child.get();
  }
  return nullptr;
}

RegNode* RegNode::AddChild(std::string_view child_name) {
  if (RegNode* existing = Child(child_name)) return existing;
  children.push_back(std::make_unique<RegNode>());
  children.back()->name = std::string(child_name);
  return children.back().get();
}

bool RegNode::RemoveChild(std::string_view child_name) {
  auto it = std::find_if(children.begin(), children.end(),
                         [&](const auto& child) { return RegNamesEqual(child->name, child_name); });
  if (it == children.end()) return false;
  children.erase(it);
  return true;
}

int RegNode::ValueIndex(std::string_view value_name) const {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].kind != RegItem::kVerbatim && RegNamesEqual(items[i].name, value_name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void RegNode::SetValue(RegItem item) {
  int index = ValueIndex(item.name);
  if (index < 0) {
    items.push_back(std::move(item));
    return;
  }
  item.name = std::move(items[index].name);
  items[index] = std::move(item);
}

bool RegNode::RemoveValue(std::string_view value_name) {
  int index = ValueIndex(value_name);
  if (index < 0) return false;
  items.erase(items.begin() + index);
  return true;
}

RegPath SplitRegPath(std::string_view path) {
  RegPath parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string_view RegRootName(std::string_view name) {
  static constexpr std::string_view kRoots[][2] = {
      {"HKEY_LOCAL_MACHINE", "HKLM"},  {"HKEY_CURRENT_USER", "HKCU"},
      {"HKEY_CLASSES_ROOT", "HKCR"},   {"HKEY_USERS", "HKU"},
      {"HKEY_CURRENT_CONFIG", "HKCC"},
  };
  for (const auto& root : kRoots) {
    if (RegNamesEqual(name, root[0]) || RegNamesEqual(name, root[1])) return root[0];
  }
  return {};
}

RegNode* FindRegKey(const RegNode& root, const RegPath& path) {
  const RegNode* node = &root;
  for (const std::string& part : path) {
    node = node->Child(part);
    if (node == nullptr) return nullptr;
  }
  return const_cast<RegNode*>(node);
}

RegNode* MakeRegKey(RegNode* root, const RegPath& path) {
  RegNode* node = root;
  for (const std::string& part : path) node = node->AddChild(part);
  node->has_section = true;
  return node;
}

bool RemoveRegKey(RegNode* root, const RegPath& path) {
  if (path.empty()) return false;
  RegNode* parent = FindRegKey(*root, RegPath(path.begin(), path.end() - 1));
  return parent != nullptr && parent->RemoveChild(path.back());
}

}  // namespace qx
