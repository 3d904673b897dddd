// The filter of the entry searches and the month open for keyed reading, both
// kept in the entry service object. A default-constructed filter is the
// cleared one: every field 0 or empty, which always means no restriction.
// Values are kept as the client gave them; the searches judge them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/records_search.h"
#include "storage/qx_arq.h"
#include "values/currency.h"

namespace qx {

// Bytes of the complement filter kept, without its terminator.
inline constexpr size_t kTamanhoComplementoFiltro = 63;

struct FiltroLancamento {
  // Document range, tested only when DocumentoInicial is not 0.
  int32_t DocumentoInicial = 0;
  int32_t DocumentoFinal = 0;
  // Lowest position in the month MesInicial, highest in the month MesFinal.
  int32_t ChaveInicial = 0;
  int32_t ChaveFinal = 0;
  // The entry's Secao, when above 0.
  int32_t Sessao = 0;
  // Day numbers (CQXData values) that replace the search's own date bounds.
  uint32_t DataInicial = 0;
  uint32_t DataFinal = 0;
  // Month-years (CQXMesAno values) bounding the months searched.
  uint16_t MesInicial = 0;
  uint16_t MesFinal = 0;
  // Amount range; both bounds apply as soon as either is set.
  CURRENCY ValorInicial{};
  CURRENCY ValorFinal{};
  // Debito or Credito equals it.
  int32_t Conta = 0;
  // One split line of the entry uses it, when above 0.
  int32_t ContaGerencial = 0;
  // CodHis equals it.
  uint16_t Historico = 0;
  // The entry was written in one of this user's sessions.
  uint16_t iUsuario = 0;
  // Batch number, origin key and month, branch and the 28 origin flags, as
  // SetFiltroOrigem received them (filler zero).
  REG_FILTRO_LAN Origem{};
  // Text the complement must contain (Windows-1252, zero-terminated).
  char Complemento[kTamanhoComplementoFiltro + 1] = {};
};

// The month open for keyed reading and its CNLC. An entry read from it
// becomes the current entry, with this month as the one its split lines and
// foreign-currency amount are read from.
struct LeituraEspecial {
  CQXarq lancamentos;
  uint16_t mesAno = 0;
};

struct ConsultaLancamentos {
  FiltroLancamento filtro;
  LeituraEspecial especial;
};

}  // namespace qx
