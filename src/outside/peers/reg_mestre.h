// The accounting master's two configuration records of a company. Dates are
// CQXData day numbers, 0 for none.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// The period configuration (104 bytes).
struct _REG_CN_CONFIGURACAOPS {
  uint32_t ulExercicio;             // +0 number (year) of the accounting period
  uint32_t ulDataInicial;           // +4 first day of the period
  uint32_t ulDataFinal;             // +8 last day of the period
  uint32_t ulDataInicialPermitida;  // +12 range in which imported entries may be
  uint32_t ulDataFinalPermitida;    // +16   removed (none when the first is 0)
  uint32_t ulDataInicialBloqueada;  // +20 range in which removal is refused
  uint32_t ulDataFinalBloqueada;    // +24   (none when the first is 0)
  char cFiller1[4];                 // +28 zero
  uint16_t usCodigoCliente;         // +32 the company's client code
  char cFiller2[70];                // +34 zero
};

// The complementary configuration (888 bytes).
struct _REG_CN_CONFIGURACAO_COMPLEMENTARPS {
  char cFiller1[836];           // +0 zero
  uint32_t ulMoedaEstrangeira;  // +836 non-zero: foreign-currency amounts are kept
  char cFiller2[28];            // +840 zero
  uint8_t cModoDiferenca;       // +868 grouping of the debit/credit differences
  uint8_t cDiferencaPorFilial;  // +869 non-zero: differences are kept per branch
  char cFiller3[18];            // +870 zero
};

#pragma pack(pop)

static_assert(sizeof(_REG_CN_CONFIGURACAOPS) == 104);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulExercicio) == 0);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataInicial) == 4);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataFinal) == 8);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataInicialPermitida) == 12);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataFinalPermitida) == 16);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataInicialBloqueada) == 20);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, ulDataFinalBloqueada) == 24);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, cFiller1) == 28);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, usCodigoCliente) == 32);
static_assert(offsetof(_REG_CN_CONFIGURACAOPS, cFiller2) == 34);

static_assert(sizeof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS) == 888);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, cFiller1) == 0);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, ulMoedaEstrangeira) == 836);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, cFiller2) == 840);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, cModoDiferenca) == 868);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, cDiferencaPorFilial) == 869);
static_assert(offsetof(_REG_CN_CONFIGURACAO_COMPLEMENTARPS, cFiller3) == 870);
