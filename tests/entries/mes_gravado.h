// The record files of one month of a company folder, written and read straight
// through the record layer, for tests that need stored records without a save.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"

namespace qx {

class MesGravado {
 public:
  MesGravado(std::string pasta, uint16_t mes) : pasta_(std::move(pasta)), mes_(mes) {}

  std::string Nome(const char* prefixo) const { return NomeArquivoMes(pasta_, prefixo, mes_); }

  // Writes `tamanho` bytes as record `posicao` (0 appends), the file made by
  // controlled creation when missing; the record's position.
  uint32_t Grava(const char* prefixo, const void* bytes, uint32_t tamanho,
                 uint32_t posicao = 0) const {
    CQXarq arq;
    EXPECT_EQ(arq.Abre(Nome(prefixo).c_str(), 'G', tamanho, true), ARQ_OK) << Nome(prefixo);
    EXPECT_EQ(arq.Grava(bytes, &posicao, tamanho), ARQ_OK);
    arq.Fecha();
    return posicao;
  }
  template <class Registro>
  int32_t Acrescenta(const char* prefixo, const Registro& registro) const {
    return static_cast<int32_t>(Grava(prefixo, &registro, sizeof registro));
  }
  int32_t Lancamento(const EntryRecord& registro) const {
    return Acrescenta(kPrefixoLancamentos, registro);
  }

  // Appends text bytes to the complement heap (made with its zero byte when
  // missing); their offset.
  int32_t Complemento(const std::string& bytes) const {
    if (!std::filesystem::exists(Nome(kPrefixoComplementos))) {
      Recria<char>(kPrefixoComplementos, {}, kComplementZeroByte);
    }
    CQXarq heap;
    const auto tamanho = static_cast<uint32_t>(bytes.size());
    EXPECT_EQ(heap.Abre(Nome(kPrefixoComplementos).c_str(), 'G', 1, true), ARQ_OK);
    uint32_t fim = 0;
    EXPECT_EQ(heap.Posiciona('F', 0, &fim), ARQ_OK);
    uint32_t posicao = 0;
    EXPECT_EQ(heap.Grava(bytes.data(), &posicao, tamanho), ARQ_OK);
    heap.Fecha();
    return static_cast<int32_t>(fim);
  }

  // Makes the file anew: its zero record, then the records from position 1.
  template <class Registro>
  void Recria(const char* prefixo, const std::vector<Registro>& registros,
              const Registro& zero = Registro{}) const {
    CQXarq arq;
    ASSERT_EQ(arq.Abre(Nome(prefixo).c_str(), 'C', sizeof(Registro), true), ARQ_OK);
    ASSERT_EQ(arq.GravaZero(&zero, sizeof zero), ARQ_OK);
    for (const Registro& registro : registros) {
      uint32_t posicao = 0;
      ASSERT_EQ(arq.Grava(&registro, &posicao, sizeof registro), ARQ_OK);
    }
    arq.Fecha();
  }

  // The records from position `primeiro` to the end (none when the file is missing).
  template <class Registro>
  std::vector<Registro> Le(const char* prefixo, uint32_t primeiro = 1) const {
    std::vector<Registro> registros;
    CQXarq arq;
    if (arq.Abre(Nome(prefixo).c_str(), 'L', sizeof(Registro), false) != ARQ_OK) return registros;
    Registro registro;
    for (uint32_t p = primeiro; arq.Le(p, &registro) == ARQ_OK; ++p) registros.push_back(registro);
    arq.Fecha();
    return registros;
  }
  EntryRecord Registro(int32_t indlan) const {
    const std::vector<EntryRecord> lido =
        Le<EntryRecord>(kPrefixoLancamentos, static_cast<uint32_t>(indlan));
    EXPECT_FALSE(lido.empty()) << indlan;
    return lido.empty() ? EntryRecord{} : lido.front();
  }

 private:
  std::string pasta_;
  uint16_t mes_;
};

}  // namespace qx
