// Changing the registry: every change goes through an edit, applied in one
// locked rewrite per store file.
#include <algorithm>

#include "platform/codepage.h"
#include "platform/registry.h"
#include "platform/registry_file.h"
#include "platform/registry_view.h"

namespace qx {
namespace {

struct Step {
  const RegEdit::Op* op;
  RegPath path;
};

struct FileSteps {
  std::string file;
  std::vector<Step> steps;
};

// Line ends and NULs cannot be stored in the text format.
bool Storable(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

long Check(const Registry& registry, const RegEdit::Op& op, RegView* view) {
  long status = ResolveRegKey(registry, op.key, view);
  if (status != ERROR_SUCCESS) return status;
  if (view->write.file.empty()) return ERROR_ACCESS_DENIED;
  if (op.kind == RegEdit::Op::kDeleteTree && view->is_root) return ERROR_ACCESS_DENIED;
  return Storable(op.key) && Storable(op.name) && Storable(op.text) ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_DATA;
}

// Stores the value unless it is already there as given; true when changed.
bool Put(RegNode* node, RegItem item) {
  int index = node->ValueIndex(item.name);
  if (index >= 0) {
    const RegItem& old = node->items[index];
    if (old.kind == item.kind && old.data == item.data && old.dword == item.dword) return false;
  }
  node->SetValue(std::move(item));
  return true;
}

long Run(const Step& step, bool strict, RegNode* root, bool* changed) {
  const RegEdit::Op& op = *step.op;
  RegNode* node = FindRegKey(*root, step.path);
  bool found = node != nullptr;
  switch (op.kind) {
    case RegEdit::Op::kDeleteValue:
      found = found && node->RemoveValue(Cp1252ToUtf8(op.name));
      break;
    case RegEdit::Op::kDeleteTree:
      found = RemoveRegKey(root, step.path);
      break;
    default: {
      bool had_section = found && node->has_section;
      node = MakeRegKey(root, step.path);
      *changed |= !had_section;
      if (op.kind == RegEdit::Op::kSetString) {
        *changed |= Put(node, {RegItem::kString, Cp1252ToUtf8(op.name), Cp1252ToUtf8(op.text), 0});
      } else if (op.kind == RegEdit::Op::kSetDword) {
        *changed |= Put(node, {RegItem::kDword, Cp1252ToUtf8(op.name), "", op.dword});
      }
      return ERROR_SUCCESS;
    }
  }
  *changed |= found;
  return found || !strict ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

// Strict: deleting what does not exist fails the whole edit of that file.
long ApplyEdit(const Registry& registry, const RegEdit& edit, bool strict) {
  std::vector<FileSteps> files;
  for (const RegEdit::Op& op : edit.ops()) {
    RegView view;
    long status = Check(registry, op, &view);
    if (status != ERROR_SUCCESS) return status;
    auto it = std::find_if(files.begin(), files.end(),
                           [&](const FileSteps& f) { return f.file == view.write.file; });
    if (it == files.end()) it = files.insert(files.end(), {view.write.file, {}});
    it->steps.push_back({&op, std::move(view.write.path)});
  }
  for (const FileSteps& file : files) {
    long status = EditRegistryFile(file.file, [&](RegNode* root, bool* changed) {
      for (const Step& step : file.steps) {
        long result = Run(step, strict, root, changed);
        if (result != ERROR_SUCCESS) return result;
      }
      return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace

RegEdit& RegEdit::CreateKey(const std::string& key) {
  ops_.push_back({Op::kCreateKey, key, "", "", 0});
  return *this;
}
RegEdit& RegEdit::SetString(const std::string& key, const std::string& name,
                            const std::string& value) {
  ops_.push_back({Op::kSetString, key, name, value, 0});
  return *this;
}
RegEdit& RegEdit::SetDword(const std::string& key, const std::string& name, uint32_t value) {
  ops_.push_back({Op::kSetDword, key, name, "", value});
  return *this;
}
RegEdit& RegEdit::DeleteValue(const std::string& key, const std::string& name) {
  ops_.push_back({Op::kDeleteValue, key, name, "", 0});
  return *this;
}
RegEdit& RegEdit::DeleteTree(const std::string& key) {
  ops_.push_back({Op::kDeleteTree, key, "", "", 0});
  return *this;
}

long Registry::Apply(const RegEdit& edit) const { return ApplyEdit(*this, edit, false); }
long Registry::SetString(const std::string& key, const std::string& name,
                         const std::string& value) const {
  return ApplyEdit(*this, RegEdit().SetString(key, name, value), true);
}
long Registry::SetDword(const std::string& key, const std::string& name, uint32_t value) const {
  return ApplyEdit(*this, RegEdit().SetDword(key, name, value), true);
}
long Registry::CreateKey(const std::string& key) const {
  return ApplyEdit(*this, RegEdit().CreateKey(key), true);
}
long Registry::DeleteValue(const std::string& key, const std::string& name) const {
  return ApplyEdit(*this, RegEdit().DeleteValue(key, name), true);
}
long Registry::DeleteTree(const std::string& key) const {
  return ApplyEdit(*this, RegEdit().DeleteTree(key), true);
}

}  // namespace qx

long RegSetString(const std::string& key, const std::string& name, const std::string& value) {
  return qx::Registry::Default().SetString(key, name, value);
}
long RegSetDword(const std::string& key, const std::string& name, uint32_t value) {
  return qx::Registry::Default().SetDword(key, name, value);
}
long RegCreateKey(const std::string& key) { return qx::Registry::Default().CreateKey(key); }
long RegDeleteValue(const std::string& key, const std::string& name) {
  return qx::Registry::Default().DeleteValue(key, name);
}
long RegDeleteTree(const std::string& key) { return qx::Registry::Default().DeleteTree(key); }
long RegApply(const qx::RegEdit& edit) { return qx::Registry::Default().Apply(edit); }
