// REGDADOS: the packed entry data between the current entry and the RegDados
// records that the entry reads and the keyed reads hand out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/records_entry.h"
#include "lancamento/lancamento_atual.h"
#include "values/currency.h"

#pragma pack(push, 1)

struct REGDADOS {
  int32_t Documento;
  int32_t Complemento;
  int32_t Gerencial;
  uint32_t DataLancamento;
  int32_t lChaveModulo;
  uint16_t iData;
  CURRENCY Valor;
  CURRENCY ValorMoeda;
  int32_t Debito;
  int32_t Credito;
  int32_t Secao;
  int16_t CodHis;
  int16_t Filial;
  unsigned char cGravarZero;
  unsigned char cConferido;
  unsigned char cStatusIFRS;
  uint8_t cFiller;
};

#pragma pack(pop)

static_assert(sizeof(REGDADOS) == 58);
static_assert(offsetof(REGDADOS, Documento) == 0);
static_assert(offsetof(REGDADOS, Complemento) == 4);
static_assert(offsetof(REGDADOS, Gerencial) == 8);
static_assert(offsetof(REGDADOS, DataLancamento) == 12);
static_assert(offsetof(REGDADOS, lChaveModulo) == 16);
static_assert(offsetof(REGDADOS, iData) == 20);
static_assert(offsetof(REGDADOS, Valor) == 22);
static_assert(offsetof(REGDADOS, ValorMoeda) == 30);
static_assert(offsetof(REGDADOS, Debito) == 38);
static_assert(offsetof(REGDADOS, Credito) == 42);
static_assert(offsetof(REGDADOS, Secao) == 46);
static_assert(offsetof(REGDADOS, CodHis) == 50);
static_assert(offsetof(REGDADOS, Filial) == 52);
static_assert(offsetof(REGDADOS, cGravarZero) == 54);
static_assert(offsetof(REGDADOS, cConferido) == 55);
static_assert(offsetof(REGDADOS, cStatusIFRS) == 56);
static_assert(offsetof(REGDADOS, cFiller) == 57);

namespace qx {

// The current entry as entry data (every other byte zero).
REGDADOS DadosDoLancamento(const LancamentoAtual& atual);

// Fills every field of *destino but its trailing filler, which keeps what
// it held; the origin key's filler is zero.
void CopiaRegDados(const REGDADOS& dados, RegDados* destino);

}  // namespace qx
