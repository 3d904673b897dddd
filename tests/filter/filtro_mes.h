// Month files written with the record layer directly, for the filter tests:
// entries, complement texts and split chains of one month of the test
// company.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "../entries/mes_gravado.h"

namespace qx {

// A live entry of branch 1 on day `dia`, debit 4, credit 11, amount 100.00.
inline EntryRecord Lancamento(int8_t dia) {
  EntryRecord r{};
  r.Filial = 1;
  r.cDia = dia;
  r.Debito = 4;
  r.Credito = 11;
  r.Valor.int64 = 1000000;
  r.Documento = 10;
  r.CodHis = 1;
  r.Secao = 3;
  return r;
}

class MesDeTeste : public MesGravado {
 public:
  // Empties the month's CNLC, CNLG and CNLH down to their zero records.
  MesDeTeste(const std::string& pasta, uint16_t mesAno) : MesGravado(pasta, mesAno) {
    Recria<EntryRecord>(kPrefixoLancamentos, {});
    Recria<REGLAN_GER>(kPrefixoGerencial, {});
    Recria<char>(kPrefixoComplementos, {}, kComplementZeroByte);
  }

  // Appends a split chain of `dono` with one line per managerial account;
  // the first line's position.
  int32_t Gerencial(uint32_t dono, std::initializer_list<int32_t> contas) const {
    int32_t primeira = 0;
    for (int32_t conta : contas) {
      const int32_t posicao =
          Acrescenta(kPrefixoGerencial, REGLAN_GER{CURRENCY{100}, dono, conta, 4});
      if (primeira == 0) primeira = posicao;
    }
    return primeira;
  }

  // Writes the foreign-currency record of entry `indlan`, after zero records
  // for the entries before it that have none.
  void Moeda(uint32_t indlan, int64_t valor) const {
    CurrencyRecord registro{};
    for (size_t n = std::max<size_t>(1, Le<CurrencyRecord>(kPrefixoMoeda, 0).size()); n < indlan;
         ++n) {
      Acrescenta(kPrefixoMoeda, registro);
    }
    registro.ValorMoeda.int64 = valor;
    Grava(kPrefixoMoeda, &registro, kCurrencyRecordSize, indlan);
  }
};

}  // namespace qx
