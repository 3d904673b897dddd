// A standard history and the history service's configuration.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One standard history (536 bytes).
struct _RegHistoricoPS {
  uint16_t usCodigo;      // +0 history code
  char cFiller1[4];       // +2 zero
  char szTexto[500];      // +6 the history text, zero-terminated
  char cFiller2[6];       // +506 zero
  char szAbreviacao[24];  // +512 short name, zero-terminated
};

// How a listing shows a history code (cTipoTextoCodigo): 0 the history text,
// 1 the code with its check digit, 2 the short name.
struct _REG_CN_HISTORICO_CONFIGURACAOPS {
  uint8_t cTipoTextoCodigo;  // +0
  char cFiller[15];          // +1 zero
};

#pragma pack(pop)

static_assert(sizeof(_RegHistoricoPS) == 536);
static_assert(offsetof(_RegHistoricoPS, usCodigo) == 0);
static_assert(offsetof(_RegHistoricoPS, cFiller1) == 2);
static_assert(offsetof(_RegHistoricoPS, szTexto) == 6);
static_assert(offsetof(_RegHistoricoPS, cFiller2) == 506);
static_assert(offsetof(_RegHistoricoPS, szAbreviacao) == 512);

static_assert(sizeof(_REG_CN_HISTORICO_CONFIGURACAOPS) == 16);
static_assert(offsetof(_REG_CN_HISTORICO_CONFIGURACAOPS, cTipoTextoCodigo) == 0);
static_assert(offsetof(_REG_CN_HISTORICO_CONFIGURACAOPS, cFiller) == 1);
