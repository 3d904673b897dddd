// Interface records of an entry's managerial split: split lines, quantities
// and the percentages of a redistribution. Packed, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"

#pragma pack(push, 1)

// One managerial split line as clients see it.
struct RegLan_Ger {
  CURRENCY Valor;
  int32_t Indlan;
  int32_t ContaGerencial;
  int32_t ContaContabil;
  uint8_t cFiller[4];
};

// The quantity of one split line.
struct RegQtd_Ger {
  CURRENCY Quantidade;
};

// One target account of a redistribution and its share.
struct REG_REDISTR_GERENCIAL {
  uint16_t iContaGerencial;
  CURRENCY vPercentual;
  uint8_t cFiller[6];
};

#pragma pack(pop)

static_assert(sizeof(RegLan_Ger) == 24);
static_assert(offsetof(RegLan_Ger, Valor) == 0);
static_assert(offsetof(RegLan_Ger, Indlan) == 8);
static_assert(offsetof(RegLan_Ger, ContaGerencial) == 12);
static_assert(offsetof(RegLan_Ger, ContaContabil) == 16);
static_assert(offsetof(RegLan_Ger, cFiller) == 20);

static_assert(sizeof(RegQtd_Ger) == 8);
static_assert(offsetof(RegQtd_Ger, Quantidade) == 0);

static_assert(sizeof(REG_REDISTR_GERENCIAL) == 16);
static_assert(offsetof(REG_REDISTR_GERENCIAL, iContaGerencial) == 0);
static_assert(offsetof(REG_REDISTR_GERENCIAL, vPercentual) == 2);
static_assert(offsetof(REG_REDISTR_GERENCIAL, cFiller) == 10);
