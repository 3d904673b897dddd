// A business object for the frame tests: initialised without a database, and
// with methods that fault, throw or fail on request (the request travels as
// the argument of SetDebito), so that production code needs no test hooks.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>

#include "../entries/test_company.h"
#include "contract/entry_messages.h"
#include "platform/invalid_parameter.h"
#include "server/cqxcn_lancamento.h"

namespace qx {

enum Pedido : int32_t {
  kNormal = 0,
  kAcessoInvalido = 1,
  kDivisaoPorZero = 2,
  kEstouroDePilha = 3,
  kSemMemoria = 4,
  kParametroInvalido = 5,
  kLancaAoFinalizar = 6,  // the object's finalisation will throw
};

// The faults themselves, out of the optimiser's and the sanitizers' reach.
#define QX_FAULTING __attribute__((noinline, no_sanitize("address"), no_sanitize("undefined")))

QX_FAULTING inline void EscreveEmEnderecoInvalido() {
  volatile int* volatile alvo = nullptr;
  *alvo = 42;
}

QX_FAULTING inline int Divide(int a, int b) {
  volatile int dividendo = a;
  volatile int divisor = b;
  return dividendo / divisor;
}

QX_FAULTING inline int Recursa(int profundidade) {
  volatile char quadro[1024];
  quadro[profundidade % 1024] = static_cast<char>(profundidade);
  if (profundidade < 0) return 0;
  return Recursa(profundidade + 1) + quadro[(profundidade + 1) % 1024];
}

class TestBusiness : public CLancamentoBase {
 public:
  HRESULT SetDebito(int32_t pedido) {
    switch (pedido) {
      case kAcessoInvalido:
        EscreveEmEnderecoInvalido();
        break;
      case kDivisaoPorZero:
        return Divide(1, 0);
      case kEstouroDePilha:
        return Recursa(0);
      case kSemMemoria:
        throw std::bad_alloc();
      case kParametroInvalido:
        InvalidParameter(u"Conta > 0", u"SetDebito", u"teste.cc", 12, EINVAL);
        break;
      case kLancaAoFinalizar:
        m_lancaAoFinalizar = true;
        break;
    }
    return S_OK;
  }
  HRESULT GetQuantidadeEmpresas(ULONG* quantidade) {
    *quantidade = 7;
    return S_OK;
  }
  HRESULT LeDados(int32_t, uint16_t, RegDados*) { return kHrLancamentoExcluido; }
  HRESULT GetDebito(int32_t* conta) {
    *conta = 0;
    return kHrLancamentoExcluido;
  }

 protected:
  HRESULT OnInicializa() override { return S_OK; }
  void OnFinaliza() override {
    CLancamentoBase::OnFinaliza();
    if (m_lancaAoFinalizar) throw std::bad_alloc();
  }

 private:
  bool m_lancaAoFinalizar = false;
};

using TestObject = T_QXUnknown<IQXCN_Lancamento, TestBusiness>;

struct ReleaseInterface {
  void operator()(IQXCN_Lancamento* object) const { object->Release(); }
};
using Lancamento = std::unique_ptr<IQXCN_Lancamento, ReleaseInterface>;

template <class Object = TestObject>
Lancamento NovoLancamento() {
  void* object = nullptr;
  EXPECT_EQ(CriaObjeto<Object>(nullptr, IID_IQXCN_Lancamento, &object), S_OK);
  return Lancamento(static_cast<IQXCN_Lancamento*>(object));
}

// A company and the stand-in of the error-report library, whose calls go to
// a file.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_symlink(QX_FAKE_QXMENS, company_.Installation() + "x64/QXMens.so");
    setenv("QX_FAKE_QXMENS_LOG", Relatorios().c_str(), 1);
  }
  void TearDown() override { unsetenv("QX_FAKE_QXMENS_LOG"); }

  std::string Relatorios() const { return company_.root() + "/qxmens.log"; }
  std::string ProfilerLog() const { return company_.Installation() + "QXProfiler.log"; }

  Lancamento Inicializado() {
    Lancamento objeto = NovoLancamento();
    EXPECT_EQ(objeto->Inicializa_Padrao(RegistroInicializacao()), S_OK);
    return objeto;
  }

  TestCompany company_;
};

}  // namespace qx
