// The fixtures of the marshalling tests: the fake entry service and its callers
// (fake_lancamento.h), a private runtime folder and registry for each test, the fake offered
// by this process under the service's class id, and remote objects created through it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../platform/runtime_support.h"
#include "contract/interface_ids.h"
#include "fake_lancamento.h"

namespace qx::test {

struct LiberaInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};
using RemoteLancamento = std::unique_ptr<IQXCN_Lancamento, LiberaInterface>;

class RemoteTest : public RuntimeTest {
 protected:
  RemoteTest() {
    RegisterLancamentoStub();
    RegisterLancamentoProxy();
    registered_ = CoRegisterClassObject(CLSID_QXCN_Lancamento, &factory_, CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE, &cookie_);
  }
  ~RemoteTest() override {
    if (SUCCEEDED(registered_)) CoRevokeClassObject(cookie_);
  }

  // A new fake in this process's server, through a connection of its own.
  RemoteLancamento Remote() {
    EXPECT_EQ(registered_, S_OK);
    MULTI_QI result = {&IID_IQXCN_Lancamento, nullptr, S_OK};
    EXPECT_EQ(CoCreateInstanceEx(CLSID_QXCN_Lancamento, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1,
                                 &result),
              S_OK);
    return RemoteLancamento(static_cast<IQXCN_Lancamento*>(result.pItf));
  }

  FakeLancamentoFactory factory_;
  HRESULT registered_ = E_FAIL;
  DWORD cookie_ = 0;
};

// A fake of this process (one reference, released with the object).
inline RemoteLancamento LocalFake(FakeLancamento** fake) {
  *fake = new FakeLancamento;
  (*fake)->AddRef();
  return RemoteLancamento(*fake);
}

}  // namespace qx::test