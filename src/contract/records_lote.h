// Interface records of the batch interface: the entries one call saves, with
// their split lines and the bytes of their complement texts, and the pages of
// a month's stored entries and split lines that one call reads. Packed,
// little-endian; pointers are 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/records_entry.h"
#include "contract/records_split.h"

#pragma pack(push, 1)

// One entry to save: its data as GravaDados takes it, the entry it replaces
// (0 or less: a new one), where its complement text lies in the call's text
// bytes, and how many of the call's split lines are its own (they follow those
// of the entries before it).
struct REG_LOTE_LANCAMENTO {
  RegDados Dados;
  int32_t Indlan;
  uint32_t ulInicioComplemento;
  uint16_t usTamanhoComplemento;
  uint16_t usQtdGerencial;
  uint8_t cFiller[4];
};

// One split line to save with its quantity.
struct REG_LOTE_GERENCIAL {
  RegLan_Ger Linha;
  RegQtd_Ger Quantidade;
};

// One stored entry of a month, deleted or not: its data as stored, its
// position, its status byte (0 live, 1 deleted, 2 live with a
// foreign-currency amount) and where its complement text lies in the page's
// text bytes (a length of 0: none, or not asked for). Status 2 with a
// ValorMoeda of 0 and cGravarZero other than 'S': the amount could not be
// read.
struct REG_LOTE_LANCAMENTO_LIDO {
  RegDados Dados;
  int32_t lPosicao;
  uint32_t ulInicioComplemento;
  uint16_t usTamanhoComplemento;
  uint8_t cStatus;
  uint8_t cFiller[5];
};

// A page of a month's entries: ulQtde records in position order, the bytes of
// their complement texts, and the last position the month held when it was
// read.
struct REG_LOTE_LISTA_LANCAMENTOS {
  uint32_t ulQtde;
  uint32_t ulTamanhoTextos;
  REG_LOTE_LANCAMENTO_LIDO* pLancamentos;
  uint8_t* pTextos;
  int32_t lUltimaPosicao;
  uint8_t cFiller[4];
};

// One stored split line of a month, as stored (removed lines are zero), with
// its quantity (0 where the company keeps none or the line has none).
struct REG_LOTE_GERENCIAL_LIDO {
  RegLan_Ger Linha;
  RegQtd_Ger Quantidade;
  int32_t lPosicao;
  uint8_t cFiller[4];
};

// A page of a month's split lines, in position order, and the last position
// the month's split file held when it was read.
struct REG_LOTE_LISTA_GERENCIAIS {
  uint32_t ulQtde;
  int32_t lUltimaPosicao;
  REG_LOTE_GERENCIAL_LIDO* pLinhas;
  void* pFiller;
};

#pragma pack(pop)

static_assert(sizeof(REG_LOTE_LANCAMENTO) == 80);
static_assert(offsetof(REG_LOTE_LANCAMENTO, Dados) == 0);
static_assert(offsetof(REG_LOTE_LANCAMENTO, Indlan) == 64);
static_assert(offsetof(REG_LOTE_LANCAMENTO, ulInicioComplemento) == 68);
static_assert(offsetof(REG_LOTE_LANCAMENTO, usTamanhoComplemento) == 72);
static_assert(offsetof(REG_LOTE_LANCAMENTO, usQtdGerencial) == 74);
static_assert(offsetof(REG_LOTE_LANCAMENTO, cFiller) == 76);

static_assert(sizeof(REG_LOTE_GERENCIAL) == 32);
static_assert(offsetof(REG_LOTE_GERENCIAL, Linha) == 0);
static_assert(offsetof(REG_LOTE_GERENCIAL, Quantidade) == 24);

static_assert(sizeof(REG_LOTE_LANCAMENTO_LIDO) == 80);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, Dados) == 0);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, lPosicao) == 64);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, ulInicioComplemento) == 68);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, usTamanhoComplemento) == 72);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, cStatus) == 74);
static_assert(offsetof(REG_LOTE_LANCAMENTO_LIDO, cFiller) == 75);

static_assert(sizeof(REG_LOTE_LISTA_LANCAMENTOS) == 32);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, ulQtde) == 0);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, ulTamanhoTextos) == 4);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, pLancamentos) == 8);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, pTextos) == 16);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, lUltimaPosicao) == 24);
static_assert(offsetof(REG_LOTE_LISTA_LANCAMENTOS, cFiller) == 28);

static_assert(sizeof(REG_LOTE_GERENCIAL_LIDO) == 40);
static_assert(offsetof(REG_LOTE_GERENCIAL_LIDO, Linha) == 0);
static_assert(offsetof(REG_LOTE_GERENCIAL_LIDO, Quantidade) == 24);
static_assert(offsetof(REG_LOTE_GERENCIAL_LIDO, lPosicao) == 32);
static_assert(offsetof(REG_LOTE_GERENCIAL_LIDO, cFiller) == 36);

static_assert(sizeof(REG_LOTE_LISTA_GERENCIAIS) == 24);
static_assert(offsetof(REG_LOTE_LISTA_GERENCIAIS, ulQtde) == 0);
static_assert(offsetof(REG_LOTE_LISTA_GERENCIAIS, lUltimaPosicao) == 4);
static_assert(offsetof(REG_LOTE_LISTA_GERENCIAIS, pLinhas) == 8);
static_assert(offsetof(REG_LOTE_LISTA_GERENCIAIS, pFiller) == 16);
