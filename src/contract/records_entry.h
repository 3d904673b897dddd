// Interface records of single entries: keys, entry data, entry data with its
// complement text, and the raw listing of a month. Packed, little-endian,
// laid out byte for byte as clients send and receive them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"
#include "values/qx_dmcps.h"

#pragma pack(push, 1)

// One search key.
struct Lancamentos {
  int32_t Indlan;
  uint8_t cFiller[4];
};

// An entry's data as clients read and write it.
struct RegDados {
  int32_t Documento;
  int32_t Complemento;
  int32_t Gerencial;
  uint32_t DataLancamento;
  _QX_DMCPS wChaveOrigem;
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
  uint8_t cFiller[5];
};

// An entry's data followed by its complement text.
struct RegDadosComplemento {
  RegDados RegLan;
  char cComplemento[512];
};

// One record position of a month, as the month listing gives it.
struct REG_DADOS_LANCAMENTOS {
  _QX_DMCPS wChaveOrigem;
  CURRENCY Valor;
  CURRENCY ValorMoeda;
  int32_t Documento;
  int32_t Complemento;
  int32_t Gerencial;
  int32_t Debito;
  int32_t Credito;
  uint32_t DataLancamento;
  uint32_t lFiller;
  int32_t bExcluido;
  int16_t CodHis;
  int16_t Filial;
  uint16_t Secao;
  unsigned char cGravarZero;
  unsigned char cStatusIFRS;
};

#pragma pack(pop)

static_assert(sizeof(Lancamentos) == 8);
static_assert(offsetof(Lancamentos, Indlan) == 0);
static_assert(offsetof(Lancamentos, cFiller) == 4);

static_assert(sizeof(RegDados) == 64);
static_assert(offsetof(RegDados, Documento) == 0);
static_assert(offsetof(RegDados, Complemento) == 4);
static_assert(offsetof(RegDados, Gerencial) == 8);
static_assert(offsetof(RegDados, DataLancamento) == 12);
static_assert(offsetof(RegDados, wChaveOrigem) == 16);
static_assert(offsetof(RegDados, Valor) == 24);
static_assert(offsetof(RegDados, ValorMoeda) == 32);
static_assert(offsetof(RegDados, Debito) == 40);
static_assert(offsetof(RegDados, Credito) == 44);
static_assert(offsetof(RegDados, Secao) == 48);
static_assert(offsetof(RegDados, CodHis) == 52);
static_assert(offsetof(RegDados, Filial) == 54);
static_assert(offsetof(RegDados, cGravarZero) == 56);
static_assert(offsetof(RegDados, cConferido) == 57);
static_assert(offsetof(RegDados, cStatusIFRS) == 58);
static_assert(offsetof(RegDados, cFiller) == 59);

static_assert(sizeof(RegDadosComplemento) == 576);
static_assert(offsetof(RegDadosComplemento, RegLan) == 0);
static_assert(offsetof(RegDadosComplemento, cComplemento) == 64);

static_assert(sizeof(REG_DADOS_LANCAMENTOS) == 64);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, wChaveOrigem) == 0);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Valor) == 8);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, ValorMoeda) == 16);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Documento) == 24);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Complemento) == 28);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Gerencial) == 32);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Debito) == 36);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Credito) == 40);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, DataLancamento) == 44);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, lFiller) == 48);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, bExcluido) == 52);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, CodHis) == 56);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Filial) == 58);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, Secao) == 60);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, cGravarZero) == 62);
static_assert(offsetof(REG_DADOS_LANCAMENTOS, cStatusIFRS) == 63);
