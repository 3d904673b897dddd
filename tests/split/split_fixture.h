// Fixture of the split tests: an initialised entry service object of the
// test company, and month files written and read through the record files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../entries/mes_gravado.h"
#include "../entries/test_company.h"
#include "contract/records_split.h"
#include "lancamento/lancamento_base.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {

// A split line: owner word, managerial and accounting accounts, amount.
inline REGLAN_GER Line(uint32_t dono, int32_t gerencial, int32_t contabil, int64_t valor) {
  return REGLAN_GER{CURRENCY{valor}, dono, gerencial, contabil};
}

// A target of a redistribution with its percentage (ten-thousandths).
inline REG_REDISTR_GERENCIAL Alvo(uint16_t conta, int64_t percentual) {
  REG_REDISTR_GERENCIAL alvo{};
  alvo.iContaGerencial = conta;
  alvo.vPercentual.int64 = percentual;
  return alvo;
}

class SplitTest : public ::testing::Test {
 protected:
  static constexpr uint16_t kMarco = CQXMesAno::Make(3, 2024).Value();

  // quantidades: whether the company keeps managerial quantities.
  void Inicializa(bool quantidades = true) {
    company_.SetConfig("managerial-quantities", quantidades ? 1 : 0);
    ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK);
  }

  MesGravado Arquivos(uint16_t mes = kMarco) const { return MesGravado(company_.CnFolder(), mes); }
  std::string Path(const char* prefixo, uint16_t mes = kMarco) const {
    return Arquivos(mes).Nome(prefixo);
  }
  // Makes the file anew: its zero record, then the records from position 1.
  template <class Record>
  void Write(const char* prefixo, const std::vector<Record>& records, uint16_t mes = kMarco) {
    Arquivos(mes).Recria(prefixo, records);
  }
  // The records from position 1 to the end.
  template <class Record>
  std::vector<Record> Read(const char* prefixo, uint16_t mes = kMarco) const {
    return Arquivos(mes).template Le<Record>(prefixo);
  }

  static EntryRecord Entry(int8_t dia, uint16_t filial, int32_t gerencial, uint8_t status = 0) {
    EntryRecord record{};
    record.Debito = 4;
    record.Credito = 11;
    record.Valor.int64 = 1500000;
    record.Filial = filial;
    record.cDia = dia;
    record.Gerencial = gerencial;
    record.cStatus = status;
    return record;
  }

  static uint32_t Dia(int dia) { return CQXData::Make(dia, 3, 2024).Value(); }

  TestCompany company_;
  CLancamentoBase objeto_;
};

}  // namespace qx

// Split lines compare and print field by field (the records have no operators).
inline bool operator==(const REGLAN_GER& a, const REGLAN_GER& b) {
  return a.Valor.int64 == b.Valor.int64 && a.Indlan == b.Indlan &&
         a.ContaGerencial == b.ContaGerencial && a.ContaContabil == b.ContaContabil;
}

inline void PrintTo(const REGLAN_GER& l, std::ostream* os) {
  *os << "{" << l.Valor.int64 << ", " << l.Indlan << ", " << l.ContaGerencial << ", "
      << l.ContaContabil << "}";
}
