// A company and initialised business objects for the save tests, with raw
// reads of the month files and of the change log.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../entries/mes_gravado.h"
#include "../entries/test_company.h"
#include "lancamento/lancamento_base.h"
#include "outside/admin/company_admin.h"
#include "platform/bstr.h"
#include "values/qx_mes_ano.h"

namespace qx {

class SavingTest : public ::testing::Test {
 protected:
  static constexpr CQXData kData = CQXData::Make(15, 3, 2024);

  explicit SavingTest(bool ged = false) : company_(ged) {}

  static uint16_t Mes(CQXData data = kData) { return data.MesAno().Value(); }

  // A new business object initialised for user 1 (session key 3).
  static std::unique_ptr<CLancamentoBase> Objeto() {
    auto objeto = std::make_unique<CLancamentoBase>();
    EXPECT_EQ(objeto->Inicializa(RegistroInicializacao()), S_OK);
    return objeto;
  }

  // Fills the current entry: branch 1, the date, the accounts and amount (in
  // whole units) and a complement.
  static void Preenche(CLancamentoBase& objeto, int32_t debito, int32_t credito, int64_t valor,
                       const char* complemento = "", CQXData data = kData) {
    objeto.SetFilial(1);
    objeto.SetData(data.Value());
    objeto.SetDebito(debito);
    objeto.SetCredito(credito);
    objeto.SetValor(CURRENCY{valor * 10000});
    objeto.SetDocumento(77);
    objeto.SetHistorico(1);
    Texto(objeto, complemento);
  }
  static void Texto(CLancamentoBase& objeto, const std::string& complemento) {
    UniqueBstr texto(BstrFromCp1252(complemento));
    objeto.SetComplemento(texto.get());
  }
  // Saves the current entry, new (0) or over `indlan`, expecting `esperado`;
  // the position handed back.
  static int32_t Grava(CLancamentoBase& objeto, int32_t indlan = 0, HRESULT esperado = S_OK) {
    EXPECT_EQ(objeto.Grava(&indlan), esperado);
    return indlan;
  }

  // An entry data record of branch 1 on the test date, the amount in ten-thousandths.
  static RegDados Dados(int32_t debito, int32_t credito, int64_t valor) {
    RegDados dados{};
    dados.DataLancamento = kData.Value();
    dados.Debito = debito;
    dados.Credito = credito;
    dados.Filial = 1;
    dados.Valor = CURRENCY{valor};
    return dados;
  }

  // Hands the object a split of `linhas` lines of 10 each on accounts 2, 3, ...
  static void Divide(CLancamentoBase& objeto, uint16_t linhas) {
    std::vector<RegLan_Ger> lista(linhas);
    for (uint16_t i = 0; i < linhas; ++i) {
      lista[i].Valor = CURRENCY{100000};
      lista[i].ContaGerencial = 2 + i;
      lista[i].ContaContabil = 4;
    }
    ASSERT_EQ(objeto.SetLancamentoGerencial(linhas, lista.data()), S_OK);
  }

  MesGravado Arquivos(CQXData data = kData) const { return {company_.CnFolder(), Mes(data)}; }
  std::string Caminho(const char* prefixo, CQXData data = kData) const {
    return Arquivos(data).Nome(prefixo);
  }
  std::string Bytes(const char* prefixo, CQXData data = kData) const {
    return TestCompany::ReadAll(Caminho(prefixo, data));
  }
  // The records of a month file, the zero record included.
  template <class Registro>
  std::vector<Registro> Registros(const char* prefixo, CQXData data = kData) const {
    return Arquivos(data).template Le<Registro>(prefixo, 0);
  }
  std::vector<EntryRecord> Lancamentos(CQXData data = kData) const {
    return Registros<EntryRecord>(kPrefixoLancamentos, data);
  }
  std::vector<REGLAN_GER> Linhas(CQXData data = kData) const {
    return Registros<REGLAN_GER>(kPrefixoGerencial, data);
  }
  // The complement text at an offset of the month's heap, up to its end.
  std::string Complemento(uint32_t posicao, CQXData data = kData) const {
    const std::string heap = Bytes(kPrefixoComplementos, data);
    if (posicao >= heap.size()) return "";
    return std::string(heap.c_str() + posicao);
  }

  static std::vector<RegistroLog> Log() { return TestCompany::ChangeLog(); }
  static std::vector<std::string> Sequencia(size_t desde = 0) {
    return TestCompany::ChangeLogItems(desde);
  }

  CURRENCY Diferenca(CLancamentoBase& objeto, CQXData data = kData) const {
    CURRENCY total{};
    int32_t tem = 0;
    EXPECT_EQ(objeto.BuscaDiferencaDC(data.Value(), 1, 1, &total, &tem), S_OK);
    return total;
  }

  TestCompany company_;
};

}  // namespace qx
