// A shared library opened by path (the stand-in for LoadLibrary/FreeLibrary).
#pragma once

#include <string>

namespace qx {

class Library {
 public:
  Library() = default;
  // Opens the library at `path`; an absent or unloadable file leaves the
  // object closed. A library linked with the run path $ORIGIN finds its own
  // dependencies in its folder first, as the suite's libraries do on Windows.
  explicit Library(const std::string& path);
  ~Library();
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null (also when closed).
  void* Symbol(const char* name) const;

  // The exported function `name` as a pointer of type F, or null.
  template <typename F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(Symbol(name));
  }

 private:
  void Close();
  void* handle_ = nullptr;
};

}  // namespace qx
