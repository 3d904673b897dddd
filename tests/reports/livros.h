// The books the report tests read: entries saved through the server in a
// test company, and the same entries kept here, so that each test works out
// what a report must say on its own, without the report code.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../entries/test_company.h"
#include "reports/falha.h"
#include "reports/grava.h"
#include "reports/sessao.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::test {

struct LinhaSalva {
  int32_t centro;
  int64_t valor;  // ten-thousandths
  int64_t quantidade;
  int32_t contaContabil;
};

struct Salvo {
  CQXData data;
  int32_t debito;
  int32_t credito;
  int64_t valor;  // ten-thousandths
  uint16_t filial;
  bool excluido = false;
  std::vector<LinhaSalva> rateio = {};
};

// The accounting chart of the sample company with a total "1.10" beside
// "1.1", and whether each is a total.
struct ContaDoPlano {
  int32_t numero;
  const char* classificacao;
  bool total;
};
inline const std::vector<ContaDoPlano> kPlano = {
    {1, "1", true},         {2, "1.1", true},         {3, "1.1.01", true},
    {4, "1.1.01.001", false}, {5, "1.1.01.002", false}, {40, "1.1.02", true},
    {6, "1.1.02.001", false}, {7, "1.10", true},         {8, "1.10.01.001", false},
    {10, "2", true},        {41, "2.1", true},        {42, "2.1.01", true},
    {11, "2.1.01.001", false}, {12, "2.1.01.002", false}, {14, "2.3", true},
    {15, "2.3.01", true},   {13, "2.3.01.001", false}, {20, "3", true},
    {43, "3.1", true},      {44, "3.1.01", true},     {21, "3.1.01.001", false},
    {30, "4", true},        {45, "4.1", true},        {46, "4.1.01", true},
    {31, "4.1.01.001", false}, {32, "4.1.01.002", false}};

inline CQXData Dia(int dia, int mes, int ano = 2024) { return CQXData::Make(dia, mes, ano); }
constexpr int64_t Reais(int64_t centavos) { return centavos * 100; }

// Entries over December 2023 to June 2024: before the books start, before
// the period (March to May), in it and after it; on both active branches of
// user 1 and on branch 3, which is not his; deleted and one-sided ones; an
// account the chart does not have (99); one account on both sides; one under
// "1.10"; splits with quantities over three centres.
inline const std::vector<Salvo> kSalvos = {
    {Dia(15, 12, 2023), 4, 21, Reais(10000), 1},
    {Dia(10, 1), 4, 21, Reais(150000), 1},
    {Dia(20, 2), 31, 5, Reais(30000), 2, false,
     {{2, Reais(20000), 20000, 31}, {3, Reais(10000), 10000, 31}}},
    {Dia(29, 2), 5, 0, Reais(5000), 1},
    {Dia(5, 3), 31, 5, Reais(80000), 1, false,
     {{2, Reais(50000), 50000, 31}, {3, Reais(30000), 30000, 31}}},
    {Dia(1, 3), 5, 6, Reais(200000), 1},
    {Dia(5, 3), 0, 21, Reais(12000), 2},
    {Dia(10, 3), 4, 21, Reais(99999), 1, true},
    {Dia(2, 4), 99, 5, Reais(7000), 1},
    {Dia(15, 4), 32, 4, Reais(1234), 3},
    {Dia(30, 4), 31, 4, Reais(100000), 2, false,
     {{4, Reais(60000), 15000, 31}, {2, Reais(40000), 5000, 31}}},
    {Dia(31, 5), 6, 21, Reais(45050), 1, false, {{3, Reais(45050), 0, 21}}},
    {Dia(31, 5), 5, 5, Reais(1000), 1},
    {Dia(1, 6), 4, 5, Reais(100), 1},
    {Dia(5, 2), 8, 21, Reais(700), 2},
    {Dia(12, 3), 8, 5, Reais(3300), 1},
    {Dia(3, 3), 5, 21, Reais(2500), 2, true, {{2, Reais(2500), 10000, 21}}},
};

// The books open from 1 January 2024; the period runs from March to May.
inline const CQXData kDesde = Dia(1, 1);
inline const CQXData kDe = Dia(1, 3);
inline const CQXData kAte = Dia(31, 5);

// What user 1 sees: live entries of his branches (1 and 2), of one of them
// when filial is not 0.
inline bool Visivel(const Salvo& s, uint16_t filial) {
  return !s.excluido && (s.filial == 1 || s.filial == 2) && (filial == 0 || s.filial == filial);
}

class Livros : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    empresa_ = new TestCompany();
    setenv("QX_RUNTIME_DIR", (empresa_->root() + "/run").c_str(), 1);
    ASSERT_EQ(std::system(QX_TEST_BINARY_DIR "/tools/ostrel/ostrel -RegServer"), 0);
    const std::shared_ptr<SuiteDatabase> db = TestCompany::Database();
    for (const ContaCadastro& conta : {ContaCadastro{'C', 7, 1, "1.10", "OUTROS", 'T'},
                                       ContaCadastro{'C', 8, 7, "1.10.01.001", "Outros", 'A'}}) {
      ASSERT_EQ(AdicionaConta(*db, conta), S_OK);
    }
    servico_ = new SessaoLancamento(Identidade{TestCompany::kCodigo, "teste", 1, 4096});
    for (const Salvo& s : kSalvos) Salva(s);
  }
  static void TearDownTestSuite() {
    delete servico_;
    delete empresa_;
    unsetenv("QX_RUNTIME_DIR");
  }

  static SessaoLancamento& Servico() { return *servico_; }

 private:
  static void Salva(const Salvo& s) {
    SessaoLancamento& servico = *servico_;
    RegDados dados{};
    dados.DataLancamento = s.data.Value();
    dados.Debito = s.debito;
    dados.Credito = s.credito;
    dados.Valor.int64 = s.valor;
    dados.Filial = static_cast<int16_t>(s.filial);
    RegistrosRateio rateio;
    for (const LinhaSalva& l : s.rateio) {
      rateio.linhas.push_back({CURRENCY{l.valor}, 0, l.centro, l.contaContabil, {}});
      rateio.quantidades.push_back({CURRENCY{l.quantidade}});
    }
    int32_t posicao = 0;
    GravaLancamento(servico, &dados, "lan\xE7" "amento de " + s.data.Text(1, '/'), &rateio,
                    &posicao);
    if (s.excluido) {
      Verifica(servico->Exclui(posicao, static_cast<uint16_t>(s.data.MesAno().Value())), "Exclui");
    }
  }

  static inline TestCompany* empresa_ = nullptr;
  static inline SessaoLancamento* servico_ = nullptr;
};

}  // namespace qx::test
