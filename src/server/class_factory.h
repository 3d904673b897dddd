// The class object of QXCN_Lancamento that the server offers to the runtime.
#pragma once

#include "platform/com_runtime.h"
#include "server/exe_module.h"

namespace qx {

class FabricaLancamento final : public IClassFactory {
 public:
  explicit FabricaLancamento(ExeModule& modulo) : m_modulo(modulo) {}

  // IUnknown and IClassFactory; the module owns the object.
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }

  // E_POINTER for a null result, CLASS_E_NOAGGREGATION for an outer object
  // that asks for anything but IUnknown (and the object refuses any outer).
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  // A server lock counts in the module's lock count.
  HRESULT LockServer(int lock) override;

 private:
  ExeModule& m_modulo;
};

}  // namespace qx
