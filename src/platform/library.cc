#include "platform/library.h"

#include <dlfcn.h>

#include <utility>

namespace qx {

Library::Library(const std::string& path) {
  if (!path.empty()) handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

Library::~Library() { Close(); }

Library::Library(Library&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void* Library::Symbol(const char* name) const {
  return handle_ == nullptr ? nullptr : dlsym(handle_, name);
}

void Library::Close() {
  if (handle_ != nullptr) dlclose(std::exchange(handle_, nullptr));
}

}  // namespace qx
