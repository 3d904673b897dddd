// An initialised entry service object on a temporary company, with month
// files written straight through the record layer.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../entries/test_company.h"
#include "entries/lancamento_base.h"
#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
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

  std::string Caminho(const char* prefixo, CQXMesAno mes) const {
    return NomeArquivoMes(company_.CnFolder(), prefixo, mes.Value());
  }

  // Appends the records to the month's CNLC (made when missing).
  void Acrescenta(CQXMesAno mes, const std::vector<EntryRecord>& registros) {
    CQXarq arquivo;
    ASSERT_EQ(arquivo.Abre(Caminho(kPrefixoLancamentos, mes).c_str(), 'G', kEntryRecordSize, true),
              ARQ_OK);
    for (const EntryRecord& r : registros) {
      uint32_t posicao = 0;
      ASSERT_EQ(arquivo.Grava(&r, &posicao, kEntryRecordSize), ARQ_OK);
    }
    ASSERT_EQ(arquivo.Fecha(), ARQ_OK);
  }

  // Appends a complement text to the month's CNLH (made when missing) and
  // gives its offset.
  int32_t AcrescentaComplemento(CQXMesAno mes, const std::string& texto) {
    const std::string caminho = Caminho(kPrefixoComplementos, mes);
    if (!std::filesystem::exists(caminho)) std::ofstream(caminho, std::ios::binary) << ' ';
    const auto posicao = static_cast<int32_t>(std::filesystem::file_size(caminho));
    std::ofstream(caminho, std::ios::binary | std::ios::app) << texto << '\r';
    return posicao;
  }

  // The stored record at a position.
  EntryRecord Le(CQXMesAno mes, uint32_t posicao) {
    CQXarq arquivo;
    EntryRecord r{};
    EXPECT_EQ(arquivo.Abre(Caminho(kPrefixoLancamentos, mes).c_str(), 'L', kEntryRecordSize, false),
              ARQ_OK);
    EXPECT_EQ(arquivo.Le(posicao, &r), ARQ_OK);
    arquivo.Fecha();
    return r;
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
