// Machine faults, thrown exceptions and rejected arguments inside business
// methods: their codes, their reports, and what becomes of the object.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "server/last_fault.h"
#include "test_business.h"

namespace qx {
namespace {

using FrameFaults = FrameTest;

// A machine fault ends the business object; a thrown exception or a rejected
// argument ends only the call. A finalisation that throws when the object goes
// is logged, not fatal.
TEST_F(FrameFaults, EachFaultGivesItsCodeAndItsReport) {
  struct Caso {
    Pedido pedido;
    bool lancaAoFinalizar;  // the release then throws: handled as a thrown exception
    HRESULT hr;
    int registros;   // error lines of the call
    uint32_t falha;  // the machine fault; 0: the object stays
    int aoSoltar;    // error lines of the release
  };
  for (const Caso& caso :
       {Caso{kAcessoInvalido, false, static_cast<HRESULT>(0x8004EAC5u), 1, 0xC0000005u, 0},
        Caso{kDivisaoPorZero, false, static_cast<HRESULT>(0x8004EAD3u), 1, 0xC0000094u, 0},
        Caso{kEstouroDePilha, false, static_cast<HRESULT>(0x8004EADAu), 1, 0xC00000FDu, 0},
        Caso{kAcessoInvalido, true, static_cast<HRESULT>(0x8004EA64u), 2, 0xC0000005u, 0},
        Caso{kSemMemoria, false, static_cast<HRESULT>(0x8004EA64u), 1, 0, 0},
        Caso{kParametroInvalido, false, static_cast<HRESULT>(0x8004EAF0u), 1, 0, 0},  // EINVAL
        Caso{kNormal, true, S_OK, 0, 0, 1}}) {
    Lancamento objeto = Inicializado();
    ASSERT_EQ(objeto->SetDebito(caso.lancaAoFinalizar ? kLancaAoFinalizar : kNormal), S_OK);
    const int erros = company_.ErrorLines();
    EXPECT_EQ(objeto->SetDebito(caso.pedido), caso.hr) << caso.pedido;
    EXPECT_EQ(company_.ErrorLines(), erros + caso.registros) << caso.pedido;
    if (caso.falha == 0) {
      EXPECT_EQ(objeto->SetDebito(kNormal), S_OK);
    } else {
      EXPECT_EQ(LeUltimaFalha().codigo, caso.falha);
      EXPECT_FALSE(LeUltimaFalha().pilha.empty());
      // The damaged object is gone for good.
      EXPECT_EQ(objeto->SetDebito(kNormal), E_QXCR_NAO_INICIALIZADO);
      EXPECT_EQ(objeto->Inicializa_Padrao(RegistroInicializacao()), E_QXCR_SEM_OBJETO);
      _REG_DF_ERROPS erro;
      std::memset(&erro, 0x55, sizeof(erro));
      EXPECT_EQ(objeto->GetUltimoErro(&erro), S_OK);
      EXPECT_EQ(std::string(reinterpret_cast<char*>(&erro), sizeof(erro)),
                std::string(sizeof(erro), '\0'));
      ULONG quantidade = 0;
      EXPECT_EQ(objeto->GetQuantidadeEmpresas(&quantidade), E_QXCR_SEM_OBJETO);
    }
    const int antes = company_.ErrorLines();
    objeto.reset();
    EXPECT_EQ(company_.ErrorLines(), antes + caso.aoSoltar) << caso.pedido;
  }
  // Each fault reached the error-report library under the internal-failure
  // code, with the company and the call stack (or the rejected argument).
  const std::string relatorios = TestCompany::ReadAll(Relatorios());
  for (const char* hr : {"8004EAC5", "8004EAD3", "8004EADA", "8004EAF0"}) {
    const std::string inicio =
        std::string("81080BB1\t") + hr + "\t7FFFFFFF\tEMP1\tQXCN_Lancamento\t";
    const size_t linha = relatorios.find(inicio);
    ASSERT_NE(linha, std::string::npos) << hr << "\n" << relatorios;
    const std::string resto = relatorios.substr(linha, relatorios.find('\n', linha) - linha);
    EXPECT_NE(resto.rfind('\t'), resto.size() - 1) << "a call-stack text: " << resto;
  }
  EXPECT_NE(relatorios.find("\tExpression = Conta > 0\tFunction = SetDebito\tFile = "
                            "teste.cc\tLine = 12\n"),
            std::string::npos)
      << relatorios;
}

TEST_F(FrameFaults, IgnoredCodesAreNotLogged) {
  Lancamento objeto = Inicializado();
  const int erros = company_.ErrorLines();
  RegDados dados{};
  EXPECT_EQ(objeto->LeDados(1, 1, &dados), kHrLancamentoExcluido);
  EXPECT_EQ(company_.ErrorLines(), erros);
  int32_t conta = 0;
  EXPECT_EQ(objeto->GetDebito(&conta), kHrLancamentoExcluido);
  EXPECT_EQ(company_.ErrorLines(), erros + 1);
}

// Many objects on many threads, some of them faulting: a fault ends only its
// own object and its own call.
TEST_F(FrameFaults, FaultsStayWithTheirObjectAndThread) {
  unsetenv("QX_FAKE_QXMENS_LOG");
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      // Object 0 of every other thread faults at its tenth call.
      const Pedido falha = t % 2 == 0 ? kNormal : t % 4 == 1 ? kAcessoInvalido : kDivisaoPorZero;
      std::vector<Lancamento> objetos;
      for (int o = 0; o < 3; ++o) objetos.push_back(Inicializado());
      for (int volta = 0; volta < 40; ++volta) {
        for (int o = 0; o < 3; ++o) {
          const Pedido pedido = o == 0 && volta == 10 ? falha : kNormal;
          HRESULT esperado =
              o == 0 && volta > 10 && falha != kNormal ? E_QXCR_NAO_INICIALIZADO : S_OK;
          if (pedido != kNormal) esperado = pedido == kAcessoInvalido ? 0x8004EAC5u : 0x8004EAD3u;
          EXPECT_EQ(objetos[o]->SetDebito(pedido), esperado) << t << " " << o << " " << volta;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
}

}  // namespace
}  // namespace qx
