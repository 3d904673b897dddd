// Interface records of imports: the saved import layout and the removal of
// imported entries (months and documents asked for, errors given back).
// Packed, little-endian; pointers are 64-bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/import_layout_record.h"

enum CNLAN_E_ERRO_EXCLUSAO_IMP : int32_t {
  CNLAN_EEI_NAO_FOI_IMPORTADO = 0,
  CNLAN_EEI_PERIODO_BLOQUEADO = 1,
};

#pragma pack(push, 1)

// The documents of one month whose imported entries are to be removed.
struct CNLAN_EXCLUSAO_MES_IMP_PS {
  uint32_t nQtdDocs;
  uint16_t iMesAno;
  uint8_t cFiller[2];
  int32_t* pDocsLan;
  void* pFiller;
};

struct CNLAN_EXCLUSAO_IMP_PS {
  uint32_t nQtdMeses;
  uint8_t cFiller[4];
  CNLAN_EXCLUSAO_MES_IMP_PS* pMeses;
  void* pFiller;
};

struct CNLAN_ERRO_EXCLUCAO_IMP_PS {
  CNLAN_E_ERRO_EXCLUSAO_IMP eErro;
  int32_t lIndLan;
  uint16_t iMesAno;
  uint8_t cFiller[6];
};

struct CNLAN_RESULTADO_EXCLUSAO_IMP_PS {
  uint32_t nQtdExcluidos;
  uint32_t nQtdErros;
  CNLAN_ERRO_EXCLUCAO_IMP_PS* pErros;
  void* pFiller;
};

#pragma pack(pop)

static_assert(sizeof(CNLAN_E_ERRO_EXCLUSAO_IMP) == 4);

static_assert(sizeof(CNLAN_EXCLUSAO_MES_IMP_PS) == 24);
static_assert(offsetof(CNLAN_EXCLUSAO_MES_IMP_PS, nQtdDocs) == 0);
static_assert(offsetof(CNLAN_EXCLUSAO_MES_IMP_PS, iMesAno) == 4);
static_assert(offsetof(CNLAN_EXCLUSAO_MES_IMP_PS, cFiller) == 6);
static_assert(offsetof(CNLAN_EXCLUSAO_MES_IMP_PS, pDocsLan) == 8);
static_assert(offsetof(CNLAN_EXCLUSAO_MES_IMP_PS, pFiller) == 16);

static_assert(sizeof(CNLAN_EXCLUSAO_IMP_PS) == 24);
static_assert(offsetof(CNLAN_EXCLUSAO_IMP_PS, nQtdMeses) == 0);
static_assert(offsetof(CNLAN_EXCLUSAO_IMP_PS, cFiller) == 4);
static_assert(offsetof(CNLAN_EXCLUSAO_IMP_PS, pMeses) == 8);
static_assert(offsetof(CNLAN_EXCLUSAO_IMP_PS, pFiller) == 16);

static_assert(sizeof(CNLAN_ERRO_EXCLUCAO_IMP_PS) == 16);
static_assert(offsetof(CNLAN_ERRO_EXCLUCAO_IMP_PS, eErro) == 0);
static_assert(offsetof(CNLAN_ERRO_EXCLUCAO_IMP_PS, lIndLan) == 4);
static_assert(offsetof(CNLAN_ERRO_EXCLUCAO_IMP_PS, iMesAno) == 8);
static_assert(offsetof(CNLAN_ERRO_EXCLUCAO_IMP_PS, cFiller) == 10);

static_assert(sizeof(CNLAN_RESULTADO_EXCLUSAO_IMP_PS) == 24);
static_assert(offsetof(CNLAN_RESULTADO_EXCLUSAO_IMP_PS, nQtdExcluidos) == 0);
static_assert(offsetof(CNLAN_RESULTADO_EXCLUSAO_IMP_PS, nQtdErros) == 4);
static_assert(offsetof(CNLAN_RESULTADO_EXCLUSAO_IMP_PS, pErros) == 8);
static_assert(offsetof(CNLAN_RESULTADO_EXCLUSAO_IMP_PS, pFiller) == 16);
