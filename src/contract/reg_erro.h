// The last-error record handed to a client.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com_types.h"

#pragma pack(push, 1)
struct _REG_DF_ERROPS {
  HRESULT hr;                 // the failure code
  int32_t nCodigoErro;        // error number
  int32_t lCodigoMensagem;    // message number
  int32_t iRegistro;          // record concerned
  int32_t iItem;              // item concerned
  int32_t lCodigoCampo;       // field concerned
  uint16_t nModuloMensagem;   // module of the message
  int16_t nTipoErro;          // kind of error
  uint16_t usNumeroServidor;  // number of the server that failed
  char cMensagem[302];        // message text, zero-terminated
  char szEmpresa[48];         // company code, zero-terminated
  char cFiller[100];          // zero
};
#pragma pack(pop)
static_assert(sizeof(_REG_DF_ERROPS) == 480);
static_assert(offsetof(_REG_DF_ERROPS, hr) == 0);
static_assert(offsetof(_REG_DF_ERROPS, nCodigoErro) == 4);
static_assert(offsetof(_REG_DF_ERROPS, lCodigoMensagem) == 8);
static_assert(offsetof(_REG_DF_ERROPS, iRegistro) == 12);
static_assert(offsetof(_REG_DF_ERROPS, iItem) == 16);
static_assert(offsetof(_REG_DF_ERROPS, lCodigoCampo) == 20);
static_assert(offsetof(_REG_DF_ERROPS, nModuloMensagem) == 24);
static_assert(offsetof(_REG_DF_ERROPS, nTipoErro) == 26);
static_assert(offsetof(_REG_DF_ERROPS, usNumeroServidor) == 28);
static_assert(offsetof(_REG_DF_ERROPS, cMensagem) == 30);
static_assert(offsetof(_REG_DF_ERROPS, szEmpresa) == 332);
static_assert(offsetof(_REG_DF_ERROPS, cFiller) == 380);
