// An initialised entry service object on a temporary company, with month
// files written straight through the record layer.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../entries/mes_gravado.h"
#include "../entries/test_company.h"
#include "lancamento/lancamento_base.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {

inline CQXMesAno Mes(int mes) { return CQXMesAno::Make(mes, 2024); }
inline uint32_t Dia(int dia, int mes) { return CQXData::Make(dia, mes, 2024).Value(); }

// A live typed entry of branch 1 (active for the test user).
inline EntryRecord Registro(int dia, int32_t debito, int32_t credito, int64_t valor,
                            uint16_t filial = 1) {
  EntryRecord r{};
  r.cDia = static_cast<int8_t>(dia);
  r.Debito = debito;
  r.Credito = credito;
  r.Valor.int64 = valor;
  r.Filial = filial;
  r.Documento = 100 + dia;
  r.CodHis = 1;
  return r;
}

class BuscaTest : public ::testing::Test {
 protected:
  void SetUp() override { Inicializa(); }
  void Inicializa() { ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK); }

  MesGravado Arquivos(CQXMesAno mes) const { return MesGravado(company_.CnFolder(), mes.Value()); }
  std::string Caminho(const char* prefixo, CQXMesAno mes) const {
    return Arquivos(mes).Nome(prefixo);
  }
  // Appends the records to the month's CNLC (made when missing).
  void Acrescenta(CQXMesAno mes, const std::vector<EntryRecord>& registros) const {
    for (const EntryRecord& r : registros) Arquivos(mes).Lancamento(r);
  }
  // Appends a complement text and its carriage return; its offset.
  int32_t AcrescentaComplemento(CQXMesAno mes, const std::string& texto) const {
    return Arquivos(mes).Complemento(texto + '\r');
  }
  EntryRecord Le(CQXMesAno mes, uint32_t posicao) const {
    return Arquivos(mes).Registro(static_cast<int32_t>(posicao));
  }

  // The count of a filtered search over the dates.
  int32_t Quantos(uint32_t inicial, uint32_t final) {
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.BuscaQtdLancamentos(inicial, final, &quantidade), S_OK);
    return quantidade;
  }

  // The keys of the last search, fetched with BuscaLancamentos.
  std::vector<int32_t> Chaves(int32_t quantidade) {
    std::vector<Lancamentos> lista(static_cast<size_t>(quantidade));
    EXPECT_EQ(objeto_.BuscaLancamentos(quantidade, lista.data()), S_OK);
    std::vector<int32_t> chaves;
    for (const Lancamentos& l : lista) chaves.push_back(l.Indlan);
    return chaves;
  }

  TestCompany company_;
  CLancamentoBase objeto_;
};

}  // namespace qx
