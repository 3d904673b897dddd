// Class lookup through the registry store.
#include "platform/com_runtime.h"
#include "platform/registry.h"

namespace qx {
namespace {

constexpr int kMaxCurVerHops = 4;

}  // namespace

HRESULT ClassIdFromProgId(const std::string& progId, CLSID* clsid) {
  if (clsid == nullptr) return E_INVALIDARG;
  std::string name = progId;
  for (int hop = 0; hop <= kMaxCurVerHops && !name.empty(); ++hop) {
    std::string key = "HKEY_CLASSES_ROOT\\" + name;
    std::string text;
    if (RegGetString(key + "\\CLSID", "", &text) == ERROR_SUCCESS) {
      return GuidFromText(text, clsid) ? S_OK : CO_E_CLASSSTRING;
    }
    if (RegGetString(key + "\\CurVer", "", &text) != ERROR_SUCCESS) break;
    name = text;
  }
  return CO_E_CLASSSTRING;
}

HRESULT LocalServerCommand(const CLSID& clsid, std::string* command) {
  std::string key = "HKEY_CLASSES_ROOT\\CLSID\\" + GuidToBracedText(clsid) + "\\LocalServer32";
  if (RegGetString(key, "", command) != ERROR_SUCCESS || command->empty()) {
    return REGDB_E_CLASSNOTREG;
  }
  return S_OK;
}

}  // namespace qx

HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid) {
  if (progId == nullptr) return E_INVALIDARG;
  BSTR text = SysAllocString(progId);
  if (text == nullptr) return E_OUTOFMEMORY;
  std::string narrow = qx::BstrToCp1252(text);
  SysFreeString(text);
  return qx::ClassIdFromProgId(narrow, clsid);
}
