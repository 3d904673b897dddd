// One account of a chart (accounting or managerial), as the chart connection
// reads it.
#pragma once

#include <cstddef>
#include <cstdint>

// Account types.
inline constexpr char kContaSintetica = 'T';  // a total of the accounts below it
inline constexpr char kContaAnalitica = 'A';  // takes entries

#pragma pack(push, 1)
struct _RegContaPS {
  int32_t lConta;            // +0 account number
  int32_t lContaSuperior;    // +4 the account it belongs to, 0 at the top
  uint16_t usNivel;          // +8 depth in the chart, 1 at the top
  char cFiller1[14];         // +10 zero
  char szClassificacao[40];  // +24 classification text ("1.1.01.001"), zero-terminated
  char szNome[100];          // +64 name, zero-terminated
  char cFiller2[18];         // +164 zero
  char cTipo;                // +182 kContaSintetica or kContaAnalitica
  char cFiller3[17];         // +183 zero
};
#pragma pack(pop)
static_assert(sizeof(_RegContaPS) == 200);
static_assert(offsetof(_RegContaPS, lConta) == 0);
static_assert(offsetof(_RegContaPS, lContaSuperior) == 4);
static_assert(offsetof(_RegContaPS, usNivel) == 8);
static_assert(offsetof(_RegContaPS, cFiller1) == 10);
static_assert(offsetof(_RegContaPS, szClassificacao) == 24);
static_assert(offsetof(_RegContaPS, szNome) == 64);
static_assert(offsetof(_RegContaPS, cFiller2) == 164);
static_assert(offsetof(_RegContaPS, cTipo) == 182);
static_assert(offsetof(_RegContaPS, cFiller3) == 183);
