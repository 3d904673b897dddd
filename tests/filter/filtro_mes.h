// Month files written with the record layer directly, for the filter tests:
// entries, complement texts and split chains of one month of the test
// company.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"

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

class MesDeTeste {
 public:
  // Empties the month's CNLC, CNLG and CNLH down to their zero records.
  MesDeTeste(const std::string& pasta, uint16_t mesAno) : pasta_(pasta), mesAno_(mesAno) {
    Esvazia(kPrefixoLancamentos, kEntryRecordSize, '\0');
    Esvazia(kPrefixoGerencial, kSplitRecordSize, '\0');
    Esvazia(kPrefixoComplementos, 1, kComplementZeroByte);
  }

  std::string Nome(const char* prefixo) const { return NomeArquivoMes(pasta_, prefixo, mesAno_); }

  // Appends an entry; its position.
  uint32_t Acrescenta(const EntryRecord& registro) const {
    return Grava(kPrefixoLancamentos, &registro, kEntryRecordSize);
  }

  // Appends a complement text; its offset in the heap.
  int32_t Complemento(const std::string& texto) const {
    CQXarq heap;
    const auto tamanho = static_cast<uint32_t>(texto.size());
    EXPECT_EQ(heap.Abre(Nome(kPrefixoComplementos).c_str(), 'G', tamanho, true), ARQ_OK);
    uint32_t fim = 0;
    EXPECT_EQ(heap.Posiciona('F', 0, &fim), ARQ_OK);
    uint32_t posicao = 0;
    EXPECT_EQ(heap.Grava(texto.data(), &posicao, tamanho), ARQ_OK);
    heap.Fecha();
    return static_cast<int32_t>(fim);
  }

  // Appends a split chain of `dono` with one line per managerial account;
  // the first line's position.
  int32_t Gerencial(uint32_t dono, std::initializer_list<int32_t> contas) const {
    uint32_t primeira = 0;
    for (int32_t conta : contas) {
      const REGLAN_GER linha{CURRENCY{100}, dono, conta, 4};
      const uint32_t posicao = Grava(kPrefixoGerencial, &linha, kSplitRecordSize);
      if (primeira == 0) primeira = posicao;
    }
    return static_cast<int32_t>(primeira);
  }

  // Writes the foreign-currency record of entry `indlan`, after zero records
  // for the entries before it that have none.
  void Moeda(uint32_t indlan, int64_t valor) const {
    CQXarq arq;
    ASSERT_EQ(arq.Abre(Nome(kPrefixoMoeda).c_str(), 'G', kCurrencyRecordSize, true), ARQ_OK);
    uint32_t tamanho = 0;
    ASSERT_EQ(arq.Posiciona('F', 0, &tamanho), ARQ_OK);
    CurrencyRecord registro{};
    for (uint32_t n = tamanho / kCurrencyRecordSize; n < indlan; ++n) {
      uint32_t posicao = 0;
      ASSERT_EQ(arq.Grava(&registro, &posicao, kCurrencyRecordSize), ARQ_OK);
    }
    registro.ValorMoeda.int64 = valor;
    ASSERT_EQ(arq.Grava(&registro, &indlan, kCurrencyRecordSize), ARQ_OK);
    arq.Fecha();
  }

 private:
  void Esvazia(const char* prefixo, uint32_t tamanho, char zero) const {
    CQXarq arq;
    ASSERT_EQ(arq.Abre(Nome(prefixo).c_str(), 'C', tamanho, true), ARQ_OK);
    char bytes[kEntryRecordSize];
    std::memset(bytes, zero, sizeof bytes);
    uint32_t posicao = 0;
    ASSERT_EQ(arq.Grava(bytes, &posicao, tamanho), ARQ_OK);
    arq.Fecha();
  }

  uint32_t Grava(const char* prefixo, const void* registro, uint32_t tamanho) const {
    CQXarq arq;
    EXPECT_EQ(arq.Abre(Nome(prefixo).c_str(), 'G', tamanho, true), ARQ_OK);
    uint32_t posicao = 0;
    EXPECT_EQ(arq.Grava(registro, &posicao, tamanho), ARQ_OK);
    arq.Fecha();
    return posicao;
  }

  std::string pasta_;
  uint16_t mesAno_;
};

}  // namespace qx
