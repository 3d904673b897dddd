// One figure of the usage analytics: how often and how long one method ran for
// one company, application, class and user. The texts are Windows-1252,
// zero-terminated, owned by the sender; a null text counts as empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/clock.h"

#pragma pack(push, 1)
struct _REG_CR_ANALYTICSPS {
  char* pszEmpresa;       // +0 company
  char* pszAplicativo;    // +8 application
  char* pszOrigem;        // +16 origin (the sending server)
  char* pszClasse;        // +24 class part of the method name
  char* pszMetodo;        // +32 method part
  SYSTEMTIME stDataHora;  // +40 when the figures were sent
  int64_t i64Quantidade;  // +56 calls
  int64_t i64Total;       // +64 total duration, ms
  int64_t i64Maior;       // +72 longest call, ms
  int64_t i64Menor;       // +80 shortest call, ms
  uint32_t ulUsuario;     // +88 user number
  char cFiller[84];       // +92 zero
};
#pragma pack(pop)
static_assert(sizeof(_REG_CR_ANALYTICSPS) == 176);
static_assert(offsetof(_REG_CR_ANALYTICSPS, pszEmpresa) == 0);
static_assert(offsetof(_REG_CR_ANALYTICSPS, pszAplicativo) == 8);
static_assert(offsetof(_REG_CR_ANALYTICSPS, pszOrigem) == 16);
static_assert(offsetof(_REG_CR_ANALYTICSPS, pszClasse) == 24);
static_assert(offsetof(_REG_CR_ANALYTICSPS, pszMetodo) == 32);
static_assert(offsetof(_REG_CR_ANALYTICSPS, stDataHora) == 40);
static_assert(offsetof(_REG_CR_ANALYTICSPS, i64Quantidade) == 56);
static_assert(offsetof(_REG_CR_ANALYTICSPS, i64Total) == 64);
static_assert(offsetof(_REG_CR_ANALYTICSPS, i64Maior) == 72);
static_assert(offsetof(_REG_CR_ANALYTICSPS, i64Menor) == 80);
static_assert(offsetof(_REG_CR_ANALYTICSPS, ulUsuario) == 88);
static_assert(offsetof(_REG_CR_ANALYTICSPS, cFiller) == 92);
