// The current entry of an entry service object: what the setters fill, Le
// loads, the save writes and the getters hand out. Every field is zero after
// construction and initialisation.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/records/entry_records.h"
#include "values/currency.h"
#include "values/qx_data.h"

namespace qx {

struct LancamentoAtual {
  int32_t Documento = 0;
  int32_t Debito = 0;
  int32_t Credito = 0;
  CURRENCY Valor{};
  uint16_t Filial = 0;
  uint16_t CodHis = 0;
  CQXData Data;
  CURRENCY ValorMoeda{};
  // Origin key: module (bits 0-7) and key, and the origin month-year.
  uint32_t lChaveModulo = 0;
  uint16_t iData = 0;
  // 'S' keeps a CNLM record for a zero ValorMoeda.
  char cGravarZero = 0;
  uint8_t cStatusIFRS = 0;
  // Read only: every save writes 0 and the writer's session key.
  uint8_t cConferido = 0;
  uint32_t Secao = 0;
  // Byte offset of the complement text in CNLH, 0 = none.
  uint32_t ulComplemento = 0;
  // Position of the first split line in CNLG, and the one the entry had when
  // it was loaded (its old chain is removed by the next save).
  uint32_t ulGerencial = 0;
  uint32_t ulGerencialAnterior = 0;
  // Month-year and position of the entry last loaded or saved: LeGerencial
  // reads that month's split lines, and an update of that position keeps to
  // that month.
  uint16_t usMesAnoLido = 0;
  uint32_t ulIndlanLido = 0;
  // Status byte of a newly written record.
  uint8_t cStatusNovo = 0;
  // Complement text to save, Windows-1252, zero-terminated.
  char szComplemento[512] = {};
};

// The split lines and quantities to save with the current entry; entry i of
// the quantities belongs to line i of the split.
struct GerencialAtual {
  std::vector<REGLAN_GER> linhas;
  std::vector<REGQTD_GER> quantidades;
};

}  // namespace qx
