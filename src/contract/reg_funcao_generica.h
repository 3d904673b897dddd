// The record of the generic function call: a counted block of bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct _REG_DF_FUNCAO_GENERICAPS {
  uint32_t ulQtdBytes;   // bytes at pListaBytes
  char cFiller[4];       // zero
  uint8_t* pListaBytes;  // ulQtdBytes bytes
  void* pFiller;         // null
};
#pragma pack(pop)
static_assert(sizeof(_REG_DF_FUNCAO_GENERICAPS) == 24);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, ulQtdBytes) == 0);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, cFiller) == 4);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, pListaBytes) == 8);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, pFiller) == 16);
