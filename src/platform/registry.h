// The system registry, kept in text files in the Windows registry export
// format. Keys are full paths that start with a root name:
//   "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas"   machine store
//   "HKEY_CLASSES_ROOT\\CLSID\\{...}"                           classes (see below)
//   "HKEY_CURRENT_USER\\Software\\Classes\\..."                  per-user store
// The short roots "HKLM", "HKCR" and "HKCU" are accepted too.
//
// The machine store is the file named by QX_REGISTRY (else
// /etc/qx/registry.reg), the per-user store the file named by
// QX_REGISTRY_USER (else ~/.config/qx/registry.reg); both are looked up at
// every call. HKEY_CLASSES_ROOT is a merged view as on Windows: reads look in
// the current user's "Software\\Classes" first, then in the machine's
// "SOFTWARE\\Classes"; writes go to the machine's.
//
// Texts (key names, value names, string values) are Windows-1252. Names
// compare without regard to case and keep their stored spelling. Every
// function returns a Windows error code; the tests of existence (HasValue,
// KeyExists) give ERROR_SUCCESS or ERROR_FILE_NOT_FOUND. Rewritten files are
// UTF-8 without a byte-order mark, with CRLF line ends as Windows exports
// them; values of other types, comments and unreadable lines are kept as
// they were.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_DATA = 13;
constexpr long ERROR_BADKEY = 1010;
constexpr long ERROR_CANTWRITE = 1013;
constexpr long ERROR_UNSUPPORTED_TYPE = 1630;

// Value types, as RegGetValueType reports them.
constexpr uint32_t REG_NONE = 0;
constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_EXPAND_SZ = 2;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;
constexpr uint32_t REG_MULTI_SZ = 7;
constexpr uint32_t REG_QWORD = 11;

namespace qx {

// Several changes applied in order, in one locked rewrite per store touched.
// Deleting what does not exist is not an error inside an edit, so that an
// unregistration can run on a partly registered system.
class RegEdit {
 public:
  RegEdit& CreateKey(const std::string& key);
  RegEdit& SetString(const std::string& key, const std::string& name, const std::string& value);
  RegEdit& SetDword(const std::string& key, const std::string& name, uint32_t value);
  RegEdit& DeleteValue(const std::string& key, const std::string& name);
  RegEdit& DeleteTree(const std::string& key);

  struct Op {
    enum Kind { kCreateKey, kSetString, kSetDword, kDeleteValue, kDeleteTree } kind;
    std::string key, name, text;
    uint32_t dword = 0;
  };
  const std::vector<Op>& ops() const { return ops_; }

 private:
  std::vector<Op> ops_;
};

// The registry seen through two explicit store files (tests and the admin
// tool use temporary files). An empty user file means "no per-user store":
// HKEY_CURRENT_USER keys then do not exist and cannot be written.
class Registry {
 public:
  Registry(std::string machine_file, std::string user_file);
  // The stores named by the environment at the moment of the call.
  static Registry Default();

  // Name "" is the key's default value ("@" in the file).
  long GetString(const std::string& key, const std::string& name, std::string* value) const;
  long GetDword(const std::string& key, const std::string& name, uint32_t* value) const;
  long GetValueType(const std::string& key, const std::string& name, uint32_t* type) const;
  long HasValue(const std::string& key, const std::string& name) const;
  long KeyExists(const std::string& key) const;
  long EnumSubKeys(const std::string& key, std::vector<std::string>* names) const;
  long EnumValues(const std::string& key, std::vector<std::string>* names) const;

  long SetString(const std::string& key, const std::string& name, const std::string& value) const;
  long SetDword(const std::string& key, const std::string& name, uint32_t value) const;
  long CreateKey(const std::string& key) const;
  // Absent value or key: ERROR_FILE_NOT_FOUND.
  long DeleteValue(const std::string& key, const std::string& name) const;
  long DeleteTree(const std::string& key) const;
  long Apply(const RegEdit& edit) const;

  const std::string& machine_file() const { return machine_file_; }
  const std::string& user_file() const { return user_file_; }

 private:
  std::string machine_file_;
  std::string user_file_;
};

}  // namespace qx

// The same operations on the default stores (Registry::Default()).
long RegGetString(const std::string& key, const std::string& name, std::string* value);
long RegGetDword(const std::string& key, const std::string& name, uint32_t* value);
long RegGetValueType(const std::string& key, const std::string& name, uint32_t* type);
long RegHasValue(const std::string& key, const std::string& name);
long RegKeyExists(const std::string& key);
long RegEnumSubKeys(const std::string& key, std::vector<std::string>* names);
long RegEnumValues(const std::string& key, std::vector<std::string>* names);
long RegSetString(const std::string& key, const std::string& name, const std::string& value);
long RegSetDword(const std::string& key, const std::string& name, uint32_t value);
long RegCreateKey(const std::string& key);
long RegDeleteValue(const std::string& key, const std::string& name);
long RegDeleteTree(const std::string& key);
long RegApply(const qx::RegEdit& edit);
