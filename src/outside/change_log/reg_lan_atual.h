// What the entry service sends to the company's change log: the record type
// codes, the service letters and the 46-byte image of an entry. The change
// log reads the image's date and origin to file each save under its entry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "values/currency.h"

namespace qx {

// Record types of the change log.
inline constexpr int32_t kLogTipoLancamento = 24;  // RegLanAtual
inline constexpr int32_t kLogTipoComplemento = 8;  // the complement text's bytes
inline constexpr int32_t kLogTipoGerencial = 27;   // one REGLAN_GER as stored

// Service letters.
inline constexpr char kLogInclusao = 'I';
inline constexpr char kLogAntes = 'a';      // image before an update
inline constexpr char kLogAlteracao = 'A';  // image after an update
inline constexpr char kLogExclusao = 'E';

}  // namespace qx

#pragma pack(push, 1)

// The image of one entry record as the change log keeps it, with the date
// given by the caller in place of the day byte.
struct RegLanAtual {
  int32_t Documento;
  int32_t Complemento;
  int32_t Gerencial;
  uint32_t Data;
  int32_t lChaveModulo;
  uint16_t iData;
  CURRENCY Valor;
  int32_t Debito;
  int32_t Credito;
  uint16_t Secao;  // low 16 bits of the record's session key
  uint16_t CodHis;
  uint16_t Filial;
  uint8_t cZero;
  uint8_t cStatus;
};

#pragma pack(pop)

static_assert(sizeof(RegLanAtual) == 46);
static_assert(offsetof(RegLanAtual, Documento) == 0);
static_assert(offsetof(RegLanAtual, Complemento) == 4);
static_assert(offsetof(RegLanAtual, Gerencial) == 8);
static_assert(offsetof(RegLanAtual, Data) == 12);
static_assert(offsetof(RegLanAtual, lChaveModulo) == 16);
static_assert(offsetof(RegLanAtual, iData) == 20);
static_assert(offsetof(RegLanAtual, Valor) == 22);
static_assert(offsetof(RegLanAtual, Debito) == 30);
static_assert(offsetof(RegLanAtual, Credito) == 34);
static_assert(offsetof(RegLanAtual, Secao) == 38);
static_assert(offsetof(RegLanAtual, CodHis) == 40);
static_assert(offsetof(RegLanAtual, Filial) == 42);
static_assert(offsetof(RegLanAtual, cZero) == 44);
static_assert(offsetof(RegLanAtual, cStatus) == 45);
