// Tests of the entry service as a client sees it: a temporary company and
// service objects reached through the interface. Every suite here runs once
// per way a client can reach the service (Via), so the same cases prove the
// object in process and, through libqxcom and the wire, the ostrel server
// registered in the test company's registry store.
#pragma once

#include "server/cqxcn_lancamento.h"
#include "soak_support.h"

namespace qx {

enum class Via {
  kEmProcesso,  // the object of this process
  kServidor,    // created by ProgID in an ostrel process started by the runtime
};

inline std::string NomeDaVia(const ::testing::TestParamInfo<Via>& info) {
  return info.param == Via::kServidor ? "Servidor" : "EmProcesso";
}

using Servico = soak::Service;

class ServiceTest : public ::testing::TestWithParam<Via> {
 protected:
  // ostrel registers itself in the company's registry store; its sockets live in a runtime
  // folder of this test, so every test starts a server of its own.
  ServiceTest() {
    if (GetParam() != Via::kServidor) return;
    test::RegisterOstrel(company_.root() + "/run");
  }
  ~ServiceTest() override { unsetenv("QX_RUNTIME_DIR"); }

  // A new service object, not yet initialised.
  Servico NovoServico() {
    if (GetParam() == Via::kServidor) {
      IQXCN_Lancamento* servico = nullptr;
      EXPECT_EQ(CriaServicoLancamento(&servico), S_OK);
      return Servico(servico);
    }
    void* object = nullptr;
    EXPECT_EQ(QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &object), S_OK);
    return Servico(static_cast<IQXCN_Lancamento*>(object));
  }
  // A new service object initialised for the test company's user 1.
  Servico Inicializado() {
    Servico servico = NovoServico();
    EXPECT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), S_OK);
    return servico;
  }

  TestCompany company_;
};

// Instantiates a suite of ServiceTest cases for every way of reaching the service.
#define QX_SERVICE_SUITE(suite)                                                             \
  INSTANTIATE_TEST_SUITE_P(Vias, suite,                                                     \
                           ::testing::Values(::qx::Via::kEmProcesso, ::qx::Via::kServidor), \
                           ::qx::NomeDaVia)

}  // namespace qx
