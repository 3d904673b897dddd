// Small helpers of the entry operations on one month's files.
#pragma once

#include <cstdint>
#include <string>

#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {

// Opens the month's file of `prefixo` in the company folder; a missing file is
// made by controlled creation unless `criar` is false.
inline int AbreArquivoMes(CQXarq& arq, const std::string& pasta, const char* prefixo,
                          uint16_t mesAno, char modo, uint32_t tamanhoRegistro, bool criar = true) {
  return arq.Abre(NomeArquivoMes(pasta, prefixo, mesAno).c_str(), modo, tamanhoRegistro, criar);
}

// Gives a month file opened for writing its first record (`primeiro`, of
// tamanhoRegistro bytes) when it holds less than one (made empty, or cut
// short): an append then never lands on position 0, which names no record.
inline int GaranteRegistroZero(CQXarq& arq, uint32_t tamanhoRegistro, const void* primeiro) {
  uint32_t tamanho = 0;
  if (int status = arq.Posiciona('F', 0, &tamanho)) return status;
  return tamanho >= tamanhoRegistro ? ARQ_OK : arq.GravaZero(primeiro, tamanhoRegistro);
}

// The date of an entry of the month: the month-year with the record's day
// byte (a month-year past the last one gives no date).
inline CQXData DataDoLancamento(uint16_t mesAno, int8_t dia) {
  return CQXData::FromMesAno(CQXMesAno(mesAno), dia);
}

}  // namespace qx
