// The filter of a search of the change log's sessions. Every field that is 0
// admits everything.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct _REG_DF_FILTRO_LOGPS {
  uint32_t ulSessaoInicial;  // +0 sessions from this number ...
  uint32_t ulSessaoFinal;    // +4 ... up to this one
  uint32_t ulDataInicial;    // +8 sessions opened from this CQXData day ...
  uint32_t ulDataFinal;      // +12 ... up to this one
  char cFiller1[20];         // +16 zero
  uint16_t usUsuario;        // +36 sessions of this user
  char cFiller2[26];         // +38 zero
};
#pragma pack(pop)
static_assert(sizeof(_REG_DF_FILTRO_LOGPS) == 64);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, ulSessaoInicial) == 0);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, ulSessaoFinal) == 4);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, ulDataInicial) == 8);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, ulDataFinal) == 12);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, cFiller1) == 16);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, usUsuario) == 36);
static_assert(offsetof(_REG_DF_FILTRO_LOGPS, cFiller2) == 38);
