// Interface records of the web listing: its filter, the list it hands out
// and one listed entry. Packed, little-endian; pointers are 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"
#include "values/qx_dmcps.h"

#pragma pack(push, 1)

struct _REG_FILTRO_LANCAMENTO_TARVOWEB_PS {
  uint32_t ulPosicaoDocumentoInicial;
  uint32_t ulPosicaoDocumentoFinal;
  uint32_t ulPosicaoConta;
  uint32_t ulPosicaoHistorico;
  uint32_t ulPosicaoFilial;
  uint32_t usDataInicial;
  uint32_t usDataFinal;
  _QX_DMCPS dmcChaveCompostaInicial;
  _QX_DMCPS dmcChaveCompostaFinal;
  char cComplemento[64];
  unsigned char cIfrs;
  uint8_t cFiller[11];
};

struct _REG_LANCAMENTO_TARVOWEB_PS {
  uint32_t ulPosicaoContaDebito;
  uint32_t ulPosicaoContaCredito;
  uint32_t ulPosicaoFilial;
  uint32_t ulPosicaoDocumento;
  CURRENCY vValor;
  _QX_DMCPS dmcChaveComposta;
  uint32_t usData;
  char cCodigoHistorico[6];
  uint8_t cFiler[6];
};

// ulQtde listed entries at pPonteiros.
struct _REG_LISTA_LANCAMENTOS_TARVOWEB_PS {
  uint8_t cFiller[4];
  uint32_t ulQtde;
  _REG_LANCAMENTO_TARVOWEB_PS* pPonteiros;
  void* pFiller;
};

#pragma pack(pop)

static_assert(sizeof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS) == 120);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, ulPosicaoDocumentoInicial) == 0);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, ulPosicaoDocumentoFinal) == 4);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, ulPosicaoConta) == 8);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, ulPosicaoHistorico) == 12);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, ulPosicaoFilial) == 16);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, usDataInicial) == 20);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, usDataFinal) == 24);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, dmcChaveCompostaInicial) == 28);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, dmcChaveCompostaFinal) == 36);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, cComplemento) == 44);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, cIfrs) == 108);
static_assert(offsetof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS, cFiller) == 109);

static_assert(sizeof(_REG_LANCAMENTO_TARVOWEB_PS) == 48);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, ulPosicaoContaDebito) == 0);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, ulPosicaoContaCredito) == 4);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, ulPosicaoFilial) == 8);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, ulPosicaoDocumento) == 12);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, vValor) == 16);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, dmcChaveComposta) == 24);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, usData) == 32);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, cCodigoHistorico) == 36);
static_assert(offsetof(_REG_LANCAMENTO_TARVOWEB_PS, cFiler) == 42);

static_assert(sizeof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS) == 24);
static_assert(offsetof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS, cFiller) == 0);
static_assert(offsetof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS, ulQtde) == 4);
static_assert(offsetof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS, pPonteiros) == 8);
static_assert(offsetof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS, pFiller) == 16);
