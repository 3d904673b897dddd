// Tests of the entry service as a client sees it: a temporary company and
// service objects reached through the interface. Every suite here runs once
// per way a client can reach the service (see kServiceWays), so the same cases
// prove the object in process and, through the wire, the server.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../entries/test_company.h"
#include "entries/iqxcn_lancamento.h"
#include "server/cqxcn_lancamento.h"

namespace qx {

enum class Via { kEmProcesso };

inline std::string NomeDaVia(const ::testing::TestParamInfo<Via>& info) {
  switch (info.param) {
    case Via::kEmProcesso:
      return "EmProcesso";
  }
  return "Desconhecida";
}

struct LiberaServico {
  void operator()(IQXCN_Lancamento* servico) const { servico->Release(); }
};
using Servico = std::unique_ptr<IQXCN_Lancamento, LiberaServico>;

class ServiceTest : public ::testing::TestWithParam<Via> {
 protected:
  // A new service object, not yet initialised.
  Servico NovoServico() {
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
#define QX_SERVICE_SUITE(suite) \
  INSTANTIATE_TEST_SUITE_P(Vias, suite, ::testing::Values(::qx::Via::kEmProcesso), ::qx::NomeDaVia)

}  // namespace qx
